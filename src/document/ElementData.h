#pragma once

#include <QByteArray>
#include <QDateTime>

#include <optional>

class Clock;

// Kind codes of elements, stored in database files. Code 1 is no kind: it is the selected
// code of folders (the open-folder icon).
enum ElementKind : qint32 {
    KindFolder = 0,
    KindOpenFolder = 1,
    KindEntry = 2,
    KindKey = 3,
    KindFile = 4,
    KindTable = 5,
};

// The selected code that goes with a kind code: 1 for folders, the kind code otherwise.
qint32 selectedCodeFor(qint32 kind);

// Local time as the program writes it: "yyyy-MM-dd HH:mm:ss".
QByteArray timeText(const QDateTime &time);

// The content of one element. Texts are the code page's bytes, RTF or plain.
struct ElementData {
    QByteArray Content;  // folder, entry, file or table text; user name of keys
    QByteArray Detail;   // password of keys; file name of files
    QByteArray Comment;  // comment of keys
    // The attached file's bytes, or a table element's binary table stream; none when the
    // element has no attachment (or a table was never edited).
    std::optional<QByteArray> Blob;
    qint32 BlobSize = 0; // Blob's length; 0 without a Blob
    QByteArray Created;  // time text
    QByteArray Modified; // time text

    // Empty texts, no Blob, Created = Modified = now.
    static ElementData fresh(const Clock &clock);

    bool hasBlob() const { return Blob.has_value(); }
    void setBlob(QByteArray bytes);
    void clearBlob();
    // Sets Modified to now, as every edit of a name or field does.
    void touch(const Clock &clock);

    bool operator==(const ElementData &other) const = default;
};
