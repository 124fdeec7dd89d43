#include "LanguageMenu.h"

#include "platform/CodePage.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

LanguageMenu::LanguageMenu(QMenu *menu, QObject *parent)
    : QObject(parent), m_menu(menu), m_group(new QActionGroup(this))
{
    m_menu->setToolTipsVisible(true);
    m_english = m_menu->addAction(QStringLiteral("English"));
    m_english->setObjectName(QStringLiteral("MenLanguageEnglish"));
    m_english->setCheckable(true);
    m_english->setChecked(true);
    m_group->addAction(m_english);
    connect(m_english, &QAction::triggered, this, [this] { emit chosen(-1); });
}

QList<QAction *> LanguageMenu::languageActions() const
{
    QList<QAction *> items = m_menu->actions();
    items.removeOne(m_english);
    return items;
}

qsizetype LanguageMenu::rebuild(const LanguageList &list, const QByteArray &wanted)
{
    for (QAction *item : languageActions()) {
        m_group->removeAction(item);
        m_menu->removeAction(item);
        item->deleteLater();
    }
    m_list = list;
    m_english->setVisible(!list.hidesBuiltInEnglish());
    m_english->setChecked(true);
    for (qsizetype i = 0; i < list.entries.size(); ++i) {
        const LanguageList::Entry &entry = list.entries.at(i);
        auto *item = m_menu->addAction(CodePage::toUnicode(entry.name));
        item->setCheckable(true);
        item->setToolTip(CodePage::toUnicode(entry.file));
        item->setData(entry.name);
        m_group->addAction(item);
        connect(item, &QAction::triggered, this, [this, i] { emit chosen(i); });
    }
    const QByteArray name = list.wanted(wanted);
    const qsizetype index = list.indexOf(name);
    if (index >= 0) {
        languageActions().at(index)->setChecked(true);
    }
    return index;
}

void LanguageMenu::check(const QByteArray &name)
{
    const qsizetype index = m_list.indexOf(name);
    if (index >= 0) {
        languageActions().at(index)->setChecked(true);
    } else {
        m_english->setChecked(true);
    }
}
