// The binary table stream, and a table element built from it: what reads, writes again
// and reads back alike; the element's grid is written again as stored.
#include "FuzzInput.h"

#include "document/TableElement.h"
#include "document/class_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzInput(data, size);
    class_table table;
    if (table.ReadBinary(input)) {
        const QByteArray written = table.WriteBinary();
        class_table back;
        fuzzCheck(back.ReadBinary(written));
        fuzzCheck(back.WriteBinary() == written);
    }
    TableElement::GridSettings settings;
    class_table grid;
    if (TableElement::read(input, settings, grid)) {
        TableElement::buildStream(settings, grid);
    }
    return 0;
}
