#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class FileTypeFilter;

// One file of the folder pane's list.
struct FileRow
{
    QString name;      // without folder
    QString extension; // from the last ".", dot included; empty without one
    QString folder;    // absolute, ends in "/"
    qint64 size = 0;
    QDateTime modified;

    QString path() const { return folder + name; }
    // The size in KB zero-padded to eleven characters with two decimals ("00000001.50"
    // for 1536 bytes), and the local time of the last change ("2024-05-01 13:45:00"):
    // texts whose order is that of the numbers and times they show.
    QString sizeText() const;
    QString timeText() const;
    // Name, size + " KB", extension and time, one per line.
    QString toolTip() const;
};

// The orders of the pane's "Sort by" menu.
enum class FileSort {
    None,
    NameAscending,
    NameDescending,
    TypeAscending,
    TypeDescending,
    SizeAscending,
    SizeDescending,
    DateAscending,
    DateDescending,
};

namespace FolderListing {

// The files directly in the folder that the filter accepts, in the order the folder
// gives them; hidden files are left out. A folder that is missing or cannot be read
// gives an empty list, never an error.
QList<FileRow> list(const QString &folder, const FileTypeFilter &filter);

// The rows' positions in the order, stably: names and extensions compared by
// character code, with regard to case; sizes and times by their numbers (whose texts
// sort alike). Entry i is the position in `rows` of the i-th row in that order.
QList<int> sortedPositions(const QList<FileRow> &rows, FileSort order);

} // namespace FolderListing
