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
    add(m_menFile, "MenSave");
    add(m_menFile, "MenSaveAs");
    m_menFile->addSeparator();
    add(m_menFile, "MenPortable", false);
    add(m_menFile, "MenAttachToFile", false);
    m_menFile->addSeparator();
    add(m_menFile, "MenPrint", false);
    add(m_menFile, "MenPrintAll", false);
    add(m_menFile, "MenPrintPreview", false);
    m_menFile->addSeparator();
    QMenu *menExport = makeMenu("MenExport", m_menFile);
    for (const char *name : {"MenExportSingle", "MenExportAll", "MenExportAllFiles", "MenExportAllFilesFolders",
                             "MenExportFileEntries"}) {
        add(menExport, name, false);
    }
    m_menFile->addMenu(menExport)->setEnabled(false);
    add(m_menFile, "MenProperties", false);
    m_menFile->addSeparator();
    if (QMenu *recent = main.recentFilesMenu()) {
        m_menFile->addMenu(recent);
    }
    if (QMenu *recent = main.recentFoldersMenu()) {
        m_menFile->addMenu(recent);
    }
    m_menFile->addSeparator();
    add(m_menFile, "MenClose");
    add(m_menFile, "MenCloseAll");
    m_menFile->addSeparator();
    m_menFile->addAction(main.exitAction());

    m_menEdit = makeMenu("MenEdit", window);
    for (const char *name : {"MenCut", "MenCopy", "MenPaste", "MenUndo", "MenRedo", "MenSelectAll"}) {
        add(m_menEdit, name);
    }
    addSecondRedoKey();
    m_menEdit->addSeparator();
    add(m_menEdit, "MenFind");
    add(m_menEdit, "MenFindNext");

    m_menElements = makeMenu("MenElements", window);
    for (const char *name :
         {"MenAddKey", "MenAddEntry", "MenAddFile", "MenAddTable", "MenAddFolder", "MenAddSubfolder"}) {
        add(m_menElements, name);
    }
    m_menElements->addSeparator();
    add(m_menElements, "MenRemoveEntry");
    add(m_menElements, "MenChangeEntry");
    m_menElements->addSeparator();
    for (const char *name : {"MenCutEntry", "MenCopyEntry", "MenPasteEntry"}) {
        add(m_menElements, name);
    }
    m_menElements->addSeparator();
    add(m_menElements, "MenFindEntry");
    add(m_menElements, "MenFindNextEntry");

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
    for (const char *name : std::initializer_list<const char *>{"PopSortData", "PopTableClear", nullptr, "PopTableClearRow", "PopTableInsertRow",
                             "PopTableRemoveRow", nullptr, "PopTableClearColumn", "PopTableInsertColumn",
                             "PopTableRemoveColumn", nullptr, "PopReplaceInColumn", "PopReplaceInRow", nullptr,
                             "PopTableImportCSV", "PopTableExportCSV"}) {
        if (name) {
            add(m_popTable, name);
        } else {
            m_popTable->addSeparator();
        }
    }

    m_popRdtText = makeMenu("PopRdtText", window);
    for (const char *name : {"PopRdtCut", "PopRdtCopy", "PopCopyPlain", "PopRdtPaste"}) {
        add(m_popRdtText, name);
    }
    m_popRdtText->addSeparator();
    add(m_popRdtText, "PopRdtSelectAll");
}

void ChildActions::addSecondRedoKey()
{
    // Both keys that redo on Linux desktops; the language texts name the first.
    QAction *redo = m_actions.value(QStringLiteral("MenRedo"));
    const QKeySequence second(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    if (!redo->shortcuts().contains(second)) {
        redo->setShortcuts({redo->shortcut(), second});
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
    m_actions.insert(action->objectName(), action);
    return action;
}

QAction *ChildActions::addTwin(QMenu *popup, const char *name, const char *twinOf)
{
    QAction *twin = m_actions.value(QLatin1String(twinOf));
    QAction *action = add(popup, name, twin->isEnabled());
    connect(action, &QAction::triggered, twin, &QAction::trigger);
    connect(twin, &QAction::enabledChanged, action, &QAction::setEnabled);
    return action;
}
