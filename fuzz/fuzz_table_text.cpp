// The text table stream: what reads is written again in both forms, each of which reads.
#include "FuzzInput.h"

#include "document/Table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzInput(data, size);
    Table table;
    if (!table.readText(input)) {
        return 0;
    }
    Table back;
    fuzzCheck(back.readBinary(table.writeBinary()));
    if (table.textFormCanCarry()) {
        Table text;
        fuzzCheck(text.readText(table.writeText()));
    }
    return 0;
}
