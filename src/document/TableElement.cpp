#include "TableElement.h"

#include <utility>

namespace TableElement {

namespace {

// A stored table's stream in either form, read into a fresh table.
bool readEither(QByteArrayView stream, class_table &table)
{
    if (table.ReadBinary(stream)) {
        return true;
    }
    table.Clear(true);
    return table.ReadText(stream);
}

} // namespace

int settingValue(QByteArrayView text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

bool read(QByteArrayView stream, GridSettings &settings, class_table &grid)
{
    class_table stored;
    if (stream.isEmpty() || !readEither(stream, stored)) {
        return false;
    }
    QByteArray *targets[SettingsRows] = {&settings.columns, &settings.rows, &settings.width};
    for (int r = 0; r < SettingsRows; ++r) {
        QByteArray text = stored.GetCell(0, r);
        if (!text.isEmpty()) {
            *targets[r] = std::move(text);
        }
    }
    const int columns = stored.ColumnCount();
    const int rows = std::max(0, stored.RowCount() - SettingsRows);
    grid.Clear();
    if (columns > 0) {
        grid.InitSize(columns, rows);
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (stored.CellLength(c, r + SettingsRows) >= 0) {
                grid.SetCell(c, r, stored.TakeCell(c, r + SettingsRows));
            }
        }
    }
    return true;
}

QByteArray buildStream(const GridSettings &settings, const class_table &grid)
{
    class_table stored;
    stored.InitSize(std::max(1, grid.ColumnCount()), grid.RowCount() + SettingsRows);
    stored.SetCell(0, 0, settings.columns);
    stored.SetCell(0, 1, settings.rows);
    stored.SetCell(0, 2, settings.width);
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            stored.SetCell(c, r + SettingsRows, grid.GetCell(c, r));
        }
    }
    return stored.WriteBinary();
}

} // namespace TableElement
