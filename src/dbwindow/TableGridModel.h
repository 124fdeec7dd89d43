#pragma once

#include "editing/TableGrid.h"

#include <QAbstractTableModel>

#include <functional>

struct ElementData;

// StgTable's model over the working copy of a table element's grid (TableGrid): one
// cell per grid cell, the whole stored text however long. A cell the user edits goes
// into the grid at once (cellEdited); the table commands change the grid through
// change(), which tells the views.
class TableGridModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TableGridModel(QObject *parent = nullptr);

    // loadTable: the grid from a table element's record (an empty grid of the current
    // size and box texts when it has no readable stream). False when nothing was read.
    bool load(const ElementData &record);
    const TableGrid &grid() const { return m_grid; }
    // A read-only grid offers no cell for editing and takes no typed text.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // How a change touches the grid: its cells only, or its size (or everything).
    enum class Shape { CellsOnly, Resized };
    // Runs operation on the grid; the views hear of it when it returns true (the grid
    // changed). operation must not run an event loop.
    bool change(Shape shape, const std::function<bool(TableGrid &)> &operation);
    // The grid becomes grid (an imported one).
    void replaceGrid(TableGrid grid);

    // Moves the grid's row (column) from one place to another, the ones between moving up
    // (left) or down (right) by one. False when nothing moved.
    bool moveRow(int from, int to);
    bool moveColumn(int from, int to);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // A cell typed into: its text in code-page bytes (text the code page cannot carry is
    // refused). An unchanged text changes nothing and reports nothing.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Rows and columns are numbered from 1, as the sort dialog counts them.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The user changed a cell's text.
    void cellEdited(int column, int row);

private:
    TableGrid m_grid;
    bool m_readOnly = false;
};
