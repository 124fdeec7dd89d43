#include "TableGridModel.h"

#include "platform/CodePage.h"

TableGridModel::TableGridModel(QObject *parent) : QAbstractTableModel(parent)
{
}

bool TableGridModel::load(QByteArrayView stream)
{
    beginResetModel();
    class_table grid;
    const bool read = !stream.isEmpty() && TableElement::read(stream, m_settings, grid);
    m_grid = std::move(grid);
    m_columns = std::clamp(TableElement::settingValue(m_settings.columns, 5), 1, MaxColumns);
    m_rows = std::clamp(TableElement::settingValue(m_settings.rows, 5), 1, MaxRows);
    endResetModel();
    return read;
}

int TableGridModel::defaultWidth() const
{
    return std::clamp(TableElement::settingValue(m_settings.width, 60), 1, 4096);
}

int TableGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TableGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant TableGridModel::data(const QModelIndex &index, int role) const
{
    // A cell wider than its column shows whole in its tool tip.
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)) {
        return {};
    }
    // The whole stored cell is shown, however long: nothing is stored back from here.
    const QByteArrayView cell = m_grid.CellView(index.column(), index.row());
    return cell.isEmpty() ? QString() : CodePage::toUnicode(cell.toByteArray());
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
