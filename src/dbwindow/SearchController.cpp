#include "SearchController.h"

#include "ChildTexts.h"
#include "DatabaseWindow.h"
#include "editing/ElementTreeModel.h"
#include "ElementTreeView.h"
#include "FindDialog.h"
#include "ReplaceDialog.h"
#include "MainServices.h"
#include "RichTextEdit.h"
#include "TablePanel.h"
#include "editing/TextSearch.h"
#include "platform/CodePage.h"
#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"
#include "widgets/CodePageGuard.h"
#include "widgets/LanguageApplier.h"

#include <QLineEdit>
#include <QTextCursor>

namespace {

std::optional<QByteArray> bytesOf(const QString &text)
{
    bool ok = false;
    QByteArray bytes = CodePage::fromUnicode(text, &ok);
    return ok ? std::optional<QByteArray>(std::move(bytes)) : std::nullopt;
}

} // namespace

SearchController::SearchController(DatabaseWindow &window, MainServices &main, const Views &views)
    : QObject(&window), m_window(window), m_main(main), m_views(views)
{
}

QString SearchController::mainText(const char *key) const
{
    return m_main.language().uiText(mainWindowTexts(), key);
}

void SearchController::applyTexts()
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

FindDialog *SearchController::findDialog()
{
    if (!m_fidFind) {
        m_fidFind = new FindDialog(QStringLiteral("FidFind"), true, &m_window);
        connect(m_fidFind, &FindDialog::findRequested, this, [this] { findText(); });
        applyTexts();
    }
    return m_fidFind;
}

void SearchController::openFind()
{
    if (!m_window.textEditorShown()) {
        m_window.inform(mainText("m_aMNoKeySearch"));
        return;
    }
    findDialog()->showForSearch();
}

void SearchController::findNext()
{
    // Nothing searched yet: the dialog asks what to search.
    if (findDialog()->findText().isEmpty()) {
        openFind();
        return;
    }
    findText();
}

bool SearchController::findText()
{
    if (!m_window.textEditorShown()) {
        m_window.inform(mainText("m_aMNoKeySearch"));
        return false;
    }
    const FindDialog *dialog = findDialog();
    const QString what = dialog->findText();
    QTextCursor cursor = m_views.text->textCursor();
    const qsizetype start =
        TextSearch::startPosition(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
    const TextSearch::Options options{dialog->down(), dialog->matchCase(), dialog->wholeWord()};
    const qsizetype hit = TextSearch::findText(m_views.text->toPlainText(), what, start, options);
    if (hit < 0) {
        m_window.inform(mainText("m_aMSearchFailed") + what);
        return false;
    }
    cursor.setPosition(int(hit));
    cursor.setPosition(int(hit + what.size()), QTextCursor::KeepAnchor);
    m_views.text->setTextCursor(cursor);
    m_views.text->setFocus(Qt::OtherFocusReason);
    return true;
}

// --- Find entry ---

FindDialog *SearchController::findEntryDialog()
{
    if (!m_fidEntry) {
        m_fidEntry = new FindDialog(QStringLiteral("FidEntry"), false, &m_window);
        guardCodePage(m_fidEntry->findEdit(), m_main.language());
        connect(m_fidEntry, &FindDialog::findRequested, this, [this] { findEntry(); });
        applyTexts();
    }
    return m_fidEntry;
}

void SearchController::openFindEntry()
{
    m_window.finishNameField();
    ElementNode *node = m_window.selectedElement();
    if (!node) {
        node = m_window.tree().firstRoot();
    }
    if (!node) {
        return; // an empty tree has nothing to find
    }
    m_window.selectElement(node);
    m_entrySearch.startOver();
    findEntryDialog()->showForSearch();
}

void SearchController::findNextEntry()
{
    if (findEntryDialog()->findText().isEmpty()) {
        openFindEntry();
        return;
    }
    findEntry();
}

ElementNode *SearchController::findEntry()
{
    m_window.finishNameField();
    ElementNode *start = m_window.selectedElement();
    if (!start) {
        // Nothing selected (the selection went meanwhile): the search starts at the
        // first element and includes it.
        start = m_window.tree().firstRoot();
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
        m_window.inform(mainText("m_aMEntryFailed") + dialog->findText());
        return nullptr;
    }
    m_views.treeView->expandRecursively(m_views.model->indexOf(found));
    m_window.selectElement(found);
    return found;
}

// --- Replace in a table ---

ReplaceDialog *SearchController::replaceDialog()
{
    if (!m_rpdReplace) {
        m_rpdReplace = new ReplaceDialog(&m_window);
        guardCodePage(m_rpdReplace->findEdit(), m_main.language());
        guardCodePage(m_rpdReplace->replaceEdit(), m_main.language());
        connect(m_rpdReplace, &ReplaceDialog::findRequested, this, [this] { replaceFind(); });
        connect(m_rpdReplace, &ReplaceDialog::replaceRequested, this, [this] { replaceOne(); });
        connect(m_rpdReplace, &ReplaceDialog::replaceAllRequested, this, [this] { replaceAll(); });
        applyTexts();
    }
    return m_rpdReplace;
}

void SearchController::openReplace(bool inRow)
{
    if (!m_window.tableEditable()) {
        return;
    }
    const QPoint at = m_views.table->selectionTopLeft();
    m_replace.open(at.x(), at.y(), inRow);
    replaceDialog()->showForSearch();
}

bool SearchController::replaceFind()
{
    const std::optional<QByteArray> what = bytesOf(replaceDialog()->findText());
    if (!m_window.tableShown() || !what) {
        return false;
    }
    const std::optional<TableReplace::Cell> found = m_replace.find(m_views.table->model()->grid(), *what);
    if (found) {
        m_views.table->showFound(found->column, found->row, m_replace.inRow());
    }
    return found.has_value();
}

bool SearchController::replaceOne()
{
    const std::optional<QByteArray> what = bytesOf(replaceDialog()->findText());
    const std::optional<QByteArray> with = bytesOf(replaceDialog()->replaceText());
    if (!m_window.tableShown() || !what || !with) {
        return false;
    }
    std::optional<TableReplace::Cell> found;
    // The panel reports a change, which stores the table.
    const bool changed = m_views.table->changeGrid(TableGridModel::Shape::CellsOnly, [&](TableGrid &grid) {
        const TableReplace::Replaced replaced = m_replace.replace(grid, *what, *with);
        found = replaced.found;
        return replaced.changed;
    });
    if (found) {
        m_views.table->showFound(found->column, found->row, m_replace.inRow());
    }
    return changed;
}

int SearchController::replaceAll()
{
    const std::optional<QByteArray> what = bytesOf(replaceDialog()->findText());
    const std::optional<QByteArray> with = bytesOf(replaceDialog()->replaceText());
    if (!m_window.tableShown() || !what || !with) {
        return 0;
    }
    int replaced = 0;
    m_views.table->changeGrid(TableGridModel::Shape::CellsOnly, [&](TableGrid &grid) {
        replaced = m_replace.replaceAll(grid, *what, *with);
        return replaced > 0;
    });
    return replaced;
}
