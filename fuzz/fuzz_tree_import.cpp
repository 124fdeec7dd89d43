// The tree import from a decrypted database (either stream form). What loads saves, and a
// second load and save of that writes the same bytes again: a damaged tree loads the same
// way every time.
#include "FuzzInput.h"

#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzInput(data, size);
    ElementTree tree;
    if (!loadDatabaseStream(tree, input)) {
        return 0;
    }
    fuzzCheck(tree.heightOf(nullptr) <= ElementTree::MaxDepth);
    const QByteArray saved = databaseStream(tree, true);
    ElementTree again;
    fuzzCheck(loadDatabaseStream(again, saved));
    fuzzCheck(databaseStream(again, true) == saved);
    return 0;
}
