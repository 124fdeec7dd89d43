#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// "Languages.ini" in the program folder: an optional "LanguageDefault" naming the
// language used when the settings name none, then "LanguageName"/"LanguageFile" pairs
// in file order, up to the first pair whose name or file is empty or missing.
struct LanguageList
{
    struct Entry
    {
        QByteArray name; // shown in the Language menu
        QByteArray file; // relative to the program folder
        bool operator==(const Entry &) const = default;
    };

    QByteArray defaultName;
    QList<Entry> entries;

    // A missing or unreadable file gives an empty list.
    static LanguageList load(const QString &path);

    // The list provides its own "English": the built-in item is hidden.
    bool hidesBuiltInEnglish() const;

    // The language to apply: the wanted name, or "LanguageDefault" when that is empty.
    QByteArray wanted(const QByteArray &name) const;

    // The entry of that name (the last one when listed twice, as each is applied in
    // turn), or -1.
    qsizetype indexOf(const QByteArray &name) const;
};
