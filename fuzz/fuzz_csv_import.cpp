// CSV import: the grid stays within the limits, and what was read is written again.
#include "FuzzInput.h"

#include "document/Table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Table table;
    if (!table.importCsvText(fuzzInput(data, size), data && size > 0 && data[0] == ' ')) {
        return 0;
    }
    fuzzCheck(qint64(table.columnCount()) * table.rowCount() <= Table::MaxCsvCells);
    Table back;
    fuzzCheck(back.readBinary(table.writeBinary()));
    return 0;
}
