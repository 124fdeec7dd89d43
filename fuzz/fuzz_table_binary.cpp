// The binary table stream, and a table element built from it: what reads, writes again
// and reads back alike; the element's grid is written again as stored.
#include "FuzzInput.h"

#include "document/TableElement.h"
#include "document/Table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzInput(data, size);
    Table table;
    if (table.readBinary(input)) {
        const QByteArray written = table.writeBinary();
        Table back;
        fuzzCheck(back.readBinary(written));
        fuzzCheck(back.writeBinary() == written);
    }
    TableElement::GridSettings settings;
    Table grid;
    if (TableElement::read(input, settings, grid)) {
        TableElement::buildStream(settings, grid);
    }
    return 0;
}
