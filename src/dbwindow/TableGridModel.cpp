#include "TableGridModel.h"

#include "editing/TableStorage.h"
#include "platform/CodePage.h"

#include <utility>
#include <vector>

namespace {

// Moves one line of cells (a row when rows, else a column) from `from` to `to`; the lines
// between shift by one towards from.
bool moveLine(TableGrid &grid, int from, int to, bool rows)
{
    const int lines = rows ? grid.rowCount() : grid.columnCount();
    if (from == to || from < 0 || to < 0 || from >= lines || to >= lines) {
        return false;
    }
    const int span = rows ? grid.columnCount() : grid.rowCount();
    const auto at = [&](int line, int i) -> const QByteArray & {
        return rows ? grid.cell(i, line) : grid.cell(line, i);
    };
    const auto put = [&](int line, int i, QByteArray text) {
        rows ? grid.setCell(i, line, std::move(text)) : grid.setCell(line, i, std::move(text));
    };
    std::vector<QByteArray> moving;
    moving.reserve(size_t(span));
    for (int i = 0; i < span; ++i) {
        moving.push_back(at(from, i));
    }
    const int step = from < to ? 1 : -1;
    for (int line = from; line != to; line += step) {
        for (int i = 0; i < span; ++i) {
            put(line, i, at(line + step, i));
        }
    }
    for (int i = 0; i < span; ++i) {
        put(to, i, std::move(moving[size_t(i)]));
    }
    return true;
}

} // namespace

TableGridModel::TableGridModel(QObject *parent) : QAbstractTableModel(parent)
{
}

bool TableGridModel::load(const ElementData &record)
{
    beginResetModel();
    const bool read = TableStorage::loadTable(m_grid, record);
    endResetModel();
    return read;
}

bool TableGridModel::change(Shape shape, const std::function<bool(TableGrid &)> &operation)
{
    if (shape == Shape::Resized) {
        beginResetModel();
        const bool changed = operation(m_grid);
        endResetModel();
        return changed;
    }
    if (!operation(m_grid)) {
        return false;
    }
    emit dataChanged(index(0, 0), index(m_grid.rowCount() - 1, m_grid.columnCount() - 1), {Qt::DisplayRole});
    return true;
}

void TableGridModel::replaceGrid(TableGrid grid)
{
    beginResetModel();
    m_grid = std::move(grid);
    endResetModel();
}

bool TableGridModel::moveRow(int from, int to)
{
    return change(Shape::CellsOnly, [&](TableGrid &grid) { return moveLine(grid, from, to, true); });
}

bool TableGridModel::moveColumn(int from, int to)
{
    return change(Shape::CellsOnly, [&](TableGrid &grid) { return moveLine(grid, from, to, false); });
}

int TableGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_grid.rowCount();
}

int TableGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_grid.columnCount();
}

QVariant TableGridModel::data(const QModelIndex &index, int role) const
{
    // A cell wider than its column shows whole in its tool tip.
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)) {
        return {};
    }
    const QByteArray &cell = m_grid.cell(index.column(), index.row());
    return cell.isEmpty() ? QString() : CodePage::toUnicode(cell);
}

bool TableGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || m_readOnly) {
        return false;
    }
    bool ok = false;
    QByteArray text = CodePage::fromUnicode(value.toString(), &ok);
    if (!ok) {
        return false;
    }
    if (text == m_grid.cell(index.column(), index.row())) {
        return true;
    }
    if (!m_grid.setCell(index.column(), index.row(), std::move(text))) {
        return false;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit cellEdited(index.column(), index.row());
    return true;
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return m_readOnly ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    Q_UNUSED(orientation);
    if (role != Qt::DisplayRole) {
        return {};
    }
    return section + 1;
}
