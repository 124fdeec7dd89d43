#pragma once

#include <QByteArrayView>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>

class MainServices;
class QAction;
class QMenu;
class QWidget;

// Every command of a database window as a QAction named after the command ("MenSave",
// "MenAddKey", ...), the menus File (MenFile), Edit (MenEdit) and Elements (MenElements)
// that the main window shows while the window is active, the tree's pop-up (PopTree,
// whose items "PopAddKey" ... trigger their menu twins), the editors' pop-up
// (PopRdtText) and the table grid's pop-up (PopTable). The File menu also shows the main
// window's New, Open, Exit and Recent menus, the same objects. Commands that later work
// brings stay disabled until then.
class ChildActions final : public QObject
{
    Q_OBJECT

public:
    ChildActions(MainServices &main, QWidget *window);

    // The action with this objectName, or null: the main window's tool bar names the
    // command its buttons forward to.
    QAction *action(const QString &name) const;
    QList<QMenu *> menus() const { return {m_menFile, m_menEdit, m_menElements}; }
    QMenu *treePopup() const { return m_popTree; }
    QMenu *editorPopup() const { return m_popRdtText; }
    QMenu *tablePopup() const { return m_popTable; }
    // Every action of the window's own, pop-up twins included.
    const QList<QAction *> &all() const { return m_all; }
    // Redo takes Ctrl+Shift+Z beside the key of the language texts, which set only one.
    void addSecondRedoKey();

    // File
    QAction *MenSave, *MenSaveAs, *MenPortable, *MenAttachToFile, *MenPrint, *MenPrintAll, *MenPrintPreview;
    QMenu *MenExport;
    QAction *MenExportSingle, *MenExportAll, *MenExportAllFiles, *MenExportAllFilesFolders, *MenExportFileEntries;
    QAction *MenProperties, *MenClose, *MenCloseAll;
    // Edit
    QAction *MenCut, *MenCopy, *MenPaste, *MenUndo, *MenRedo, *MenSelectAll, *MenFind, *MenFindNext;
    // Elements
    QAction *MenAddKey, *MenAddEntry, *MenAddFile, *MenAddTable, *MenAddFolder, *MenAddSubfolder;
    QAction *MenRemoveEntry, *MenChangeEntry, *MenCutEntry, *MenCopyEntry, *MenPasteEntry;
    QAction *MenFindEntry, *MenFindNextEntry;
    // The table grid's pop-up
    QAction *PopSortData, *PopTableClear, *PopTableClearRow, *PopTableInsertRow, *PopTableRemoveRow;
    QAction *PopTableClearColumn, *PopTableInsertColumn, *PopTableRemoveColumn, *PopReplaceInColumn,
        *PopReplaceInRow, *PopTableImportCSV, *PopTableExportCSV;
    // The editors' pop-up
    QAction *PopRdtCut, *PopRdtCopy, *PopCopyPlain, *PopRdtPaste, *PopRdtSelectAll;

private:
    static QIcon iconFor(QByteArrayView name);
    QAction *add(QMenu *menu, const char *name, bool enabled = true);
    QAction *addTwin(QMenu *popup, const char *name, const char *twinOf);
    QMenu *makeMenu(const char *name, QWidget *parent);

    QWidget *m_window;
    QList<QAction *> m_all;
    QMenu *m_menFile = nullptr;
    QMenu *m_menEdit = nullptr;
    QMenu *m_menElements = nullptr;
    QMenu *m_popTree = nullptr;
    QMenu *m_popRdtText = nullptr;
    QMenu *m_popTable = nullptr;
};
