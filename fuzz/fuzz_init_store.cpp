// The init-file store in both layouts: every input is parsed as each, every key the
// program reads is looked up, and lists are read to their end.
#include "FuzzInput.h"

#include "shell/InitFileStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzInput(data, size);
    for (const quint8 layout : {InitFileStore::Plain, InitFileStore::Xml}) {
        InitFileStore store(layout);
        if (!store.parse(input)) {
            continue;
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
        InitFileStore back(layout);
        back.parse(store.content());
    }
    return 0;
}
