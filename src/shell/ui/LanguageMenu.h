#pragma once

#include "shell/LanguageList.h"

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;

// The Language menu: the built-in "English" item first, then one radio item per
// language that "Languages.ini" lists (caption = its name, hint = its file). The
// built-in item is hidden when the list names an "English" of its own.
class LanguageMenu : public QObject
{
    Q_OBJECT

public:
    LanguageMenu(QMenu *menu, QObject *parent = nullptr);

    QMenu *menu() const { return m_menu; }
    QAction *englishAction() const { return m_english; }
    // The list the items were built from.
    const LanguageList &list() const { return m_list; }

    // Rebuilds the items from the list and checks the wanted language's item (the last
    // one of that name). The entry to apply, or -1 for the built-in English texts.
    qsizetype rebuild(const LanguageList &list, const QByteArray &wanted);

    // The listed items, in list order.
    QList<QAction *> languageActions() const;

    // Checks the item of that name (English when none has it).
    void check(const QByteArray &name);

signals:
    // A listed language (its index in the list) or, with -1, the built-in English.
    void chosen(qsizetype index);

private:
    QMenu *m_menu;
    QActionGroup *m_group;
    QAction *m_english;
    LanguageList m_list;
};
