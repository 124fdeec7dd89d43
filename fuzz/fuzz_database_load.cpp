// The whole-file load: the bytes of a database file decrypted with the password of the
// sample databases it starts from (tests/data/document), then read.
#include "FuzzInput.h"

#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ElementTree tree;
    loadDatabaseBuffer(tree, fuzzInput(data, size), "sample");
    return 0;
}
