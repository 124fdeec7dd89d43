// The init-file store in both layouts (the first byte picks one): every key the program
// reads is looked up, lists are read to their end.
#include "FuzzInput.h"

#include "shell/InitFileStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    InitFileStore store(data[0] & 1 ? InitFileStore::Xml : InitFileStore::Plain);
    if (!store.parse(fuzzInput(data + 1, size - 1))) {
        return 0;
    }
    for (const char *key : {"LanguageDefault", "LockInterval", "HidePass", "WindowPos", "FrmMain.MenFile"}) {
        store.getText(key, "default");
        store.getInteger(key, 7);
        store.getFlag(key, true);
    }
    for (const char *list : {"RecentDB", "LanguageName"}) {
        store.getText(list);
        for (int i = 0; i < 10000 && !store.getNext(list).isEmpty(); ++i) {
        }
    }
    InitFileStore back(store.isXml() ? InitFileStore::Xml : InitFileStore::Plain);
    back.parse(store.content());
    return 0;
}
