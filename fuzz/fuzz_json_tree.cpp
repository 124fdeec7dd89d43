// The JSON tree reader of vaultbase-cli import: what it builds saves and loads back.
#include "FuzzInput.h"

#include "JsonTreeReader.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "platform/Clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ElementTree tree;
    if (!readTreeJson(fuzzInput(data, size), tree, SystemClock::instance()).isEmpty()) {
        return 0;
    }
    fuzzCheck(tree.heightOf(nullptr) <= ElementTree::MaxDepth);
    ElementTree back;
    fuzzCheck(loadDatabaseStream(back, databaseStream(tree, true)));
    fuzzCheck(back.count() == tree.count());
    return 0;
}
