#pragma once

#include "Table.h"

#include <QByteArray>
#include <QByteArrayView>

// The content of a table element: a binary table stream whose rows 0 to 2 hold the grid
// settings in column 0 (column count, row count, default column width, as typed) and
// whose rows from 3 on hold the grid.
namespace TableElement {

inline constexpr int SettingsRows = 3;
// The table editor shows a cell of this many bytes or more as empty.
inline constexpr int CellShowLimit = 2048;

struct GridSettings {
    QByteArray columns = "5";
    QByteArray rows = "5";
    QByteArray width = "60";
};

// The number a settings text gives, or fallback when it is not a number.
int settingValue(QByteArrayView text, int fallback);

// Reads a table element's stream in either form. Settings cells that are not empty replace
// those in settings; grid receives the stored cells of rows 3 and below, sized to the
// stream's columns and its rows less 3. False when neither form reads the stream; settings
// and grid are then untouched.
bool read(QByteArrayView stream, GridSettings &settings, Table &grid);

// The binary stream of a grid (every cell of grid's logical size) with its settings. The
// settings rows store only column 0, so their other cells are written as not stored.
QByteArray buildStream(const GridSettings &settings, const Table &grid);

} // namespace TableElement
