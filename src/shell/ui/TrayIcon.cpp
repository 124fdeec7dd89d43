#include "TrayIcon.h"

#include "widgets/Icons.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QObject *parent) : QObject(parent), m_icon(new QSystemTrayIcon(this)), m_menu(new QMenu)
{
    m_icon->setObjectName(QStringLiteral("TryTray"));
    m_menu->setObjectName(QStringLiteral("PopTray"));
    m_show = m_menu->addAction(QStringLiteral("Show"));
    m_show->setObjectName(QStringLiteral("PopTrayShow"));
    m_lock = m_menu->addAction(QStringLiteral("Lock"));
    m_lock->setObjectName(QStringLiteral("PopTrayLock"));
    m_menu->addSeparator();
    m_exit = m_menu->addAction(QStringLiteral("Exit"));
    m_exit->setObjectName(QStringLiteral("PopTrayExit"));
    m_icon->setContextMenu(m_menu);
    setLocked(false);
    setHint(QStringLiteral("Brightway Vaultbase"));

    connect(m_show, &QAction::triggered, this, &TrayIcon::restoreRequested);
    connect(m_lock, &QAction::triggered, this, &TrayIcon::lockRequested);
    connect(m_exit, &QAction::triggered, this, &TrayIcon::exitRequested);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            emit restoreRequested();
        }
    });
}

// The menu has no parent widget (the tray owns no window), so it goes with the icon.
TrayIcon::~TrayIcon()
{
    delete m_menu;
}

bool TrayIcon::isAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::setShown(bool shown)
{
    m_shown = shown;
    m_icon->setVisible(shown);
}

void TrayIcon::setLocked(bool locked)
{
    m_icon->setIcon(locked ? Icons::command(Icons::Command::Lock) : Icons::application());
}

void TrayIcon::setHint(const QString &hint)
{
    m_icon->setToolTip(hint);
}

QString TrayIcon::hint() const
{
    return m_icon->toolTip();
}
