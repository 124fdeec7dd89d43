#include "FileListModel.h"

#include "FileTypeFilter.h"

void FileListModel::fill(const QString &folder, const QByteArray &fileTypes)
{
    setRows(FolderListing::list(folder, FileTypeFilter(fileTypes)));
}

void FileListModel::setRows(QList<FileRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_order = FileSort::None;
    endResetModel();
}

void FileListModel::sortBy(FileSort order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QList<int> positions = FolderListing::sortedPositions(m_rows, order);
    QList<int> newRowOf(positions.size());
    QList<FileRow> sorted;
    sorted.reserve(positions.size());
    for (int i = 0; i < positions.size(); ++i) {
        newRowOf[positions.at(i)] = i;
        sorted.append(std::move(m_rows[positions.at(i)]));
    }
    // The selection follows its rows.
    for (const QModelIndex &index : persistentIndexList()) {
        changePersistentIndex(index, createIndex(newRowOf.at(index.row()), index.column()));
    }
    m_rows = std::move(sorted);
    m_order = order;
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return {};
    }
    const FileRow &row = m_rows.at(index.row());
    if (role == Qt::ToolTipRole) {
        return row.toolTip();
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case Name: return row.name;
    case Size: return row.sizeText();
    case Type: return row.extension;
    case Time: return row.timeText();
    case Folder: return row.folder;
    case Path: return row.path();
    default: return {};
    }
}
