#include "TableController.h"

#include "ChildActions.h"
#include "ChildTexts.h"
#include "DatabaseWindow.h"
#include "MainServices.h"
#include "SortDialog.h"
#include "TablePanel.h"
#include "editing/DocumentCommands.h"
#include "editing/TableCsv.h"
#include "editing/TableSort.h"
#include "editing/TableStorage.h"
#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"
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

TableController::TableController(DatabaseWindow &window, MainServices &main, TablePanel *panel,
                                 ChildActions &actions)
    : QObject(&window), m_window(window), m_main(main), m_panel(panel)
{
    m_panel->setPopupMenu(actions.tablePopup());
    connect(m_panel, &TablePanel::gridChanged, this, [this] { storeTable(); });
    // A damaged table offers "Clear all" alone.
    connect(m_panel, &TablePanel::damagedChanged, &window, &DatabaseWindow::updateActions);
    connect(m_panel, &TablePanel::cellEditorCreated, this,
            [this](QLineEdit *editor) { guardCodePage(editor, m_main.language()); });
    for (QComboBox *box : m_panel->boxes()) {
        guardCodePage(box->lineEdit(), m_main.language());
    }
    connectPopup(actions);
}

QString TableController::childText(const char *key) const
{
    return m_main.language().uiText(childWindowTexts(), key);
}

QString TableController::mainText(const char *key) const
{
    return m_main.language().uiText(mainWindowTexts(), key);
}

void TableController::applyTexts()
{
    if (m_frmSort) {
        m_frmSort->applyTexts();
    }
}

void TableController::connectPopup(ChildActions &actions)
{
    const auto on = [this](QAction *action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] {
            if (m_window.tableShown()) {
                handler();
            }
        });
    };
    TablePanel *panel = m_panel;
    on(actions.PopSortData, [this] { sortData(); });
    on(actions.PopTableClear, [panel] { panel->clearAll(); });
    on(actions.PopTableClearRow, [panel] { panel->clearRow(); });
    on(actions.PopTableInsertRow, [panel] { panel->insertRow(); });
    on(actions.PopTableRemoveRow, [panel] { panel->removeRow(); });
    on(actions.PopTableClearColumn, [panel] { panel->clearColumn(); });
    on(actions.PopTableInsertColumn, [panel] { panel->insertColumn(); });
    on(actions.PopTableRemoveColumn, [panel] { panel->removeColumn(); });
    on(actions.PopReplaceInColumn, [this] { m_window.openReplace(false); });
    on(actions.PopReplaceInRow, [this] { m_window.openReplace(true); });
    on(actions.PopTableImportCSV, [this] { importCsvFromDialog(); });
    on(actions.PopTableExportCSV, [this] { exportCsvToDialog(); });
}

bool TableController::storeTable()
{
    // What could not be read is never written over by the empty grid shown for it; a grid
    // being filled for display is no edit.
    if (!m_window.tableShown() || m_panel->isDamaged() || m_main.loadingGuard()) {
        return false;
    }
    ElementNode *node = m_window.selectedElement();
    ElementData before = node->data();
    if (!TableStorage::storeTable(m_window.tree(), node, m_panel->model()->grid(), m_main.clock())) {
        return false;
    }
    m_window.recordDataChange(node, std::move(before));
    return true;
}

SortDialog &TableController::sortDialog()
{
    if (!m_frmSort) {
        // Centred on the main window when shown; it keeps its fields for this window.
        m_frmSort = new SortDialog(m_main.language(), &m_window);
    }
    return *m_frmSort;
}

bool TableController::sortData()
{
    if (!m_window.tableEditable()) {
        return false;
    }
    ElementNode *node = m_window.selectedElement();
    // A table that was never stored has nothing to sort.
    if (!node->data().hasBlob()) {
        return false;
    }
    const int endRow = TableSort::proposedEndRow(m_panel->model()->grid());
    const bool timerWasRunning = m_main.stopLockTimer();
    const std::optional<TableSort::Request> request = sortDialog().ask(endRow);
    m_main.restoreLockTimer(timerWasRunning);
    // The element may have gone while the dialog was open.
    if (!request || m_window.selectedElement() != node || !m_window.tableShown()) {
        return false;
    }
    ElementData before = node->data();
    if (!TableSort::sortTableData(m_window.tree(), node, *request, m_main.clock())) {
        return false;
    }
    m_panel->loadTable(node->data(), false);
    m_window.recordDataChange(node, std::move(before));
    return true;
}

void TableController::importCsvFromDialog()
{
    const QString path = QFileDialog::getOpenFileName(m_main.dialogParent(), QString(), QString(),
                                                      QtFileFilter(QLatin1String(kImportFilter)));
    if (!path.isEmpty()) {
        importCsv(path);
    }
}

bool TableController::importCsv(const QString &path)
{
    if (!m_window.tableEditable()) {
        return false;
    }
    const ElementNode *node = m_window.selectedElement();
    // Read aside, with the width the bar shows: the grid changes only when all arrived.
    TableGrid imported;
    imported.setWidthText(m_panel->model()->grid().barTexts().width);
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
    case TableCsv::ImportResult::Unreadable: m_window.warn(childText("m_aMCsvNotRead") + shown); return false;
    case TableCsv::ImportResult::TooLarge: m_window.warn(childText("m_aMCsvTooLarge") + shown); return false;
    }
    // The progress let events through: the table must still be the one shown.
    if (m_window.selectedElement() != node || !m_window.tableEditable()) {
        return false;
    }
    m_panel->replaceGrid(std::move(imported));
    return true;
}

void TableController::exportCsvToDialog()
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

bool TableController::exportCsv(const QString &path)
{
    if (!m_window.tableEditable()) {
        return false;
    }
    SecretFile::Failure failure = SecretFile::Failure::None;
    if (!TableCsv::exportFile(m_panel->model()->grid(), path, &failure)) {
        m_window.warn(childText("m_aMCsvNotWritten") + QDir::toNativeSeparators(path) + QLatin1Char('\n')
             + m_window.writeProblemText(failure));
        return false;
    }
    return true;
}
