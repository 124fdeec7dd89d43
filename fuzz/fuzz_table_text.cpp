// The text table stream: what reads is written again in both forms, each of which reads.
#include "FuzzInput.h"

#include "document/class_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzInput(data, size);
    class_table table;
    if (!table.ReadText(input)) {
        return 0;
    }
    class_table back;
    fuzzCheck(back.ReadBinary(table.WriteBinary()));
    if (table.TextFormCanCarry()) {
        class_table text;
        fuzzCheck(text.ReadText(table.WriteText()));
    }
    return 0;
}
