#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class ElementTree;
class LanguageStore;

// What the properties dialog shows of a database, without the dialog.

// Elements by kind; any kind code other than entry, key, file and table counts as a folder.
struct ElementCounts {
    int all = 0;
    int folders = 0;
    int keys = 0;
    int entries = 0;
    int files = 0;
    int tables = 0;

    bool operator==(const ElementCounts &) const = default;
};
ElementCounts countElements(const ElementTree &tree);

// "%.2f KB (%d bytes)" with a decimal point whatever the locale: 1536 gives
// "1.50 KB (1536 bytes)".
QString fileSizeText(qint64 bytes);
// "yyyy-MM-dd HH:mm:ss".
QString fileDateText(const QDateTime &time);

// The file's name without folder, its full path, size and last-write date. Size and date
// are empty for a file that does not exist or cannot be opened; all four for a database
// that was never saved (empty path).
struct FileFacts {
    QString fileName;
    QString path;
    QString size;
    QString date;
};
FileFacts fileFactsOf(const QString &path);

// One line of the summary: the label's caption and the value.
struct PropertiesLine {
    QString caption;
    QString value;
};

// The summary the "Copy" button puts on the clipboard, line by line: file name, folder
// (the full path), file size, file date, the checksum (only when there is one; its caption
// is the checksum combo's item, such as "SHA-2 (256)"), then all items, entry, folder,
// file, key and table items. Captions are the labels' texts in the current language.
QList<PropertiesLine> propertiesSummaryLines(const FileFacts &file, const QString &checksumItem,
                                             const QString &checksum, const ElementCounts &counts,
                                             const LanguageStore &language);

// The lines as copied: caption, " - ", value and CR LF each.
QString propertiesSummaryText(const QList<PropertiesLine> &lines);
