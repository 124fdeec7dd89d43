#include "TableGridModel.h"

#include "TableStorage.h"
#include "platform/CodePage.h"

TableGridModel::TableGridModel(QObject *parent) : QAbstractTableModel(parent)
{
}

bool TableGridModel::load(const ElementData &record)
{
    beginResetModel();
    const bool read = TableStorage::LoadTable(m_grid, record);
    endResetModel();
    return read;
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

Qt::ItemFlags TableGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
