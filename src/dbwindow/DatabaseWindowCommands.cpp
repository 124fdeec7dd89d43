// The database window's commands: adding, deleting and renaming elements, and the
// clipboard operations of its editors.
#include "DatabaseWindow.h"

#include "CarriedCopyCommands.h"
#include "ChildActions.h"
#include "editing/DocumentCommands.h"
#include "editing/ElementCommands.h"
#include "editing/ElementTreeModel.h"
#include "ElementTreeView.h"
#include "KeyEditor.h"
#include "MainServices.h"
#include "RichTextEdit.h"
#include "platform/CodePage.h"
#include "shell/Settings.h"
#include "widgets/FileFilter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QDir>
#include <QProgressDialog>

namespace {

// Files from this size on are read with a progress dialog that can cancel.
constexpr qint64 kProgressFrom = qint64(16) << 20;

} // namespace

void DatabaseWindow::connectActions()
{
    const auto on = [this](QAction *action, auto handler) { connect(action, &QAction::triggered, this, handler); };
    on(m_actions->MenSave, [this] { save(); });
    on(m_actions->MenSaveAs, [this] { saveAs(); });
    on(m_actions->MenPortable, [this] {
        commitPendingEdits();
        m_carry->createPortable();
    });
    on(m_actions->MenAttachToFile, [this] {
        commitPendingEdits();
        m_carry->attachToFile();
    });
    on(m_actions->MenClose, [this] { emit closeRequested(); });
    on(m_actions->MenCloseAll, [this] { m_main.closeAllWindows(); });
    on(m_actions->MenAddKey, [this] { addKey(); });
    on(m_actions->MenAddEntry, [this] { addEntry(); });
    on(m_actions->MenAddTable, [this] { addTable(); });
    on(m_actions->MenAddFolder, [this] { addFolder(); });
    on(m_actions->MenAddSubfolder, [this] { addSubfolder(); });
    on(m_actions->MenAddFile, [this] { addFileFromDialog(); });
    on(m_actions->MenRemoveEntry, [this] { deleteSelected(); });
    on(m_actions->MenChangeEntry, [this] { startRename(); });
    on(m_actions->MenCutEntry, [this] { cutElement(); });
    on(m_actions->MenCopyEntry, [this] { copyElement(); });
    on(m_actions->MenPasteEntry, [this] { pasteElements(); });
    on(m_actions->MenFind, [this] { openFind(); });
    on(m_actions->MenFindNext, [this] { findNext(); });
    on(m_actions->MenFindEntry, [this] { openFindEntry(); });
    on(m_actions->MenFindNextEntry, [this] { findNextEntry(); });
    on(m_actions->MenCut, [this] { editorCut(); });
    on(m_actions->MenCopy, [this] { editorCopy(); });
    on(m_actions->MenPaste, [this] { editorPaste(); });
    on(m_actions->MenSelectAll, [this] { editorSelectAll(); });
    on(m_actions->MenUndo, [this] { undo(); });
    on(m_actions->MenRedo, [this] { redo(); });
    // The pop-up's "Cut" copies without removing, as the editors' pop-up always did. Its
    // items act on the editor it was opened over.
    on(m_actions->PopRdtCut, [this] { if (RichTextEdit *editor = popupEditor()) editor->copy(); });
    on(m_actions->PopRdtCopy, [this] { if (RichTextEdit *editor = popupEditor()) editor->copy(); });
    on(m_actions->PopCopyPlain, [this] {
        if (RichTextEdit *editor = popupEditor()) {
            QApplication::clipboard()->setText(editor->selectedPlainText());
        }
    });
    on(m_actions->PopRdtPaste, [this] { if (RichTextEdit *editor = popupEditor()) editor->paste(); });
    on(m_actions->PopRdtSelectAll, [this] {
        if (RichTextEdit *editor = popupEditor(); editor) {
            editor->selectAll();
        }
    });
}

// --- Adding ---

ElementNode *DatabaseWindow::addElement(NewElement what, bool fromMenu)
{
    finishNameField();
    const QByteArray name = ElementCommands::defaultName(what, m_main.language(), m_main.settings(), m_main.clock());
    ElementNode *node = ElementCommands::addElement(tree(), what, selectedElement(), name, m_main.clock());
    if (!node) {
        warn(childText("m_aMPasteTooDeep"));
        return nullptr;
    }
    return placeNewElement(node, fromMenu);
}

ElementNode *DatabaseWindow::placeNewElement(ElementNode *node, bool fromMenu)
{
    pushCommand(new InsertElementsCommand(m_document, {node}, commandText("m_aMCmdAdd", node)));
    selectElement(node);
    if (fromMenu) {
        m_trvTree->editName(node);
    }
    return node;
}

void DatabaseWindow::addFileFromDialog()
{
    const QString path = QFileDialog::getOpenFileName(m_main.dialogParent(), QString(), QString(),
                                                      QtFileFilter(mainText("m_aMAllFilter")));
    if (!path.isEmpty()) {
        addFile(path, true);
    }
}

ElementNode *DatabaseWindow::addFile(const QString &path, bool fromMenu)
{
    finishNameField();
    const QString shown = QDir::toNativeSeparators(path);
    switch (ElementCommands::checkFileToAttach(path)) {
    case ElementCommands::FileProblem::None: break;
    case ElementCommands::FileProblem::Missing:
    case ElementCommands::FileProblem::NotAFile: warn(childText("m_aMFileMissing") + shown); return nullptr;
    case ElementCommands::FileProblem::TooLarge: warn(childText("m_aMFileTooLarge") + shown); return nullptr;
    case ElementCommands::FileProblem::NameNotStorable:
        warn(childText("m_aMFileNameNotStored") + shown);
        return nullptr;
    }
    bool cancelled = false;
    std::optional<QByteArray> bytes;
    if (QFileInfo(path).size() < kProgressFrom) {
        bytes = ElementCommands::readWholeFile(path);
    } else {
        QProgressDialog progress(childText("m_aMReadingFile"), mainText("m_aMCancel"), 0, 1000,
                                 m_main.dialogParent());
        progress.setObjectName(QStringLiteral("DlgReadingFile"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        progress.setValue(0);
        bytes = ElementCommands::readWholeFile(path, [&](qint64 done, qint64 total) {
            progress.setValue(int(done * 1000 / std::max<qint64>(1, total)));
            cancelled = progress.wasCanceled();
            return !cancelled;
        });
    }
    if (!bytes) {
        if (!cancelled) {
            warn(childText("m_aMFileNotRead") + shown);
        }
        return nullptr;
    }
    ElementData fields = ElementCommands::fileElementData(path, std::move(*bytes), m_main.clock());
    ElementNode *node = tree().addElement(NewElement::File, selectedElement(), ElementCommands::fileElementName(path),
                                          std::move(fields));
    return placeNewElement(node, fromMenu);
}

// --- Deleting and renaming ---

bool DatabaseWindow::deleteSelected()
{
    finishNameField();
    ElementNode *node = selectedElement();
    if (!node) {
        return false;
    }
    const QString question = mainText("m_aMDelete").replace(QLatin1String("%s"), CodePage::toUnicode(node->name()));
    if (confirm(question, false) != Answer::Yes) {
        return false;
    }
    removeElement(node, "m_aMCmdDelete");
    return true;
}

void DatabaseWindow::startRename()
{
    finishNameField();
    if (ElementNode *node = selectedElement()) {
        m_trvTree->editName(node);
    }
}

bool DatabaseWindow::renameElement(ElementNode *node, const QByteArray &name)
{
    if (!node) {
        return false;
    }
    if (node->name() == name) {
        return true;
    }
    switch (ElementCommands::checkName(tree(), node, name)) {
    case ElementCommands::NameProblem::None: break;
    case ElementCommands::NameProblem::Duplicate:
        inform(mainText("m_aMDoubleName") + CodePage::toUnicode(name));
        return false;
    case ElementCommands::NameProblem::Separator:
        inform(childText("m_aMNameSeparator") + CodePage::toUnicode(name));
        return false;
    case ElementCommands::NameProblem::Empty:
        inform(childText("m_aMNameEmpty"));
        return false;
    }
    ElementData stamped;
    stamped.touch(m_main.clock());
    pushCommand(new RenameElementCommand(m_document, node, name, stamped.Modified, commandText("m_aMCmdRename", node)));
    if (node == selectedElement()) {
        showStatus(node);
    }
    if (node == selectedElement() && node != m_nameFieldElement) {
        m_edtName->setText(CodePage::toUnicode(name));
    }
    return true;
}

// --- Clipboard operations of the editors ---

RichTextEdit *DatabaseWindow::popupEditor() const
{
    return qobject_cast<RichTextEdit *>(m_actions->editorPopup()->property("editor").value<QObject *>());
}

QWidget *DatabaseWindow::focusedEditor() const
{
    for (QWidget *editor : {static_cast<QWidget *>(m_edtName), static_cast<QWidget *>(m_rdtText),
                            static_cast<QWidget *>(m_pnlKey->userNameEdit()),
                            static_cast<QWidget *>(m_pnlKey->passwordEdit()),
                            static_cast<QWidget *>(m_pnlKey->comment())}) {
        if (editor->hasFocus() && editor->isVisible()) {
            return editor;
        }
    }
    return nullptr;
}

void DatabaseWindow::editorCopy()
{
    QWidget *editor = focusedEditor();
    if (editor == m_pnlKey->passwordEdit()) {
        m_pnlKey->copyPassword();
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->copy();
    } else if (auto *rich = qobject_cast<RichTextEdit *>(editor)) {
        rich->copy();
    }
}

void DatabaseWindow::editorCut()
{
    QWidget *editor = focusedEditor();
    if (!editor || editor == m_pnlKey->passwordEdit()) {
        return;
    }
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->cut();
    } else if (auto *rich = qobject_cast<RichTextEdit *>(editor)) {
        rich->cut();
    }
}

void DatabaseWindow::editorPaste()
{
    // The editors report what the paste changed as an edit of their own.
    if (auto *line = qobject_cast<QLineEdit *>(focusedEditor())) {
        line->paste();
    } else if (auto *rich = qobject_cast<RichTextEdit *>(focusedEditor())) {
        rich->paste();
    }
}

void DatabaseWindow::editorSelectAll()
{
    if (auto *line = qobject_cast<QLineEdit *>(focusedEditor())) {
        line->selectAll();
    } else if (auto *rich = qobject_cast<RichTextEdit *>(focusedEditor())) {
        rich->selectAll();
    }
}
