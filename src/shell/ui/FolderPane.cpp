#include "FolderPane.h"

#include "PaneSplitter.h"
#include "RecentMenu.h"
#include "shell/FileListModel.h"
#include "shell/MainWindowTexts.h"

#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QString englishText(const char *key)
{
    const char *text = mainWindowTexts().english(key);
    return QString::fromLatin1(text ? text : key);
}

struct SortItem
{
    const char *name;
    FileSort order;
};

// "Type" items exist but are hidden; the key "PopSortTypeDecending" is spelled so.
constexpr SortItem kSortItems[] = {
    {"PopSortNameAscending", FileSort::NameAscending}, {"PopSortNameDescending", FileSort::NameDescending},
    {"PopSortTypeAscending", FileSort::TypeAscending}, {"PopSortTypeDecending", FileSort::TypeDescending},
    {"PopSortSizeAscending", FileSort::SizeAscending}, {"PopSortSizeDescending", FileSort::SizeDescending},
    {"PopSortDateAscending", FileSort::DateAscending}, {"PopSortDateDescending", FileSort::DateDescending},
};

} // namespace

FolderPane::FolderPane(RecentMenu &recentFolders, QWidget *parent)
    : QWidget(parent)
    , m_recentFolders(recentFolders)
    , m_recentBox(new QComboBox(this))
    , m_splitter(new PaneSplitter(Qt::Vertical, this))
    , m_folders(new QFileSystemModel(this))
    , m_tree(new QTreeView(m_splitter))
    , m_files(new FileListModel(this))
    , m_list(new QTreeView(m_splitter))
    , m_popup(new QMenu(this))
    , m_sortMenu(new QMenu(m_popup))
    , m_sortItems(new QActionGroup(this))
    , m_startupTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("PnlFiles"));
    auto *top = new QWidget(this);
    top->setObjectName(QStringLiteral("PnlFolderTop"));
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 1, 0);
    m_recentBox->setObjectName(QStringLiteral("CbbRecentFolders"));
    m_recentBox->setEditable(true);
    m_recentBox->setInsertPolicy(QComboBox::NoInsert);
    m_recentBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_recentBox->setMinimumContentsLength(8);
    topLayout->addWidget(m_recentBox);

    m_splitter->setObjectName(QStringLiteral("SptFiles"));

    // The tree lists folders only; the model watches the folders it has read.
    m_folders->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_folders->setRootPath(QDir::rootPath());
    m_tree->setObjectName(QStringLiteral("FldFolder"));
    m_tree->setModel(m_folders);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column) {
        m_tree->hideColumn(column);
    }
    m_tree->setIndentation(19);
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(0, Qt::AscendingOrder);

    m_list->setObjectName(QStringLiteral("LisFiles"));
    m_list->setModel(m_files);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int column = FileListModel::Size; column < FileListModel::ColumnCount; ++column) {
        m_list->hideColumn(column);
    }
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(FileListModel::Name, QHeaderView::Stretch);
    m_list->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(top);
    layout->addWidget(m_splitter, 1);

    buildSortMenu();
    m_startupTimer->setObjectName(QStringLiteral("TimStartupFolder"));
    m_startupTimer->setSingleShot(true);
    m_startupTimer->setInterval(250);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &FolderPane::onTreeChanged);
    connect(m_folders, &QFileSystemModel::directoryLoaded, this, &FolderPane::onFoldersRead);
    connect(m_recentBox, &QComboBox::textActivated, this, &FolderPane::onRecentBoxChosen);
    connect(&m_recentFolders, &RecentMenu::changed, this, &FolderPane::fillRecentBox);
    connect(m_list, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid()) {
            emit fileOpened(m_files->rows().at(index.row()).path());
        }
    });
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_popup->popup(m_list->viewport()->mapToGlobal(at)); });
    fillRecentBox();
}

void FolderPane::buildSortMenu()
{
    m_popup->setObjectName(QStringLiteral("PopFiles"));
    m_sortMenu->setObjectName(QStringLiteral("PopSortBy"));
    m_sortMenu->setTitle(englishText("PopSortBy"));
    m_popup->addMenu(m_sortMenu);
    m_sortItems->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const SortItem &item : kSortItems) {
        QAction *action = m_sortMenu->addAction(englishText(item.name));
        action->setObjectName(QLatin1String(item.name));
        action->setCheckable(true);
        action->setActionGroup(m_sortItems);
        const FileSort order = item.order;
        action->setVisible(order != FileSort::TypeAscending && order != FileSort::TypeDescending);
        connect(action, &QAction::triggered, this, [this, order] { m_files->sortBy(order); });
    }
}

void FolderPane::setFileTypes(const QByteArray &fileTypes)
{
    if (fileTypes == m_fileTypes) {
        return;
    }
    m_fileTypes = fileTypes;
    if (!m_folder.isEmpty()) {
        showFolder(m_folder, false);
    }
}

void FolderPane::showFolder(const QString &folder, bool setTree)
{
    emit activity();
    if (setTree) {
        selectInTree(folder);
    }
    clearSortMark();
    m_folder = folder;
    // A folder that is gone or cannot be read lists nothing.
    m_files->fill(folder, m_fileTypes);
}

void FolderPane::clearSortMark()
{
    if (QAction *checked = m_sortItems->checkedAction()) {
        checked->setChecked(false);
    }
}

void FolderPane::selectInTree(const QString &folder)
{
    m_recentBox->setEditText(folder);
    const QModelIndex index = m_folders->index(folder);
    if (!index.isValid()) {
        return;
    }
    m_treeTarget = m_folders->filePath(index);
    m_settingTree = true;
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
    m_settingTree = false;
}

// The folders are read in the background: the chosen one is scrolled to again as the
// folders above it arrive.
void FolderPane::onFoldersRead(const QString &path)
{
    if (m_treeTarget.isEmpty() || !m_treeTarget.startsWith(path)) {
        return;
    }
    const QModelIndex index = m_folders->index(m_treeTarget);
    if (index.isValid() && index == m_tree->currentIndex()) {
        m_tree->scrollTo(index);
    }
    if (path == m_treeTarget) {
        m_treeTarget.clear();
    }
}

void FolderPane::onTreeChanged()
{
    if (m_settingTree) {
        return;
    }
    const QString folder = m_folders->filePath(m_tree->currentIndex());
    if (folder.isEmpty()) {
        return;
    }
    m_treeTarget.clear();
    showFolder(folder, false);
    m_recentBox->setEditText(folder);
    m_recentFolders.add(folder, true);
}

void FolderPane::onRecentBoxChosen(const QString &text)
{
    if (text.size() > 2 && QFileInfo(text).isDir()) {
        showFolder(text, true);
    }
}

// The box holds the recent folders, newest first; a cleared list empties it.
void FolderPane::fillRecentBox()
{
    const QString typed = m_recentBox->currentText();
    const QStringList &folders = m_recentFolders.list().paths();
    m_recentBox->clear();
    m_recentBox->addItems(folders);
    m_recentBox->setEditText(folders.isEmpty() ? QString() : typed);
}

void FolderPane::refresh()
{
    const QString selected = m_folders->filePath(m_tree->currentIndex());
    const QString folder = selected.isEmpty() ? m_folder : selected;
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        showFolder(folder, false);
    }
}

void FolderPane::showStartupFolderSoon(const QString &folder)
{
    m_startupTimer->disconnect(this);
    connect(m_startupTimer, &QTimer::timeout, this, [this, folder] { showFolder(folder, true); });
    m_startupTimer->start();
}

int FolderPane::treeHeight() const
{
    return m_splitter->paneSize();
}

void FolderPane::setTreeHeight(int height)
{
    m_splitter->setPaneSize(height);
}

void FolderPane::setLook(const QFont &font, const QColor &text, const QColor &background)
{
    for (QWidget *view : {static_cast<QWidget *>(m_tree), static_cast<QWidget *>(m_list)}) {
        view->setFont(font);
        QPalette colours = view->palette();
        colours.setColor(QPalette::Base, background);
        colours.setColor(QPalette::Text, text);
        view->setPalette(colours);
    }
    m_recentBox->setFont(font);
}

bool FolderPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress) {
        emit activity();
    }
    return QWidget::eventFilter(watched, event);
}
