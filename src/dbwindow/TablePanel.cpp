#include "TablePanel.h"

#include "document/ElementData.h"
#include "platform/CodePage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <limits>
#include <utility>

namespace {

// The in-place cell editor: it holds a cell whole however long, and hands every change
// to the model as it is typed, so the table is stored key by key.
class CellDelegate final : public QStyledItemDelegate
{
public:
    explicit CellDelegate(TablePanel *panel) : QStyledItemDelegate(panel), m_panel(panel) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (!line) {
            return editor;
        }
        // A line edit cuts texts at 32,767 characters by default: a longer cell would be
        // stored cut short.
        line->setMaxLength(std::numeric_limits<int>::max());
        auto *self = const_cast<CellDelegate *>(this);
        connect(line, &QLineEdit::textEdited, self, [self, line] { emit self->commitData(line); });
        // The current cell always has its editor open: a right click on it (or the menu key)
        // shows the table's commands, not the line edit's own menu.
        line->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(line, &QWidget::customContextMenuRequested, m_panel, [panel = m_panel, line](const QPoint &pos) {
            panel->showPopup(line->mapTo(panel->grid()->viewport(), pos));
        });
        emit m_panel->cellEditorCreated(line);
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        // The model reports each typed key back: the editor already shows it, and setting
        // it again would move the cursor to the end.
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (line && line->text() == index.data(Qt::EditRole).toString()) {
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

private:
    TablePanel *m_panel;
};

} // namespace

TablePanel::TablePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PnlTable"));
    m_model = new TableGridModel(this);
    m_stgTable = new QTableView(this);
    m_stgTable->setObjectName(QStringLiteral("StgTable"));
    m_stgTable->setModel(m_model);
    m_stgTable->setItemDelegate(new CellDelegate(this));
    m_stgTable->setShowGrid(true);
    m_stgTable->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // The editor opens on the current cell and a typed key starts it anywhere.
    m_stgTable->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_stgTable->setTabKeyNavigation(true);
    m_stgTable->setWordWrap(false);
    // The grid scrolls by whole cells, so a scroll position names the first row (column) shown.
    m_stgTable->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_stgTable->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    for (QHeaderView *header : {m_stgTable->horizontalHeader(), m_stgTable->verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Interactive);
        header->setSectionsMovable(true);
        header->setHighlightSections(true);
        const Qt::Orientation orientation = header->orientation();
        // Put right after the move is done: the moved row (column) goes into the grid,
        // which is then stored, and the header shows the plain order again.
        connect(header, &QHeaderView::sectionMoved, this, [this, orientation](int, int from, int to) {
            if (!m_quiet) {
                QMetaObject::invokeMethod(this, [this, orientation, from, to] { onSectionMoved(orientation, from, to); },
                                          Qt::QueuedConnection);
            }
        });
    }
    m_stgTable->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_stgTable, &QWidget::customContextMenuRequested, this, &TablePanel::showPopup);
    connect(m_model, &TableGridModel::cellEdited, this, &TablePanel::gridChanged);

    m_pnlTableMode = new QWidget(this);
    m_pnlTableMode->setObjectName(QStringLiteral("PnlTableMode"));
    m_cbbColumns = makeBox("CbbTableColumns", {"1", "2", "5", "10", "15", "20"});
    m_cbbRows = makeBox("CbbTableRows", {"1", "2", "5", "10", "15", "20", "50", "100"});
    m_cbbWidth = makeBox("CbbTableWidth", {"40", "60", "80", "100", "120", "140", "160", "180", "200", ""});
    auto *bar = new QHBoxLayout(m_pnlTableMode);
    bar->setContentsMargins(4, 2, 4, 2);
    const std::pair<const char *, QComboBox *> boxes[] = {
        {"LblTableColumns", m_cbbColumns}, {"LblTableRows", m_cbbRows}, {"LblTableWidth", m_cbbWidth}};
    const char *texts[] = {"Columns", "Rows", "Width"};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(QLatin1String(texts[i]), m_pnlTableMode);
        label->setObjectName(QLatin1String(boxes[i].first));
        label->setBuddy(boxes[i].second);
        bar->addWidget(label);
        bar->addWidget(boxes[i].second);
        bar->addSpacing(12);
    }
    bar->addStretch(1);

    // Why a damaged table takes no change, above its empty grid.
    m_pnlDamaged = new QWidget(this);
    m_pnlDamaged->setObjectName(QStringLiteral("PnlTableDamaged"));
    auto *warning = new QLabel(m_pnlDamaged);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    warning->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize, iconSize));
    auto *reason = new QLabel(QStringLiteral("This table could not be read; it is kept as stored"), m_pnlDamaged);
    reason->setObjectName(QStringLiteral("LblTableDamaged"));
    reason->setWordWrap(true);
    auto *damagedRow = new QHBoxLayout(m_pnlDamaged);
    damagedRow->setContentsMargins(4, 4, 4, 4);
    damagedRow->addWidget(warning, 0, Qt::AlignTop);
    damagedRow->addWidget(reason, 1);
    m_pnlDamaged->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pnlDamaged);
    layout->addWidget(m_stgTable, 1);
    layout->addWidget(m_pnlTableMode);
    loadTable(ElementData(), true);
}

QComboBox *TablePanel::makeBox(const char *name, const QStringList &items)
{
    auto *box = new QComboBox(m_pnlTableMode);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    // A typed number is the box's text, not a new item of its list.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setMinimumContentsLength(4);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(box, &QComboBox::currentTextChanged, this, [this, box](const QString &text) { onBoxEdited(box, text); });
    return box;
}

QList<QComboBox *> TablePanel::boxes() const
{
    return {m_cbbColumns, m_cbbRows, m_cbbWidth};
}

bool TablePanel::loadTable(const ElementData &record, bool scrollToTop)
{
    const bool read = m_model->load(record);
    setDamaged(record.hasBlob() && !read);
    showBarTexts();
    applyWidth();
    if (scrollToTop) {
        m_stgTable->scrollToTop();
        m_stgTable->horizontalScrollBar()->setValue(0);
    }
    return read;
}

void TablePanel::setDamaged(bool damaged)
{
    if (m_damaged == damaged) {
        return;
    }
    m_damaged = damaged;
    m_model->setReadOnly(damaged);
    m_pnlDamaged->setVisible(damaged);
    for (QComboBox *box : boxes()) {
        box->setEnabled(!damaged);
    }
    for (QHeaderView *header : {m_stgTable->horizontalHeader(), m_stgTable->verticalHeader()}) {
        header->setSectionsMovable(!damaged);
    }
    emit damagedChanged(damaged);
}

void TablePanel::showBarTexts()
{
    const TableElement::GridSettings &settings = m_model->grid().barTexts();
    const std::pair<QComboBox *, const QByteArray *> texts[] = {
        {m_cbbColumns, &settings.columns}, {m_cbbRows, &settings.rows}, {m_cbbWidth, &settings.width}};
    m_quiet = true;
    for (const auto &[box, text] : texts) {
        const QString shown = CodePage::toUnicode(*text);
        if (box->currentText() != shown) {
            box->setCurrentText(shown);
        }
    }
    m_quiet = false;
}

void TablePanel::applyWidth()
{
    m_stgTable->horizontalHeader()->setDefaultSectionSize(m_model->grid().defaultWidth());
}

void TablePanel::updateRowHeight(int fontHeight)
{
    m_stgTable->verticalHeader()->setMinimumSectionSize(1);
    m_stgTable->verticalHeader()->setDefaultSectionSize(std::max(20, fontHeight + 10));
}

void TablePanel::onBoxEdited(QComboBox *box, const QString &text)
{
    if (m_quiet || m_damaged) {
        return;
    }
    bool ok = false;
    QByteArray bytes = CodePage::fromUnicode(text, &ok);
    if (!ok) {
        return;
    }
    // The text is stored as typed (it comes back in the box); the grid takes its number.
    if (box == m_cbbWidth) {
        apply(TableGridModel::Shape::CellsOnly, [&](TableGrid &grid) {
            grid.setWidthText(std::move(bytes));
            return true;
        }, false);
        applyWidth();
        return;
    }
    const TableElement::GridSettings &settings = m_model->grid().barTexts();
    const bool columns = box == m_cbbColumns;
    if ((columns ? settings.columns : settings.rows) == bytes) {
        return;
    }
    apply(TableGridModel::Shape::Resized, [&](TableGrid &grid) {
        columns ? grid.setColumnsText(std::move(bytes)) : grid.setRowsText(std::move(bytes));
        return true;
    }, false);
}

void TablePanel::onSectionMoved(Qt::Orientation orientation, int from, int to)
{
    if (m_damaged) {
        return;
    }
    QHeaderView *header = orientation == Qt::Horizontal ? m_stgTable->horizontalHeader() : m_stgTable->verticalHeader();
    // The header showed the order before this move (the plain one): put it back, then
    // move the cells themselves.
    m_quiet = true;
    header->moveSection(to, from);
    m_quiet = false;
    const bool moved = orientation == Qt::Horizontal ? m_model->moveColumn(from, to) : m_model->moveRow(from, to);
    if (moved) {
        const QModelIndex cell = orientation == Qt::Horizontal ? m_model->index(std::max(0, m_stgTable->currentIndex().row()), to)
                                                               : m_model->index(to, std::max(0, m_stgTable->currentIndex().column()));
        m_stgTable->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
        emit gridChanged();
    }
}

QPoint TablePanel::selectionTopLeft() const
{
    const QItemSelection selection = m_stgTable->selectionModel()->selection();
    if (!selection.isEmpty()) {
        int left = std::numeric_limits<int>::max();
        int top = std::numeric_limits<int>::max();
        for (const QItemSelectionRange &range : selection) {
            left = std::min(left, range.left());
            top = std::min(top, range.top());
        }
        return {std::max(0, left), std::max(0, top)};
    }
    const QModelIndex current = m_stgTable->currentIndex();
    return current.isValid() ? QPoint(current.column(), current.row()) : QPoint(0, 0);
}

bool TablePanel::apply(TableGridModel::Shape shape, const std::function<bool(TableGrid &)> &operation,
                       bool keepCurrent)
{
    // A damaged table changes by "Clear all" alone, which lifts the damage first.
    if (m_damaged) {
        return false;
    }
    const QPoint current(m_stgTable->currentIndex().column(), m_stgTable->currentIndex().row());
    const int across = m_stgTable->horizontalScrollBar()->value();
    const int down = m_stgTable->verticalScrollBar()->value();
    if (!m_model->change(shape, operation)) {
        return false;
    }
    if (shape == TableGridModel::Shape::Resized) {
        // A reset forgets the current cell and may scroll: both come back.
        const TableGrid &grid = m_model->grid();
        if (keepCurrent && current.x() >= 0 && current.y() >= 0) {
            m_stgTable->setCurrentIndex(m_model->index(std::min(current.y(), grid.rowCount() - 1),
                                                       std::min(current.x(), grid.columnCount() - 1)));
        }
        m_stgTable->horizontalScrollBar()->setValue(across);
        m_stgTable->verticalScrollBar()->setValue(down);
    }
    showBarTexts();
    emit gridChanged();
    return true;
}

bool TablePanel::changeGrid(TableGridModel::Shape shape, const std::function<bool(TableGrid &)> &operation)
{
    return apply(shape, operation, true);
}

void TablePanel::replaceGrid(TableGrid grid)
{
    if (m_damaged) {
        return;
    }
    m_model->replaceGrid(std::move(grid));
    showBarTexts();
    applyWidth();
    m_stgTable->scrollToTop();
    m_stgTable->horizontalScrollBar()->setValue(0);
    emit gridChanged();
}

void TablePanel::clearAll()
{
    // Clearing is the user's purpose to give up what could not be read.
    setDamaged(false);
    apply(TableGridModel::Shape::CellsOnly, [](TableGrid &grid) {
        grid.clearAll();
        return true;
    }, true);
}

void TablePanel::clearRow()
{
    const int row = selectionTopLeft().y();
    apply(TableGridModel::Shape::CellsOnly, [row](TableGrid &grid) { return grid.clearRow(row); }, true);
}

void TablePanel::clearColumn()
{
    const int column = selectionTopLeft().x();
    apply(TableGridModel::Shape::CellsOnly, [column](TableGrid &grid) { return grid.clearColumn(column); }, true);
}

void TablePanel::insertRow()
{
    const int row = selectionTopLeft().y();
    apply(TableGridModel::Shape::Resized, [row](TableGrid &grid) { return grid.insertRow(row); }, true);
}

void TablePanel::insertColumn()
{
    const int column = selectionTopLeft().x();
    apply(TableGridModel::Shape::Resized, [column](TableGrid &grid) { return grid.insertColumn(column); }, true);
}

void TablePanel::removeRow()
{
    const int row = selectionTopLeft().y();
    apply(TableGridModel::Shape::Resized, [row](TableGrid &grid) { return grid.removeRow(row); }, true);
}

void TablePanel::removeColumn()
{
    const int column = selectionTopLeft().x();
    apply(TableGridModel::Shape::Resized, [column](TableGrid &grid) { return grid.removeColumn(column); }, true);
}

void TablePanel::showFound(int column, int row, bool columnFirst)
{
    const QModelIndex cell = m_model->index(row, column);
    if (!cell.isValid()) {
        return;
    }
    if (columnFirst) {
        m_stgTable->horizontalScrollBar()->setValue(m_stgTable->horizontalHeader()->visualIndex(column));
    } else {
        m_stgTable->verticalScrollBar()->setValue(m_stgTable->verticalHeader()->visualIndex(row));
    }
    m_stgTable->selectionModel()->select(cell, QItemSelectionModel::ClearAndSelect);
}

void TablePanel::showPopup(const QPoint &pos)
{
    if (!m_popup) {
        return;
    }
    // A right click outside the selection selects the cell it points at, as the
    // commands act on the selection.
    const QModelIndex cell = m_stgTable->indexAt(pos);
    if (cell.isValid() && !m_stgTable->selectionModel()->isSelected(cell)) {
        m_stgTable->setCurrentIndex(cell);
    }
    m_popup->exec(m_stgTable->viewport()->mapToGlobal(pos));
}
