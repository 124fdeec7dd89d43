#pragma once

#include "FolderListing.h"

#include <QAbstractTableModel>
#include <QByteArray>

// The folder pane's file list: one row per listed file with the name as its caption
// and, in hidden columns, the size, extension, time, folder and full path texts. The
// tool tip of a row is FileRow::toolTip().
class FileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Name, Size, Type, Time, Folder, Path, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Lists the folder's files that the file types accept; the rows are unsorted again.
    void fill(const QString &folder, const QByteArray &fileTypes);
    void setRows(QList<FileRow> rows);
    void clear() { setRows({}); }

    const QList<FileRow> &rows() const { return m_rows; }
    FileSort order() const { return m_order; }
    void sortBy(FileSort order);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<FileRow> m_rows;
    FileSort m_order = FileSort::None;
};
