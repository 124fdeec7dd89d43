#include "class_treeview.h"

#include "ElementTree.h"
#include "StreamCell.h"
#include "platform/SecureMemory.h"

#include <array>
#include <new>
#include <utility>

struct class_treeview::PendingRename {
    bool pending = false;
    QByteArray oldPrefix;
    QByteArray newPrefix;

    // Replaces the first occurrence of the old prefix.
    void applyTo(QByteArray &path) const
    {
        const qsizetype at = pending ? path.indexOf(oldPrefix) : -1;
        if (at >= 0) {
            path.replace(at, oldPrefix.size(), newPrefix);
        }
    }
};

struct class_treeview::FolderCache {
    QByteArray folders;
    ElementNode *start = nullptr;
    ElementNode *reached = nullptr;
};

struct class_treeview::RowData {
    QByteArray path;
    ElementData data;
    qint32 kind = KindFolder;
    qint32 selected = KindFolder;
};

namespace {

constexpr QByteArrayView kSeparator("<>"); // class_treeview::PathSeparator

ElementNode *placeholderFolder(ElementTree &tree, ElementNode *parent, QByteArrayView name)
{
    return tree.insertElement(parent, name.toByteArray(), KindFolder, KindOpenFolder, ElementData());
}

} // namespace

namespace {

// The count in column 7 only says that a Blob is there: the stream cell's own length
// decides its size, so a count that disagrees can neither cut the bytes nor claim more
// than were decoded. A column 6 that is no stream cell gives no Blob.
void setBlobFrom(ElementData &data, QByteArrayView streamCell, QByteArrayView count)
{
    if (class_table::LeadingInt(count) <= 0) {
        return;
    }
    if (std::optional<QByteArray> bytes = StreamCell::decode(streamCell)) {
        data.setBlob(std::move(*bytes));
    }
}

} // namespace

class_treeview::RowData class_treeview::takeRow(int row)
{
    RowData data;
    data.path = TakeCell(ColPath, row);
    data.data.Content = TakeCell(ColContent, row);
    data.data.Detail = TakeCell(ColDetail, row);
    data.data.Comment = TakeCell(ColComment, row);
    data.data.Created = TakeCell(ColCreated, row);
    data.data.Modified = TakeCell(ColModified, row);
    data.kind = GetCellInt(ColKind, row);
    data.selected = GetCellInt(ColSelected, row);
    setBlobFrom(data.data, CellView(ColBlob, row), CellView(ColBlobSize, row));
    // The hex text of an attachment is plaintext too: wiped, not just freed.
    QByteArray hex = TakeCell(ColBlob, row);
    SecureMemory::wipe(hex);
    return data;
}

template<typename TakeRow>
bool class_treeview::importRows(ElementTree &tree, ElementNode *anchor, bool singleRow, int rows, TakeRow &&take)
{
    m_lastTopNode = nullptr;
    tree.setSorted(false);
    PendingRename rename;
    FolderCache cache;
    try {
        for (int r = rows - 1; r >= 0; --r) {
            RowData row = take(r);
            if (row.path.contains(kSeparator)) {
                importNested(tree, anchor, row, r == rows - 1, rename, cache);
            } else {
                // Only rows in a run below the same folders may share the folder cache.
                cache = FolderCache();
                importTop(tree, anchor, singleRow, row, rename);
            }
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

bool class_treeview::ImportTree(ElementTree &tree, ElementNode *anchor, bool singleRow)
{
    return importRows(tree, anchor, singleRow, RowCount(), [this](int r) { return takeRow(r); });
}

bool class_treeview::ImportBinaryStream(ElementTree &tree, QByteArrayView stream, ElementNode *anchor, bool singleRow)
{
    qint32 cols = 0;
    qint32 rows = 0;
    if (!ReadBinaryHeader(stream, cols, rows)) {
        return false;
    }
    // A table without columns has no rows either (its size cannot be set).
    if (cols == 0) {
        rows = 0;
    }
    // The whole stream is checked, and where each row starts noted, before the tree
    // changes: rows are imported last to first.
    std::vector<qsizetype> rowStarts;
    try {
        rowStarts.reserve(size_t(rows));
        qsizetype pos = BinaryHeaderSize;
        for (qint32 r = 0; r < rows; ++r) {
            rowStarts.push_back(pos);
            for (qint32 c = 0; c < cols; ++c) {
                QByteArrayView cell;
                pos = NextBinaryCell(stream, pos, cell);
                if (pos < 0) {
                    return false;
                }
            }
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
    const int used = std::min<int>(cols, TreeColumns);
    return importRows(tree, anchor, singleRow, rows, [&](int r) {
        std::array<QByteArrayView, TreeColumns> cells{};
        qsizetype pos = rowStarts[size_t(r)];
        for (int c = 0; c < used; ++c) {
            pos = NextBinaryCell(stream, pos, cells[size_t(c)]);
        }
        RowData row;
        // Viewed in place: the path is only read, and names taken from it are copied.
        row.path = QByteArray::fromRawData(cells[ColPath].data(), cells[ColPath].size());
        row.data.Content = cells[ColContent].toByteArray();
        row.data.Detail = cells[ColDetail].toByteArray();
        row.data.Comment = cells[ColComment].toByteArray();
        row.data.Created = cells[ColCreated].toByteArray();
        row.data.Modified = cells[ColModified].toByteArray();
        row.kind = LeadingInt(cells[ColKind]);
        row.selected = LeadingInt(cells[ColSelected]);
        setBlobFrom(row.data, cells[ColBlob], cells[ColBlobSize]);
        return row;
    });
}

void class_treeview::importNested(ElementTree &tree, ElementNode *anchor, RowData &row, bool firstRow,
                                  PendingRename &rename, FolderCache &cache)
{
    rename.applyTo(row.path);
    const QByteArrayView path(row.path);
    const qsizetype finalSeparator = path.lastIndexOf(kSeparator);
    const qsizetype lastStart = path.first(finalSeparator).lastIndexOf(kSeparator);
    // The folders before the element's own name; empty for a path of one component.
    const QByteArrayView folders = path.first(lastStart < 0 ? 0 : lastStart + kSeparator.size());
    ElementNode *start = anchor ? anchor : tree.firstRoot();
    ElementNode *reached = nullptr;
    qsizetype pos = 0;
    bool firstComponent = true;
    // Rows come in sibling runs: the folders of the row before are those of this one.
    const bool cached =
        !folders.isEmpty() && cache.reached && cache.start == start && QByteArrayView(cache.folders) == folders;
    if (cached) {
        reached = cache.reached;
        pos = folders.size();
        firstComponent = false;
    }
    for (;; firstComponent = false) {
        const qsizetype separator = path.indexOf(kSeparator, pos);
        const QByteArrayView name = path.sliced(pos, separator - pos);
        pos = separator + kSeparator.size();
        if (separator == finalSeparator) {
            // The element itself; a path of one component ("X<>") puts it at the level of
            // the starting node, where a first component would be looked for.
            ElementNode *parent = firstComponent ? (start ? start->parent() : nullptr) : reached;
            ElementNode *node = firstComponent ? tree.findSibling(start, name) : tree.findChild(reached, name);
            if (node) {
                tree.replaceData(node, std::move(row.data));
            } else {
                node = tree.insertElement(parent, name.toByteArray(), row.kind, row.selected, std::move(row.data));
            }
            tree.setCodes(node, row.kind, row.selected);
            // Adding the element below the folders cannot change how they are found.
            if (firstComponent || (firstRow && rename.pending)) {
                cache = FolderCache();
            } else if (!cached) {
                cache = FolderCache{folders.toByteArray(), start, reached};
            }
            return;
        }
        if (!firstComponent) {
            ElementNode *next = tree.findChild(reached, name);
            reached = next ? next : placeholderFolder(tree, reached, name);
            continue;
        }
        if (!start) {
            // An empty tree: the first folder becomes its first top-level element.
            reached = placeholderFolder(tree, nullptr, name);
            start = reached;
            continue;
        }
        ElementNode *found = tree.findSibling(start, name);
        if (found && firstRow) {
            // The import would merge into an existing folder: it goes to a new folder
            // instead, and every later path follows the new name.
            const QByteArray newName = tree.MakeUniqueName(found, false);
            rename.pending = true;
            rename.oldPrefix = found->name() + kSeparator.toByteArray();
            rename.newPrefix = newName + kSeparator.toByteArray();
            found = nullptr;
            reached = placeholderFolder(tree, start->parent(), newName);
            continue;
        }
        reached = found ? found : placeholderFolder(tree, start->parent(), name);
    }
}

void class_treeview::importTop(ElementTree &tree, ElementNode *anchor, bool singleRow, RowData &row,
                               const PendingRename &rename)
{
    QByteArray name = std::move(row.path);
    if (rename.pending) {
        name += kSeparator.toByteArray();
        rename.applyTo(name);
        name.chop(kSeparator.size());
    }
    ElementNode *start = anchor ? anchor : tree.firstRoot();
    ElementNode *found = tree.findSibling(start, name, row.kind);
    if (found && !singleRow) {
        tree.replaceData(found, std::move(row.data));
        return;
    }
    // The name is copied: a path read in place views the stream it came from.
    ElementNode *node = tree.insertElement(anchor, QByteArray(name.constData(), name.size()), row.kind, row.selected,
                                           std::move(row.data));
    if (anchor || singleRow) {
        m_lastTopNode = node;
    }
}
