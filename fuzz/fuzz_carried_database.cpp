// The finder of a database carried at the end of another file (attached file, portable
// copy of this program or of the Windows program): what it finds lies inside the file.
#include "FuzzInput.h"

#include "document/AttachedDatabase.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input = fuzzInput(data, size);
    QBuffer file(&input);
    file.open(QIODevice::ReadOnly);
    if (const std::optional<CarriedDatabase> found = findAttachedDatabase(file)) {
        fuzzCheck(found->databaseOffset >= 0 && found->databaseOffset + found->ciphertext.size() <= input.size());
        fuzzCheck(found->programLength >= 0 && found->programLength <= found->databaseOffset);
    }
    return 0;
}
