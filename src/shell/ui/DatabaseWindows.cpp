#include "DatabaseWindows.h"

#include "dbwindow/DatabaseWindow.h"
#include "widgets/Icons.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTabBar>

#include <functional>

namespace {

// The sub-window of one database window: closing it asks the database window first,
// unless the question was asked already.
class DatabaseSubWindow : public QMdiSubWindow
{
public:
    explicit DatabaseSubWindow(DatabaseWindow *child, QWidget *parent = nullptr) : QMdiSubWindow(parent), m_child(child)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setWidget(child);
    }

    DatabaseWindow *child() const { return m_child; }

    bool closeWithQuestion(bool ask)
    {
        m_ask = ask;
        const bool closed = close();
        m_ask = true;
        return closed;
    }

    // Closed, waiting to be deleted.
    bool isClosed() const { return m_closed; }

    std::function<void(DatabaseWindow *)> onClosing;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (m_ask && !m_child->canClose()) {
            event->ignore();
            return;
        }
        QMdiSubWindow::closeEvent(event);
        if (event->isAccepted()) {
            m_closed = true;
            if (onClosing) {
                onClosing(m_child);
            }
        }
    }

private:
    DatabaseWindow *m_child;
    bool m_ask = true;
    bool m_closed = false;
};

// The sub-window of a database window that is still open.
DatabaseSubWindow *databaseSubWindow(QMdiSubWindow *window)
{
    auto *database = dynamic_cast<DatabaseSubWindow *>(window);
    return database && !database->isClosed() ? database : nullptr;
}

} // namespace

DatabaseWindows::DatabaseWindows(QMdiArea *area, QObject *parent) : QObject(parent), m_area(area)
{
    m_area->setTabsMovable(true);
    m_area->setDocumentMode(true);
    m_area->setActivationOrder(QMdiArea::CreationOrder);
    connect(m_area, &QMdiArea::subWindowActivated, this, &DatabaseWindows::onSubWindowActivated);
}

void DatabaseWindows::add(DatabaseWindow *child)
{
    auto *window = new DatabaseSubWindow(child);
    // "[*]" shows a "*" after the caption and in the tab while the database is modified.
    window->setWindowTitle(child->caption() + QLatin1String("[*]"));
    window->setWindowModified(child->isModified());
    window->setWindowIcon(Icons::application());
    window->onClosing = [this](DatabaseWindow *closing) {
        if (m_lastActive == closing) {
            m_lastActive = nullptr;
        }
        emit windowClosed(closing);
    };
    connect(child, &DatabaseWindow::captionChanged, window,
            [window](const QString &caption) { window->setWindowTitle(caption + QLatin1String("[*]")); });
    connect(child, &DatabaseWindow::modifiedChanged, window, &QWidget::setWindowModified);
    connect(child, &DatabaseWindow::closeRequested, window, [window] { window->closeWithQuestion(true); });
    m_area->addSubWindow(window);
    window->showMaximized();
    m_area->setActiveSubWindow(window);
    installTabMenu();
    // The area does not report activations while the program is in the background.
    onSubWindowActivated(window);
}

DatabaseWindow *DatabaseWindows::active() const
{
    // The current sub-window stays current while a dialog or another program is active.
    auto *window = databaseSubWindow(m_area->currentSubWindow());
    return window ? window->child() : nullptr;
}

void DatabaseWindows::activate(DatabaseWindow *child)
{
    if (QMdiSubWindow *window = subWindowOf(child)) {
        m_area->setActiveSubWindow(window);
        // The area does not report activations while the program is in the background.
        onSubWindowActivated(window);
    }
}

QList<DatabaseWindow *> DatabaseWindows::windows() const
{
    QList<DatabaseWindow *> all;
    for (QMdiSubWindow *window : m_area->subWindowList(QMdiArea::CreationOrder)) {
        if (auto *database = databaseSubWindow(window)) {
            all.append(database->child());
        }
    }
    return all;
}

int DatabaseWindows::count() const
{
    return int(windows().size());
}

QMdiSubWindow *DatabaseWindows::subWindowOf(const DatabaseWindow *child) const
{
    for (QMdiSubWindow *window : m_area->subWindowList()) {
        auto *database = databaseSubWindow(window);
        if (database && database->child() == child) {
            return window;
        }
    }
    return nullptr;
}

bool DatabaseWindows::close(DatabaseWindow *child, bool ask)
{
    auto *window = databaseSubWindow(subWindowOf(child));
    return window && window->closeWithQuestion(ask);
}

bool DatabaseWindows::canCloseAll()
{
    // A No counts only once every window agreed: a later Cancel keeps the program open
    // with every change still marked.
    QList<DatabaseWindow *> discarding;
    for (DatabaseWindow *child : windows()) {
        switch (child->askToClose()) {
        case DatabaseWindow::CloseAnswer::Stay: return false;
        case DatabaseWindow::CloseAnswer::CloseDiscarding: discarding.append(child); break;
        case DatabaseWindow::CloseAnswer::Close: break;
        }
    }
    for (DatabaseWindow *child : std::as_const(discarding)) {
        child->setModified(false);
    }
    return true;
}

void DatabaseWindows::closeAllWithoutAsking()
{
    QList<DatabaseWindow *> all = windows();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        close(*it, false);
    }
}

bool DatabaseWindows::closeAll()
{
    QList<DatabaseWindow *> all = windows();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (!close(*it, true)) {
            return false;
        }
    }
    return true;
}

void DatabaseWindows::setTabbed(bool tabbed)
{
    m_area->setViewMode(tabbed ? QMdiArea::TabbedView : QMdiArea::SubWindowView);
    if (!tabbed) {
        if (QMdiSubWindow *current = m_area->currentSubWindow()) {
            current->showMaximized();
        }
    }
    installTabMenu();
}

bool DatabaseWindows::isTabbed() const
{
    return m_area->viewMode() == QMdiArea::TabbedView;
}

QTabBar *DatabaseWindows::tabBar() const
{
    return isTabbed() ? m_area->findChild<QTabBar *>() : nullptr;
}

void DatabaseWindows::refreshCaptions()
{
    for (QMdiSubWindow *window : m_area->subWindowList()) {
        if (auto *database = databaseSubWindow(window)) {
            window->setWindowTitle(database->child()->caption() + QLatin1String("[*]"));
        }
    }
}

void DatabaseWindows::setTabMenu(QMenu *menu)
{
    m_tabMenu = menu;
    installTabMenu();
}

void DatabaseWindows::installTabMenu()
{
    QTabBar *bar = tabBar();
    if (!bar || !m_tabMenu || bar->property("vaultbaseTabMenu").toBool()) {
        return;
    }
    bar->setObjectName(QStringLiteral("PgcWindows"));
    bar->setProperty("vaultbaseTabMenu", true);
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this, [this, bar](const QPoint &at) {
        // The menu acts on the active window: a right click makes its tab the active one.
        const int index = bar->tabAt(at);
        if (index >= 0 && index != bar->currentIndex()) {
            bar->setCurrentIndex(index);
        }
        if (m_tabMenu) {
            m_tabMenu->popup(bar->mapToGlobal(at));
        }
    });
}

void DatabaseWindows::onSubWindowActivated(QMdiSubWindow *window)
{
    // Null also comes when the program loses the focus; only the current one counts.
    if (!window) {
        window = m_area->currentSubWindow();
    }
    auto *database = databaseSubWindow(window);
    DatabaseWindow *child = database ? database->child() : nullptr;
    if (child == m_lastActive) {
        return;
    }
    m_lastActive = child;
    emit activeChanged(child);
}

void DatabaseWindows::activateNext()
{
    m_area->activateNextSubWindow();
}

void DatabaseWindows::activatePrevious()
{
    m_area->activatePreviousSubWindow();
}

void DatabaseWindows::tile(Qt::Orientation orientation)
{
    const QList<QMdiSubWindow *> all = m_area->subWindowList(QMdiArea::CreationOrder);
    if (all.isEmpty()) {
        return;
    }
    const QRect area = m_area->viewport()->rect();
    const int count = int(all.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *window = all.at(i);
        window->showNormal();
        if (orientation == Qt::Vertical) {
            const int left = area.width() * i / count;
            window->setGeometry(left, 0, area.width() * (i + 1) / count - left, area.height());
        } else {
            const int top = area.height() * i / count;
            window->setGeometry(0, top, area.width(), area.height() * (i + 1) / count - top);
        }
    }
}

void DatabaseWindows::tileVertically()
{
    tile(Qt::Vertical);
}

void DatabaseWindows::tileHorizontally()
{
    tile(Qt::Horizontal);
}

void DatabaseWindows::cascade()
{
    m_area->cascadeSubWindows();
}
