#include "FolderListing.h"

#include "FileTypeFilter.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <numeric>

QString FileRow::sizeText() const
{
    return QString::asprintf("%011.2f", double(size) / 1024.0);
}

QString FileRow::timeText() const
{
    return modified.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString FileRow::toolTip() const
{
    return name + QLatin1Char('\n') + sizeText() + QLatin1String(" KB\n") + extension + QLatin1Char('\n') + timeText();
}

namespace FolderListing {

QList<FileRow> list(const QString &folder, const FileTypeFilter &filter)
{
    QList<FileRow> rows;
    const QFileInfo where(folder);
    if (folder.isEmpty() || !where.isDir()) {
        return rows;
    }
    QString prefix = where.absoluteFilePath();
    if (!prefix.endsWith(QLatin1Char('/'))) {
        prefix += QLatin1Char('/');
    }
    QDirIterator it(prefix, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (!filter.accepts(name)) {
            continue;
        }
        const QFileInfo info = it.fileInfo();
        FileRow row;
        row.name = name;
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0) {
            row.extension = name.mid(dot);
        }
        row.folder = prefix;
        row.size = info.size();
        row.modified = info.lastModified();
        rows.append(std::move(row));
    }
    return rows;
}

QList<int> sortedPositions(const QList<FileRow> &rows, FileSort order)
{
    QList<int> positions(rows.size());
    std::iota(positions.begin(), positions.end(), 0);
    const auto by = [&](auto less) {
        std::stable_sort(positions.begin(), positions.end(),
                         [&](int a, int b) { return less(rows.at(a), rows.at(b)); });
    };
    switch (order) {
    case FileSort::None:
        break;
    case FileSort::NameAscending:
        by([](const FileRow &a, const FileRow &b) { return a.name < b.name; });
        break;
    case FileSort::NameDescending:
        by([](const FileRow &a, const FileRow &b) { return b.name < a.name; });
        break;
    case FileSort::TypeAscending:
        by([](const FileRow &a, const FileRow &b) { return a.extension < b.extension; });
        break;
    case FileSort::TypeDescending:
        by([](const FileRow &a, const FileRow &b) { return b.extension < a.extension; });
        break;
    case FileSort::SizeAscending:
        by([](const FileRow &a, const FileRow &b) { return a.size < b.size; });
        break;
    case FileSort::SizeDescending:
        by([](const FileRow &a, const FileRow &b) { return b.size < a.size; });
        break;
    case FileSort::DateAscending:
        by([](const FileRow &a, const FileRow &b) { return a.modified < b.modified; });
        break;
    case FileSort::DateDescending:
        by([](const FileRow &a, const FileRow &b) { return b.modified < a.modified; });
        break;
    }
    return positions;
}

} // namespace FolderListing
