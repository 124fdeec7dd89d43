#pragma once

#include "SearchController.h"
#include "TableController.h"
#include "editing/DatabaseDocument.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

namespace ElementDrop {
enum class Mode;
}

class CarriedCopyCommands;
class ChildActions;
class FindDialog;
class QMimeData;
class ReplaceDialog;
class SortDialog;
class ElementTreeModel;
class ElementTreeView;
class LanguageStore;
class QStackedWidget;
class FileBar;
class KeyEditor;
class MainServices;
class QAction;
class QLabel;
class QKeyEvent;
class QLineEdit;
class QUndoCommand;
class QMenu;
class QSplitter;
class RichTextEdit;
class TablePanel;

// The window of one open database, shown inside a QMdiSubWindow of the main window: a
// view of its DatabaseDocument (the element tree, the file path, the password and the
// history of changes, whose distance from the saved state is the modified flag). On the left
// the tree (TrvTree, shown through one model adapter over the ElementTree), on the right
// the editor of the selected element: name panel (PnlName), file bar (PnlFile), key
// editor (PnlKey), text editor (RdtText) or table panel (PnlTable).
//
// Its commands are QActions (objectName = the command's name, e.g. "MenSave",
// "MenAddKey"), grouped into the File, Edit and Elements menus that the main window shows
// in its menu bar while this window is active; the main window's tool bar and PopKey
// drop-down trigger the same actions (see action()).
class DatabaseWindow : public QWidget
{
    Q_OBJECT

public:
    explicit DatabaseWindow(MainServices &main, QWidget *parent = nullptr);
    ~DatabaseWindow() override;

    MainServices &mainServices() const { return m_main; }

    // --- The database ---
    DatabaseDocument &document() { return m_document; }
    ElementTree &tree() { return m_document.tree(); }
    const ElementTree &tree() const { return m_document.tree(); }

    // Full path of the database file; empty while it was never saved.
    const QString &filePath() const { return m_document.filePath(); }
    // Stores the path, updates the caption (captionChanged) and the tray hint.
    void setFilePath(const QString &path);
    // The file name without its folder, or the localised "Unnamed".
    QString caption() const;

    // The database password (code-page bytes); the old one is wiped when replaced and
    // the last one when the window goes.
    const QByteArray &password() const { return m_document.password(); }
    void setPassword(QByteArray password) { m_document.setPassword(std::move(password)); }
    // A new password chosen by the user: a change that can be undone, saved with the database.
    void changePassword(QByteArray password);

    // The document differs from the saved state, or a name is being typed in the name field.
    bool isModified() const { return m_document.isModified() || m_nameFieldElement; }
    void setModified(bool modified) { m_document.setModified(modified); }
    // -1 nothing shown, else the kind code of the element whose editor shows.
    int editorKind() const { return m_editorKind; }

    // Loads the database at path with password(); on success the path is adopted, the
    // window is unmodified and the first element is selected. False (a wrong password, a
    // file that is no database or cannot be read) leaves the tree and path untouched.
    bool loadDatabase(const QString &path);
    // The same for ciphertext already in memory (a carried database); the path is kept.
    bool loadDatabaseBuffer(QByteArray ciphertext);
    // Why the last load failed (None after a success). Only NotADatabase can be a wrong
    // password; the others were told to the user already.
    LoadProblem lastLoadProblem() const { return m_lastLoadProblem; }

    // --- Selection and display ---
    ElementNode *selectedElement() const;
    // Selects node (null clears the selection) and shows it.
    void selectElement(ElementNode *node);
    void selectFirstElement();
    // Fills the editor of the selected element without marking the database changed,
    // and writes its dates into the main window's status line.
    void showSelected();
    // Only the status line part of showSelected: the selected element's dates, or nothing.
    void showSelectedStatus();

    // --- Settings and texts ---
    // Password display, fonts, colours, icon size and tree width from the settings.
    void applySettings();
    // "FrmChild." texts for every control, menu item and message.
    void applyLanguage();
    // The Recent menus are the main window's own objects shown in this window's File
    // menu, so there is nothing to copy; kept for the main window's call sites.
    void rebuildRecentMenus() {}

    // --- Closing ---
    // What the close question decided.
    enum class CloseAnswer { Close, CloseDiscarding, Stay };
    // Commits an open name edit, then asks "Save changes to '%s'" when modified. Close:
    // nothing to save, or Yes and the save succeeded. CloseDiscarding: No (the flag stays
    // set, so a later refusal by another window loses nothing). Stay: Cancel, or Yes with
    // a cancelled or failed save.
    CloseAnswer askToClose();
    // askToClose for this window alone: No clears the modified flag at once. True when the
    // window may close.
    bool canClose();

    // Puts an edit still open into the element: the name being edited in the tree, the
    // name field. Every save, close, lock, export and print runs it first.
    void commitPendingEdits();

    // --- Commands (also reachable as actions) ---
    // Save to the file path, or "Save as" without one; true when the database was saved.
    bool save();
    bool saveAs();
    // Adds an element of the kind by the placement rule with its default name. From a
    // menu, in-place name editing of the new element starts.
    ElementNode *addElement(NewElement what, bool fromMenu);
    void addKey() { addElement(NewElement::Key, true); }
    void addEntry() { addElement(NewElement::Entry, true); }
    void addTable() { addElement(NewElement::Table, true); }
    void addFolder() { addElement(NewElement::Folder, true); }
    void addSubfolder() { addElement(NewElement::Subfolder, true); }
    // Asks for a file, then adds it.
    void addFileFromDialog();
    // Attaches the whole file at path as a file element (a dropped file: fromMenu false).
    // Says why and returns null when the file cannot be read, is too large for the
    // format, or reading was cancelled.
    ElementNode *addFile(const QString &path, bool fromMenu);
    // Deletes the selected element after the question; true when it was deleted.
    bool deleteSelected();
    // Starts in-place editing of the selected element's name.
    void startRename();
    // Renames node with the duplicate check; shows "Duplicate entry name: " + name (or
    // why a name cannot be stored) and returns false when refused.
    bool renameElement(ElementNode *node, const QByteArray &name);
    // Undo and redo of the document's last change; an edit still open in a field is
    // committed first.
    void undo();
    void redo();

    // --- Element clipboard, drag and drop (DatabaseWindowElements.cpp) ---
    // Copy: the selected element with its descendants goes onto the clipboard, beside
    // what is there. Cut: the same, then the element goes without a question, only when
    // it really reached the clipboard (else a warning says so). Paste: the elements on
    // the clipboard arrive inside a selected folder, beside a selected non-folder, or at
    // the top level, under the next free name; the pasted element is selected (the first
    // element, when the tree was empty).
    bool copyElement();
    bool cutElement();
    ElementNode *pasteElements();
    // A drop of mime on target (null: at the top level) in the drag's mode; dragged is the
    // element dragged when it lies in this tree, else null. A moving drop onto the dragged
    // element or into its subtree is refused. Returns what was done, IgnoreAction when
    // nothing was.
    Qt::DropAction dropElements(const QMimeData *mime, ElementNode *target, ElementDrop::Mode mode,
                                ElementNode *dragged);
    // The source side of a move into another window, once the element arrived there:
    // node goes (no question).
    bool removeMovedElement(ElementNode *node);

    // --- Search and replace (SearchController) ---
    SearchController &search() { return *m_search; }
    void openFind() { m_search->openFind(); }
    void findNext() { m_search->findNext(); }
    bool findText() { return m_search->findText(); }
    void openFindEntry() { m_search->openFindEntry(); }
    void findNextEntry() { m_search->findNextEntry(); }
    ElementNode *findEntry() { return m_search->findEntry(); }
    FindDialog *findDialog() { return m_search->findDialog(); }
    FindDialog *findEntryDialog() { return m_search->findEntryDialog(); }
    ReplaceDialog *replaceDialog() { return m_search->replaceDialog(); }
    void openReplace(bool inRow) { m_search->openReplace(inRow); }
    bool replaceFind() { return m_search->replaceFind(); }
    bool replaceOne() { return m_search->replaceOne(); }
    int replaceAll() { return m_search->replaceAll(); }

    // --- What the controllers ask ---
    // The text editor shows (a folder, an entry or a file is selected).
    bool textEditorShown() const;
    bool tableShown() const;
    // A table is shown and it is not damaged (a damaged one takes "Clear all" alone).
    bool tableEditable() const;
    // Puts a name typed in the name field into its element, with the rename check.
    void finishNameField();
    void inform(const QString &text);
    void warn(const QString &text);
    QString writeProblemText(SecretFile::Failure failure) const;
    // Records a change the editors already made to node's data as one change of the
    // database (which can be undone), and shows its new date.
    void recordDataChange(ElementNode *node, ElementData before);

    // --- Table editing (TableController) ---
    bool storeTable() { return m_table->storeTable(); }
    bool sortData() { return m_table->sortData(); }
    bool importCsv(const QString &path) { return m_table->importCsv(path); }
    bool exportCsv(const QString &path) { return m_table->exportCsv(path); }
    SortDialog &sortDialog() { return m_table->sortDialog(); }

    // --- Menus and actions for the main window ---
    // File, Edit and Elements, in menu-bar order.
    QList<QMenu *> menus() const;
    // The action with this objectName ("MenSave", "MenAddKey", "MenRemoveEntry", ...), or null.
    QAction *action(const QString &objectName) const;
    ChildActions &actions() { return *m_actions; }
    // "Create portable" and "Attach to file".
    CarriedCopyCommands &carriedCopies() { return *m_carry; }
    // Enables what can be done now: nothing while locked; the element commands need a
    // selected element; undo and redo a change to take back; the table commands an
    // editable table; Create portable and Attach to file a database saved in a file.
    void updateActions();

    // --- The program's lock (DatabaseWindowLock.cpp) ---
    // Commits what is being typed, switches every command off, clears the editors and
    // hides the tree and editors; the document keeps everything. unlockViews() shows the
    // selected element again with the commands as they were.
    void lockViews();
    void unlockViews();

signals:
    void modifiedChanged(bool modified);
    void captionChanged(const QString &caption);
    // Typed or pasted text was refused, with the reason shown at the field.
    void inputRefused(const QString &reason);
    // "Close" chosen: the main window closes this window's sub-window (which asks canClose).
    void closeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    enum class HistoryKey { None, Undo, Redo };
    HistoryKey historyKeyOf(const QKeyEvent *key) const;
    bool handleHistoryKey(QObject *watched, QEvent *event, HistoryKey key);
    void showEvent(QShowEvent *event) override;

private:
    enum class Answer { Yes, No, Cancel };

    // Building (DatabaseWindow.cpp)
    void buildLayout();
    void connectEditors();
    void applyTreeWidth();
    QList<QIcon> elementIcons() const;
    // Display and editing (DatabaseWindow.cpp)
    void onCurrentChanged();
    void showEditorFor(ElementNode *node);
    void showStatus(const ElementNode *node);
    // The fields whose typing merges into one change per visit.
    enum class Field { UserName, Password, Comment, Text };
    void recordEdit(ElementNode *node, ElementData before, Field field);
    void pushCommand(QUndoCommand *command);
    void onCommandApplied(ElementNode *node);
    void stepHistory(void (UndoStack::*step)());
    QString commandText(const char *key, const ElementNode *node) const;
    void editField(QByteArray ElementData::*field, Field which, const QString &text);
    void onNameEdited(const QString &text);
    void onNameEntered();
    void openLink(const QString &url);
    void showRefusal(QWidget *where, const QString &reason);
    void guardName(QLineEdit *field);
    // Commands (DatabaseWindowCommands.cpp)
    void connectActions();
    ElementNode *placeNewElement(ElementNode *node, bool fromMenu);
    QWidget *focusedEditor() const;
    RichTextEdit *popupEditor() const;
    void editorCopy();
    void editorCut();
    void editorPaste();
    void editorSelectAll();
    ElementNode *pasteBlock(QByteArrayView block, ElementNode *at, const char *commandKey);
    void removeElement(ElementNode *node, const char *commandKey);
    QMimeData *dragData(ElementNode *node);
    // Files (DatabaseWindowStorage.cpp)
    bool saveTo(const QString &path);
    QString askSavePath();
    bool ensurePassword();
    void reportLoadProblem(LoadProblem problem, const QString &path);
    void afterLoad();
    void viewFile();
    void saveFile();
    // Dialogs and messages (DatabaseWindowDialogs.cpp)
    std::optional<QByteArray> askPassword(const QByteArray &current);
    void askPasswordOfKey(const QString &proposed);
    Answer confirm(const QString &text, bool withCancel);

    QString childText(const char *key) const;
    QString childTextWith(const char *key, const QString &argument) const;
    QString mainText(const char *key) const;

    MainServices &m_main;
    DatabaseDocument m_document;
    std::unique_ptr<ElementTreeModel> m_model;
    int m_editorKind = -1;
    // Counts the visits of the editors: typing merges into one change only within a visit.
    quint64 m_editVisit = 0;
    // Set while this window pushes a command: it shows the outcome itself.
    bool m_pushing = false;
    // The element an undo or redo asked to show, shown once it is complete.
    ElementNode *m_showAfterCommand = nullptr;
    bool m_commandShowsElement = false;
    // Set while a command changes the tree, so the view's selection reports wait for it.
    bool m_changingTree = false;
    const ElementNode *m_lastShown = nullptr;
    // The name field: the element renamed during the current visit and its name on entry.
    const ElementNode *m_nameFieldElement = nullptr;
    QByteArray m_nameOnEntry;
    bool m_firstShown = false;
    bool m_destroying = false;
    quint64 m_showCount = 0;
    QFont m_textFont;
    SearchController *m_search = nullptr;
    TableController *m_table = nullptr;

    ElementTreeView *m_trvTree = nullptr;
    QSplitter *m_sptMain = nullptr;
    QWidget *m_pnlName = nullptr;
    QLabel *m_imgIcon = nullptr;
    QLineEdit *m_edtName = nullptr;
    FileBar *m_pnlFile = nullptr;
    QStackedWidget *m_editors = nullptr;
    KeyEditor *m_pnlKey = nullptr;
    RichTextEdit *m_rdtText = nullptr;
    TablePanel *m_pnlTable = nullptr;
    ChildActions *m_actions = nullptr;
    QHash<QAction *, bool> m_enabledBeforeLock;
    LoadProblem m_lastLoadProblem{};
    CarriedCopyCommands *m_carry = nullptr;
};
