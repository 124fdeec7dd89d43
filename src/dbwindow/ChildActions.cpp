#include "ChildActions.h"

#include "ChildTexts.h"
#include "MainServices.h"
#include "widgets/Icons.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

ChildActions::ChildActions(MainServices &main, QWidget *window) : QObject(window), m_window(window)
{
    m_menFile = makeMenu("MenFile", window);
    m_menFile->addAction(main.newAction());
    m_menFile->addAction(main.openAction());
    MenSave = add(m_menFile, "MenSave");
    MenSaveAs = add(m_menFile, "MenSaveAs");
    m_menFile->addSeparator();
    MenPortable = add(m_menFile, "MenPortable", false);
    MenAttachToFile = add(m_menFile, "MenAttachToFile", false);
    m_menFile->addSeparator();
    MenPrint = add(m_menFile, "MenPrint", false);
    MenPrintAll = add(m_menFile, "MenPrintAll", false);
    MenPrintPreview = add(m_menFile, "MenPrintPreview", false);
    m_menFile->addSeparator();
    MenExport = makeMenu("MenExport", m_menFile);
    MenExportSingle = add(MenExport, "MenExportSingle", false);
    MenExportAll = add(MenExport, "MenExportAll", false);
    MenExportAllFiles = add(MenExport, "MenExportAllFiles", false);
    MenExportAllFilesFolders = add(MenExport, "MenExportAllFilesFolders", false);
    MenExportFileEntries = add(MenExport, "MenExportFileEntries", false);
    m_menFile->addMenu(MenExport)->setEnabled(false);
    MenProperties = add(m_menFile, "MenProperties", false);
    m_menFile->addSeparator();
    if (QMenu *recent = main.recentFilesMenu()) {
        m_menFile->addMenu(recent);
    }
    if (QMenu *recent = main.recentFoldersMenu()) {
        m_menFile->addMenu(recent);
    }
    m_menFile->addSeparator();
    MenClose = add(m_menFile, "MenClose");
    MenCloseAll = add(m_menFile, "MenCloseAll");
    m_menFile->addSeparator();
    m_menFile->addAction(main.exitAction());

    m_menEdit = makeMenu("MenEdit", window);
    MenCut = add(m_menEdit, "MenCut");
    MenCopy = add(m_menEdit, "MenCopy");
    MenPaste = add(m_menEdit, "MenPaste");
    MenUndo = add(m_menEdit, "MenUndo");
    MenRedo = add(m_menEdit, "MenRedo");
    MenSelectAll = add(m_menEdit, "MenSelectAll");
    addSecondRedoKey();
    m_menEdit->addSeparator();
    MenFind = add(m_menEdit, "MenFind");
    MenFindNext = add(m_menEdit, "MenFindNext");

    m_menElements = makeMenu("MenElements", window);
    MenAddKey = add(m_menElements, "MenAddKey");
    MenAddEntry = add(m_menElements, "MenAddEntry");
    MenAddFile = add(m_menElements, "MenAddFile");
    MenAddTable = add(m_menElements, "MenAddTable");
    MenAddFolder = add(m_menElements, "MenAddFolder");
    MenAddSubfolder = add(m_menElements, "MenAddSubfolder");
    m_menElements->addSeparator();
    MenRemoveEntry = add(m_menElements, "MenRemoveEntry");
    MenChangeEntry = add(m_menElements, "MenChangeEntry");
    m_menElements->addSeparator();
    MenCutEntry = add(m_menElements, "MenCutEntry");
    MenCopyEntry = add(m_menElements, "MenCopyEntry");
    MenPasteEntry = add(m_menElements, "MenPasteEntry");
    m_menElements->addSeparator();
    MenFindEntry = add(m_menElements, "MenFindEntry");
    MenFindNextEntry = add(m_menElements, "MenFindNextEntry");

    m_popTree = makeMenu("PopTree", window);
    const std::pair<const char *, const char *> twins[] = {
        {"PopAddKey", "MenAddKey"},           {"PopAddEntry", "MenAddEntry"},       {"PopAddFolder", "MenAddFolder"},
        {"PopAddSubfolder", "MenAddSubfolder"}, {"PopAddFile", "MenAddFile"},       {"PopAddTable", "MenAddTable"},
        {"PopRemoveEntry", "MenRemoveEntry"}, {"PopChangeEntry", "MenChangeEntry"}, {"PopCutEntry", "MenCutEntry"},
        {"PopCopyEntry", "MenCopyEntry"},     {"PopPasteEntry", "MenPasteEntry"}};
    for (const auto &[name, twinOf] : twins) {
        if (QByteArrayView(name) == "PopRemoveEntry" || QByteArrayView(name) == "PopCutEntry") {
            m_popTree->addSeparator();
        }
        addTwin(m_popTree, name, twinOf);
    }

    // The table grid's pop-up, in its order, with a separator after each group.
    m_popTable = makeMenu("PopTable", window);
    PopSortData = add(m_popTable, "PopSortData");
    PopTableClear = add(m_popTable, "PopTableClear");
    m_popTable->addSeparator();
    PopTableClearRow = add(m_popTable, "PopTableClearRow");
    PopTableInsertRow = add(m_popTable, "PopTableInsertRow");
    PopTableRemoveRow = add(m_popTable, "PopTableRemoveRow");
    m_popTable->addSeparator();
    PopTableClearColumn = add(m_popTable, "PopTableClearColumn");
    PopTableInsertColumn = add(m_popTable, "PopTableInsertColumn");
    PopTableRemoveColumn = add(m_popTable, "PopTableRemoveColumn");
    m_popTable->addSeparator();
    PopReplaceInColumn = add(m_popTable, "PopReplaceInColumn");
    PopReplaceInRow = add(m_popTable, "PopReplaceInRow");
    m_popTable->addSeparator();
    PopTableImportCSV = add(m_popTable, "PopTableImportCSV");
    PopTableExportCSV = add(m_popTable, "PopTableExportCSV");

    m_popRdtText = makeMenu("PopRdtText", window);
    PopRdtCut = add(m_popRdtText, "PopRdtCut");
    PopRdtCopy = add(m_popRdtText, "PopRdtCopy");
    PopCopyPlain = add(m_popRdtText, "PopCopyPlain");
    PopRdtPaste = add(m_popRdtText, "PopRdtPaste");
    m_popRdtText->addSeparator();
    PopRdtSelectAll = add(m_popRdtText, "PopRdtSelectAll");
}

void ChildActions::addSecondRedoKey()
{
    // Both keys that redo on Linux desktops; the language texts name the first.
    const QKeySequence second(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    if (!MenRedo->shortcuts().contains(second)) {
        MenRedo->setShortcuts({MenRedo->shortcut(), second});
    }
}

// The icon a command shows in menus and on the main window's tool bar.
QIcon ChildActions::iconFor(QByteArrayView name)
{
    using Icons::Command;
    static const std::pair<const char *, Command> icons[] = {
        {"MenSave", Command::Save},           {"MenSaveAs", Command::SaveAs},
        {"MenPrint", Command::Print},         {"MenPrintPreview", Command::PrintPreview},
        {"MenProperties", Command::Properties}, {"MenClose", Command::Close},
        {"MenCut", Command::Cut},             {"MenCopy", Command::Copy},
        {"MenPaste", Command::Paste},         {"MenFind", Command::Find},
        {"MenFindEntry", Command::FindEntry}, {"MenAddKey", Command::AddKey},
        {"MenAddEntry", Command::AddEntry},   {"MenAddFile", Command::AddFile},
        {"MenAddTable", Command::AddTable},   {"MenAddFolder", Command::AddFolder},
        {"MenAddSubfolder", Command::AddSubfolder}, {"MenRemoveEntry", Command::Remove},
        {"MenCutEntry", Command::Cut},        {"MenCopyEntry", Command::Copy},
        {"MenPasteEntry", Command::Paste},    {"PopAddKey", Command::AddKey},
        {"PopAddEntry", Command::AddEntry},   {"PopAddFolder", Command::AddFolder},
        {"PopAddSubfolder", Command::AddSubfolder}, {"PopAddFile", Command::AddFile},
        {"PopAddTable", Command::AddTable},   {"PopRemoveEntry", Command::Remove},
        {"PopCutEntry", Command::Cut},        {"PopCopyEntry", Command::Copy},
        {"PopPasteEntry", Command::Paste},    {"PopRdtCut", Command::Cut},
        {"PopRdtCopy", Command::Copy},        {"PopRdtPaste", Command::Paste},
    };
    for (const auto &[key, command] : icons) {
        if (name == QByteArrayView(key)) {
            return Icons::command(command);
        }
    }
    return {};
}

QMenu *ChildActions::makeMenu(const char *name, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *ChildActions::add(QMenu *menu, const char *name, bool enabled)
{
    auto *action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    action->setText(QLatin1String(childWindowTexts().english(name)));
    if (const char *shortcut = childWindowTexts().shortcut(name)) {
        action->setShortcut(QKeySequence(QLatin1String(shortcut), QKeySequence::PortableText));
    }
    action->setIcon(iconFor(name));
    action->setEnabled(enabled);
    menu->addAction(action);
    m_all.append(action);
    return action;
}

QAction *ChildActions::action(const QString &name) const
{
    for (QAction *candidate : m_all) {
        if (candidate->objectName() == name) {
            return candidate;
        }
    }
    return nullptr;
}

QAction *ChildActions::addTwin(QMenu *popup, const char *name, const char *twinOf)
{
    QAction *twin = action(QLatin1String(twinOf));
    QAction *action = add(popup, name, twin->isEnabled());
    connect(action, &QAction::triggered, twin, &QAction::trigger);
    connect(twin, &QAction::enabledChanged, action, &QAction::setEnabled);
    return action;
}
