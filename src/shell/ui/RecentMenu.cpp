#include "RecentMenu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

RecentMenu::RecentMenu(RecentList::Kind kind, const QString &objectName, QWidget *menuParent, QObject *parent)
    : QObject(parent), m_list(kind), m_menu(new QMenu(menuParent))
{
    m_menu->setObjectName(objectName);
    m_menu->setToolTipsVisible(true);
    m_separator = m_menu->addSeparator();
    m_clear = m_menu->addAction(QStringLiteral("Clear list"));
    m_clear->setObjectName(QStringLiteral("MenClear"));
    m_deactivate = m_menu->addAction(QStringLiteral("Deactivate"));
    m_deactivate->setObjectName(QStringLiteral("MenDeactivate"));
    m_deactivate->setCheckable(true);

    connect(m_clear, &QAction::triggered, this, [this] {
        m_list.clear();
        rebuild();
        emit changed();
    });
    connect(m_deactivate, &QAction::toggled, this, [this](bool on) {
        if (m_list.isDeactivated() == on) {
            return;
        }
        m_list.setDeactivated(on);
        emit changed();
    });
}

bool RecentMenu::add(const QString &path, bool toTop)
{
    if (!m_list.add(path, toTop)) {
        return false;
    }
    rebuild();
    emit changed();
    return true;
}

void RecentMenu::load(const QStringList &paths, bool deactivated)
{
    m_list.load(paths);
    m_list.setDeactivated(deactivated);
    m_deactivate->setChecked(deactivated);
    rebuild();
    emit changed();
}

QList<QAction *> RecentMenu::entryActions() const
{
    QList<QAction *> entries = m_menu->actions();
    entries.resize(entries.indexOf(m_separator));
    return entries;
}

QString RecentMenu::captionFor(const QString &path) const
{
    const QString caption = m_list.kind() == RecentList::Kind::Files ? QFileInfo(path).fileName() : path;
    // An "&" in a name is shown, not taken as a mnemonic.
    return QString(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
}

void RecentMenu::rebuild()
{
    for (QAction *entry : entryActions()) {
        m_menu->removeAction(entry);
        entry->deleteLater();
    }
    for (const QString &path : m_list.paths()) {
        auto *entry = new QAction(captionFor(path), m_menu);
        entry->setToolTip(path);
        entry->setStatusTip(path);
        entry->setData(path);
        connect(entry, &QAction::triggered, this, [this, path] { emit chosen(path); });
        m_menu->insertAction(m_separator, entry);
    }
}
