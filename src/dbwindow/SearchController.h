#pragma once

#include "editing/ElementSearch.h"
#include "editing/TableReplace.h"

#include <QObject>
#include <QPointer>
#include <QString>

class DatabaseWindow;
class ElementNode;
class FindDialog;
class MainServices;
class ElementTreeModel;
class ElementTreeView;
class ReplaceDialog;
class RichTextEdit;
class TablePanel;

// The searches of one database window: find text in the text editor (Ctrl+F, F3), find
// entry over the tree (Alt+F, Alt+F3), and replace in a row or column of the shown table.
// It owns the three dialogs, made when first needed, and what the searches remember
// between two steps.
class SearchController : public QObject
{
    Q_OBJECT

public:
    // The parts of the window a search looks at.
    struct Views {
        RichTextEdit *text;
        TablePanel *table;
        ElementTreeView *treeView;
        ElementTreeModel *model;
    };
    SearchController(DatabaseWindow &window, MainServices &main, const Views &views);

    // Find: the dialog over the text editor, or "No search within key!" while a key or a
    // table shows. Find next: the last search again (the dialog when there was none).
    void openFind();
    void findNext();
    // The find dialog's search in the text editor; true when a match was selected.
    bool findText();
    // Find entry: selects the selected (or first) element and opens the dialog, whose first
    // search examines that element itself.
    void openFindEntry();
    void findNextEntry();
    // The entry dialog's search; the match is expanded, selected and shown.
    ElementNode *findEntry();
    // Replace in the shown table's row (column) from the selection's top-left cell.
    void openReplace(bool inRow);
    bool replaceFind();
    bool replaceOne();
    int replaceAll();

    FindDialog *findDialog();
    FindDialog *findEntryDialog();
    ReplaceDialog *replaceDialog();
    // The language texts of the dialogs made so far.
    void applyTexts();

private:
    QString mainText(const char *key) const;

    DatabaseWindow &m_window;
    MainServices &m_main;
    Views m_views;
    ElementSearch m_entrySearch;
    TableReplace m_replace;
    QPointer<FindDialog> m_fidFind;
    QPointer<FindDialog> m_fidEntry;
    QPointer<ReplaceDialog> m_rpdReplace;
};
