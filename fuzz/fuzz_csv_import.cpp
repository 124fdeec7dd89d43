// CSV import: the grid stays within the limits, and what was read is written again.
#include "FuzzInput.h"

#include "document/class_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    class_table table;
    if (!table.ImportCsvText(fuzzInput(data, size), data && size > 0 && data[0] == ' ')) {
        return 0;
    }
    fuzzCheck(qint64(table.ColumnCount()) * table.RowCount() <= class_table::MaxCsvCells);
    class_table back;
    fuzzCheck(back.ReadBinary(table.WriteBinary()));
    return 0;
}
