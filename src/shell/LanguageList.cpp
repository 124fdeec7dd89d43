#include "LanguageList.h"

#include "InitFileStore.h"

LanguageList LanguageList::load(const QString &path)
{
    LanguageList list;
    InitFileStore store(InitFileStore::Plain);
    if (!store.load(path)) {
        return list;
    }
    // All searches share one position: the pairs are read after the default entry, in
    // file order.
    list.defaultName = store.getText("LanguageDefault");
    for (;;) {
        Entry entry;
        entry.name = store.getNext("LanguageName");
        if (entry.name.isEmpty()) {
            break;
        }
        entry.file = store.getNext("LanguageFile");
        if (entry.file.isEmpty()) {
            break;
        }
        list.entries.append(entry);
    }
    return list;
}

bool LanguageList::hidesBuiltInEnglish() const
{
    for (const Entry &entry : entries) {
        if (entry.name == "English") {
            return true;
        }
    }
    return false;
}

QByteArray LanguageList::wanted(const QByteArray &name) const
{
    return name.isEmpty() ? defaultName : name;
}

qsizetype LanguageList::indexOf(const QByteArray &name) const
{
    if (name.isEmpty()) {
        return -1;
    }
    for (qsizetype i = entries.size() - 1; i >= 0; --i) {
        if (entries.at(i).name == name) {
            return i;
        }
    }
    return -1;
}
