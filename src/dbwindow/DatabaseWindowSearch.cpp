// The database window's searches: find text in the text editor, find entry over the
// tree, and replace in a row or column of the shown table.
#include "DatabaseWindow.h"

#include "ChildTexts.h"
#include "editing/ElementTreeModel.h"
#include "ElementTreeView.h"
#include "FindDialogs.h"
#include "MainServices.h"
#include "RichTextEdit.h"
#include "TablePanel.h"
#include "editing/TextSearch.h"
#include "platform/CodePage.h"
#include "shell/LanguageStore.h"
#include "widgets/CodePageGuard.h"
#include "widgets/LanguageApplier.h"

#include <QLineEdit>
#include <QStackedWidget>
#include <QTextCursor>

namespace {

std::optional<QByteArray> bytesOf(const QString &text)
{
    bool ok = false;
    QByteArray bytes = CodePage::fromUnicode(text, &ok);
    return ok ? std::optional<QByteArray>(std::move(bytes)) : std::nullopt;
}

} // namespace

bool DatabaseWindow::textEditorShown() const
{
    return (m_editorKind == KindFolder || m_editorKind == KindEntry || m_editorKind == KindFile)
           && m_editors->currentWidget() == m_rdtText;
}

bool DatabaseWindow::tableShown() const
{
    const ElementNode *node = selectedElement();
    return m_editorKind == KindTable && node && node->kind() == KindTable;
}

bool DatabaseWindow::tableEditable() const
{
    return tableShown() && !m_pnlTable->isDamaged();
}

void DatabaseWindow::applyDialogTexts()
{
    const LanguageStore &language = m_main.language();
    for (QDialog *dialog : {static_cast<QDialog *>(m_fidFind), static_cast<QDialog *>(m_fidEntry),
                            static_cast<QDialog *>(m_rpdReplace)}) {
        if (dialog) {
            ::applyLanguageTexts(dialog, language, childWindowTexts());
            dialog->setWindowTitle(language.uiText(childWindowTexts(), dialog->objectName().toLatin1()));
        }
    }
}

// --- Find text ---

FindDialog *DatabaseWindow::findDialog()
{
    if (!m_fidFind) {
        m_fidFind = new FindDialog(QStringLiteral("FidFind"), true, this);
        connect(m_fidFind, &FindDialog::findRequested, this, [this] { findText(); });
        applyDialogTexts();
    }
    return m_fidFind;
}

void DatabaseWindow::openFind()
{
    if (m_main.isLocked()) {
        return;
    }
    if (!textEditorShown()) {
        inform(mainText("m_aMNoKeySearch"));
        return;
    }
    findDialog()->showForSearch();
}

void DatabaseWindow::findNext()
{
    if (m_main.isLocked()) {
        return;
    }
    // Nothing searched yet: the dialog asks what to search.
    if (findDialog()->findText().isEmpty()) {
        openFind();
        return;
    }
    findText();
}

bool DatabaseWindow::findText()
{
    if (m_main.isLocked()) {
        return false;
    }
    if (!textEditorShown()) {
        inform(mainText("m_aMNoKeySearch"));
        return false;
    }
    const FindDialog *dialog = findDialog();
    const QString what = dialog->findText();
    QTextCursor cursor = m_rdtText->textCursor();
    const qsizetype start =
        TextSearch::startPosition(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
    const TextSearch::Options options{dialog->down(), dialog->matchCase(), dialog->wholeWord()};
    const qsizetype hit = TextSearch::findText(m_rdtText->toPlainText(), what, start, options);
    if (hit < 0) {
        inform(mainText("m_aMSearchFailed") + what);
        return false;
    }
    cursor.setPosition(int(hit));
    cursor.setPosition(int(hit + what.size()), QTextCursor::KeepAnchor);
    m_rdtText->setTextCursor(cursor);
    m_rdtText->setFocus(Qt::OtherFocusReason);
    return true;
}

// --- Find entry ---

FindDialog *DatabaseWindow::findEntryDialog()
{
    if (!m_fidEntry) {
        m_fidEntry = new FindDialog(QStringLiteral("FidEntry"), false, this);
        guardCodePage(m_fidEntry->findEdit(), m_main.language());
        connect(m_fidEntry, &FindDialog::findRequested, this, [this] { findEntry(); });
        applyDialogTexts();
    }
    return m_fidEntry;
}

void DatabaseWindow::openFindEntry()
{
    if (m_main.isLocked()) {
        return;
    }
    finishNameField();
    ElementNode *node = selectedElement();
    if (!node) {
        node = m_tree.firstRoot();
    }
    if (!node) {
        return; // an empty tree has nothing to find
    }
    selectElement(node);
    m_entrySearch.startOver();
    findEntryDialog()->showForSearch();
}

void DatabaseWindow::findNextEntry()
{
    if (m_main.isLocked()) {
        return;
    }
    if (findEntryDialog()->findText().isEmpty()) {
        openFindEntry();
        return;
    }
    findEntry();
}

ElementNode *DatabaseWindow::findEntry()
{
    if (m_main.isLocked()) {
        return nullptr;
    }
    finishNameField();
    ElementNode *start = selectedElement();
    if (!start) {
        // Nothing selected (the selection went meanwhile): the search starts at the
        // first element and includes it.
        start = m_tree.firstRoot();
        m_entrySearch.startOver();
    }
    if (!start) {
        return nullptr;
    }
    const FindDialog *dialog = findEntryDialog();
    const std::optional<QByteArray> what = bytesOf(dialog->findText());
    const ElementSearch::Options options{dialog->down(), dialog->matchCase()};
    // A text the code page cannot carry is in no element.
    ElementNode *found = m_entrySearch.findNext(start, what.value_or(QByteArray()), options);
    if (!found) {
        inform(mainText("m_aMEntryFailed") + dialog->findText());
        return nullptr;
    }
    m_trvTree->expandRecursively(m_model->indexOf(found));
    selectElement(found);
    return found;
}

// --- Replace in a table ---

ReplaceDialog *DatabaseWindow::replaceDialog()
{
    if (!m_rpdReplace) {
        m_rpdReplace = new ReplaceDialog(this);
        guardCodePage(m_rpdReplace->findEdit(), m_main.language());
        guardCodePage(m_rpdReplace->replaceEdit(), m_main.language());
        connect(m_rpdReplace, &ReplaceDialog::findRequested, this, [this] { replaceFind(); });
        connect(m_rpdReplace, &ReplaceDialog::replaceRequested, this, [this] { replaceOne(); });
        connect(m_rpdReplace, &ReplaceDialog::replaceAllRequested, this, [this] { replaceAll(); });
        applyDialogTexts();
    }
    return m_rpdReplace;
}

void DatabaseWindow::openReplace(bool inRow)
{
    if (m_main.isLocked() || !tableEditable()) {
        return;
    }
    const QPoint at = m_pnlTable->selectionTopLeft();
    m_replace.open(at.x(), at.y(), inRow);
    replaceDialog()->showForSearch();
}

bool DatabaseWindow::replaceFind()
{
    const std::optional<QByteArray> what = bytesOf(replaceDialog()->findText());
    if (m_main.isLocked() || !tableShown() || !what) {
        return false;
    }
    const std::optional<TableReplace::Cell> found = m_replace.find(m_pnlTable->model()->grid(), *what);
    if (found) {
        m_pnlTable->showFound(found->column, found->row, m_replace.inRow());
    }
    return found.has_value();
}

bool DatabaseWindow::replaceOne()
{
    const std::optional<QByteArray> what = bytesOf(replaceDialog()->findText());
    const std::optional<QByteArray> with = bytesOf(replaceDialog()->replaceText());
    if (m_main.isLocked() || !tableShown() || !what || !with) {
        return false;
    }
    std::optional<TableReplace::Cell> found;
    // The panel reports a change, which stores the table.
    const bool changed = m_pnlTable->changeGrid(TableGridModel::Shape::CellsOnly, [&](TableGrid &grid) {
        const TableReplace::Replaced replaced = m_replace.replace(grid, *what, *with);
        found = replaced.found;
        return replaced.changed;
    });
    if (found) {
        m_pnlTable->showFound(found->column, found->row, m_replace.inRow());
    }
    return changed;
}

int DatabaseWindow::replaceAll()
{
    const std::optional<QByteArray> what = bytesOf(replaceDialog()->findText());
    const std::optional<QByteArray> with = bytesOf(replaceDialog()->replaceText());
    if (m_main.isLocked() || !tableShown() || !what || !with) {
        return 0;
    }
    int replaced = 0;
    m_pnlTable->changeGrid(TableGridModel::Shape::CellsOnly, [&](TableGrid &grid) {
        replaced = m_replace.replaceAll(grid, *what, *with);
        return replaced > 0;
    });
    return replaced;
}
