#include "TableElement.h"

#include <utility>

namespace TableElement {

namespace {

// A stored table's stream in either form, read into a fresh table.
bool readEither(QByteArrayView stream, Table &table)
{
    if (table.readBinary(stream)) {
        return true;
    }
    table.clear(true);
    return table.readText(stream);
}

} // namespace

int settingValue(QByteArrayView text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

bool read(QByteArrayView stream, GridSettings &settings, Table &grid)
{
    Table stored;
    if (stream.isEmpty() || !readEither(stream, stored)) {
        return false;
    }
    QByteArray *targets[SettingsRows] = {&settings.columns, &settings.rows, &settings.width};
    for (int r = 0; r < SettingsRows; ++r) {
        QByteArray text = stored.getCell(0, r);
        if (!text.isEmpty()) {
            *targets[r] = std::move(text);
        }
    }
    const int columns = stored.columnCount();
    const int rows = std::max(0, stored.rowCount() - SettingsRows);
    grid.clear();
    if (columns > 0) {
        grid.initSize(columns, rows);
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (stored.cellLength(c, r + SettingsRows) >= 0) {
                grid.setCell(c, r, stored.takeCell(c, r + SettingsRows));
            }
        }
    }
    return true;
}

QByteArray buildStream(const GridSettings &settings, const Table &grid)
{
    Table stored;
    stored.initSize(std::max(1, grid.columnCount()), grid.rowCount() + SettingsRows);
    stored.setCell(0, 0, settings.columns);
    stored.setCell(0, 1, settings.rows);
    stored.setCell(0, 2, settings.width);
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            stored.setCell(c, r + SettingsRows, grid.getCell(c, r));
        }
    }
    return stored.writeBinary();
}

} // namespace TableElement
