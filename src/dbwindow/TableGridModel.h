#pragma once

#include "document/TableElement.h"
#include "document/class_table.h"

#include <QAbstractTableModel>

// The working copy of a table element's grid, shown by StgTable: the grid's cells (a
// class_table of the grid's size) and the bar's three settings texts. It is what a table
// element's stream reads into and what it is built from again (TableElement), so
// editing the grid means changing this copy and storing it back.
class TableGridModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Grid sizes a typed number is held to: the grid never has fewer than one column or
    // row, and a mistyped huge number must not make a grid that cannot be shown.
    static constexpr int MaxColumns = 16384;
    static constexpr int MaxRows = 1000000;

    explicit TableGridModel(QObject *parent = nullptr);

    // Reads a table element's stream: the settings texts that are not empty replace the
    // current ones, the grid takes the stored cells and the size the settings give. An
    // empty or unreadable stream leaves the settings and shows an empty grid of their size.
    // False when the stream could not be read.
    bool load(QByteArrayView stream);

    const TableElement::GridSettings &settings() const { return m_settings; }
    const class_table &grid() const { return m_grid; }
    int gridColumns() const { return m_columns; }
    int gridRows() const { return m_rows; }
    int defaultWidth() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    TableElement::GridSettings m_settings;
    class_table m_grid;
    int m_columns = 5;
    int m_rows = 5;
};
