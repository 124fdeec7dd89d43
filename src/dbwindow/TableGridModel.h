#pragma once

#include "TableGrid.h"

#include <QAbstractTableModel>

struct ElementData;

// StgTable's model over the working copy of a table element's grid (TableGrid): one
// cell per grid cell, the whole stored text however long. Read-only for now; editing a
// cell means changing the grid and storing it back (TableStorage).
class TableGridModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TableGridModel(QObject *parent = nullptr);

    // LoadTable: the grid from a table element's record (an empty grid of the current
    // size and box texts when it has no readable stream). False when nothing was read.
    bool load(const ElementData &record);
    const TableGrid &grid() const { return m_grid; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    TableGrid m_grid;
};
