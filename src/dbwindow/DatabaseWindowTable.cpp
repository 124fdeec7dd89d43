// The database window's table editing: the grid stored into its element after every
// change, the grid's pop-up commands, sort data and CSV import and export.
#include "DatabaseWindow.h"

#include "ChildActions.h"
#include "ChildTexts.h"
#include "MainServices.h"
#include "SortDialog.h"
#include "editing/TableCsv.h"
#include "TablePanel.h"
#include "editing/TableSort.h"
#include "editing/TableStorage.h"
#include "widgets/CodePageGuard.h"
#include "widgets/FileFilter.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>

namespace {

// The filters of the CSV file dialogs.
const char kImportFilter[] = "CSV Import (*.csv)|*.csv";
const char kExportFilter[] = "CSV Export (*.csv)|*.csv";

} // namespace

void DatabaseWindow::connectTable()
{
    m_pnlTable->setPopupMenu(m_actions->tablePopup());
    connect(m_pnlTable, &TablePanel::gridChanged, this, [this] { storeTable(); });
    // A damaged table offers "Clear all" alone.
    connect(m_pnlTable, &TablePanel::damagedChanged, this, [this](bool damaged) {
        for (QAction *action : m_actions->tablePopup()->actions()) {
            if (!action->isSeparator() && action->objectName() != QLatin1String("PopTableClear")) {
                action->setEnabled(!damaged);
            }
        }
    });
    connect(m_pnlTable, &TablePanel::cellEditorCreated, this,
            [this](QLineEdit *editor) { guardCodePage(editor, m_main.language()); });
    for (QComboBox *box : m_pnlTable->boxes()) {
        guardCodePage(box->lineEdit(), m_main.language());
    }
    const auto on = [this](const char *name, auto handler) {
        connect(m_actions->action(QLatin1String(name)), &QAction::triggered, this, [this, handler] {
            if (!m_main.isLocked() && tableShown()) {
                handler();
            }
        });
    };
    TablePanel *panel = m_pnlTable;
    on("PopSortData", [this] { sortData(); });
    on("PopTableClear", [panel] { panel->clearAll(); });
    on("PopTableClearRow", [panel] { panel->clearRow(); });
    on("PopTableInsertRow", [panel] { panel->insertRow(); });
    on("PopTableRemoveRow", [panel] { panel->removeRow(); });
    on("PopTableClearColumn", [panel] { panel->clearColumn(); });
    on("PopTableInsertColumn", [panel] { panel->insertColumn(); });
    on("PopTableRemoveColumn", [panel] { panel->removeColumn(); });
    on("PopReplaceInColumn", [this] { openReplace(false); });
    on("PopReplaceInRow", [this] { openReplace(true); });
    on("PopTableImportCSV", [this] { importCsvFromDialog(); });
    on("PopTableExportCSV", [this] { exportCsvToDialog(); });
}

bool DatabaseWindow::storeTable()
{
    // What could not be read is never written over by the empty grid shown for it; a grid
    // being filled for display is no edit.
    if (!tableShown() || m_pnlTable->isDamaged() || m_main.loadingGuard()) {
        return false;
    }
    ElementNode *node = selectedElement();
    ElementData before = node->data();
    if (!TableStorage::storeTable(tree(), node, m_pnlTable->model()->grid(), m_main.clock())) {
        return false;
    }
    m_lastShown = node;
    recordDataChange(node, std::move(before));
    return true;
}

SortDialog &DatabaseWindow::sortDialog()
{
    if (!m_frmSort) {
        // Centred on the main window when shown; it keeps its fields for this window.
        m_frmSort = new SortDialog(m_main.language(), this);
    }
    return *m_frmSort;
}

bool DatabaseWindow::sortData()
{
    if (m_main.isLocked() || !tableEditable()) {
        return false;
    }
    ElementNode *node = selectedElement();
    // A table that was never stored has nothing to sort.
    if (!node->data().hasBlob()) {
        return false;
    }
    const int endRow = TableSort::proposedEndRow(m_pnlTable->model()->grid());
    const bool timerWasRunning = m_main.stopLockTimer();
    const std::optional<TableSort::Request> request = sortDialog().ask(endRow);
    m_main.restoreLockTimer(timerWasRunning);
    // The element may have gone while the dialog was open.
    if (!request || selectedElement() != node || !tableShown()) {
        return false;
    }
    ElementData before = node->data();
    if (!TableSort::sortTableData(tree(), node, *request, m_main.clock())) {
        return false;
    }
    m_pnlTable->loadTable(node->data(), false);
    m_lastShown = node;
    recordDataChange(node, std::move(before));
    return true;
}

void DatabaseWindow::importCsvFromDialog()
{
    const QString path = QFileDialog::getOpenFileName(m_main.dialogParent(), QString(), QString(),
                                                      QtFileFilter(QLatin1String(kImportFilter)));
    if (!path.isEmpty()) {
        importCsv(path);
    }
}

bool DatabaseWindow::importCsv(const QString &path)
{
    if (m_main.isLocked() || !tableEditable()) {
        return false;
    }
    const ElementNode *node = selectedElement();
    // Read aside, with the width the bar shows: the grid changes only when all arrived.
    TableGrid imported;
    imported.setWidthText(m_pnlTable->model()->grid().barTexts().width);
    QProgressDialog progress(childText("m_aMImportingCsv"), mainText("m_aMCancel"), 0, 1000, m_main.dialogParent());
    progress.setObjectName(QStringLiteral("DlgImportingCsv"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    const TableCsv::ImportResult result = TableCsv::importFile(imported, path, [&](qint64 done, qint64 total) {
        progress.setValue(int(done * 1000 / std::max<qint64>(1, total)));
        return !progress.wasCanceled();
    });
    progress.reset();
    const QString shown = QDir::toNativeSeparators(path);
    switch (result) {
    case TableCsv::ImportResult::Imported: break;
    case TableCsv::ImportResult::Cancelled: return false;
    case TableCsv::ImportResult::Unreadable: warn(childText("m_aMCsvNotRead") + shown); return false;
    case TableCsv::ImportResult::TooLarge: warn(childText("m_aMCsvTooLarge") + shown); return false;
    }
    // The progress let events through: the table must still be the one shown.
    if (selectedElement() != node || !tableEditable()) {
        return false;
    }
    m_pnlTable->replaceGrid(std::move(imported));
    return true;
}

void DatabaseWindow::exportCsvToDialog()
{
    QString path = QFileDialog::getSaveFileName(m_main.dialogParent(), QString(), QString(),
                                                QtFileFilter(QLatin1String(kExportFilter)));
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1String(".csv");
    }
    exportCsv(path);
}

bool DatabaseWindow::exportCsv(const QString &path)
{
    if (m_main.isLocked() || !tableEditable()) {
        return false;
    }
    SecretFile::Failure failure = SecretFile::Failure::None;
    if (!TableCsv::exportFile(m_pnlTable->model()->grid(), path, &failure)) {
        warn(childText("m_aMCsvNotWritten") + QDir::toNativeSeparators(path) + QLatin1Char('\n')
             + writeProblemText(failure));
        return false;
    }
    return true;
}
