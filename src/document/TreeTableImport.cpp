#include "TreeTable.h"

#include "ElementTree.h"
#include "StreamCell.h"
#include "platform/SecureMemory.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_set>
#include <utility>
#include <vector>

struct TreeTable::PendingRename {
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

struct TreeTable::FolderCache {
    QByteArray folders;
    ElementNode *start = nullptr;
    ElementNode *reached = nullptr;
};

// What one import remembers from row to row.
struct TreeTable::ImportState {
    PendingRename rename;
    FolderCache cache;
    // Folders made at the starting level for the paths below a name that no row of that
    // level has filled yet.
    std::unordered_set<const ElementNode *> unfilled;
};

// One row on its way into the tree: its path and its element, made detached and named
// after the path's last component.
struct TreeTable::RowData {
    QByteArray path;
    std::unique_ptr<ElementNode> node;
};

namespace {

constexpr QByteArrayView kSeparator("<>"); // TreeTable::PathSeparator

// The first separator in text at or after from, or -1. Its first byte is rare in names,
// so memchr finds the few candidates.
qsizetype findSeparator(QByteArrayView text, qsizetype from)
{
    if (text.size() - from < 2) {
        return -1;
    }
    const char *begin = text.data();
    const char *last = begin + text.size() - 1; // a separator starts before the last byte
    for (const char *p = begin + from; p < last; ++p) {
        p = static_cast<const char *>(std::memchr(p, '<', size_t(last - p)));
        if (!p) {
            return -1;
        }
        if (p[1] == '>') {
            return p - begin;
        }
    }
    return -1;
}

// The last separator in text, or -1. A path ends in one, so the search is short.
qsizetype findLastSeparator(QByteArrayView text)
{
    for (qsizetype i = text.size() - 2; i >= 0; --i) {
        if (text[i] == '<' && text[i + 1] == '>') {
            return i;
        }
    }
    return -1;
}

// The number of levels a path names: 1 for a top-level path, else its separators. Counts
// no further than one beyond the most a tree may have.
int pathDepth(QByteArrayView path)
{
    int separators = 0;
    for (qsizetype at = findSeparator(path, 0); at >= 0 && separators <= ElementTree::MaxDepth;
         at = findSeparator(path, at + kSeparator.size())) {
        ++separators;
    }
    return std::max(1, separators);
}

// The element's own name: a nested path's component before its last separator, a
// top-level path whole.
QByteArrayView elementName(QByteArrayView path)
{
    const qsizetype finalSeparator = findLastSeparator(path);
    if (finalSeparator < 0) {
        return path;
    }
    const qsizetype lastStart = findLastSeparator(path.first(finalSeparator));
    const qsizetype start = lastStart < 0 ? 0 : lastStart + kSeparator.size();
    return path.sliced(start, finalSeparator - start);
}

ElementNode *placeholderFolder(ElementTree &tree, ElementNode *parent, QByteArrayView name)
{
    return tree.insertElement(parent, name.toByteArray(), KindFolder, KindOpenFolder, ElementData());
}

// The count in column 7 only says that a Blob is there: the stream cell's own length
// decides its size, so a count that disagrees can neither cut the bytes nor claim more
// than were decoded. A column 6 that is no stream cell gives no Blob.
// The row's element under the name its path gives it now: a pending rename can change
// the name the element was made with.
void renameDetached(std::unique_ptr<ElementNode> &node, QByteArrayView name)
{
    if (QByteArrayView(node->name()) != name) {
        node = ElementTree::makeDetached(name.toByteArray(), node->kind(), node->selectedCode(),
                                         std::move(node->data()));
    }
}

void setBlobFrom(ElementData &data, QByteArrayView streamCell, QByteArrayView count)
{
    if (Table::leadingInt(count) <= 0) {
        return;
    }
    // A Blob of no bytes would be saved with the count 0, which says there is none: it is
    // read as none now, so that it loads the same once saved.
    std::optional<QByteArray> bytes = StreamCell::decode(streamCell);
    if (bytes && !bytes->isEmpty()) {
        data.setBlob(std::move(*bytes));
    }
}

} // namespace

// The rows of a binary table stream, read where they lie. The whole stream is checked
// before the tree changes (rows are imported last to first, and a damaged stream changes
// nothing), and that first pass already makes each row's element while its cells are
// fresh in the cache, or while the rest of a stream still being decrypted is not there.
class TreeTable::StreamRows
{
public:
    using Cells = std::array<QByteArrayView, TreeColumns>;

    StreamRows(QByteArrayView stream, const Readable *readable)
        : m_stream(stream), m_readable(readable), m_available(readable ? 0 : stream.size())
    {
    }

    bool read()
    {
        need(BinaryHeaderSize);
        if (!readBinaryHeader(m_stream, m_columns, m_rows)) {
            return false;
        }
        // A table without columns has no rows either (its size cannot be set).
        if (m_columns == 0) {
            m_rows = 0;
        }
        // Rows of every tree column take at least 40 bytes each, so making their elements
        // at once costs memory in proportion to the stream. A stream of fewer columns could
        // claim ten times as many rows: only where each starts is noted then.
        m_prepare = m_columns >= TreeColumns;
        if (m_prepare) {
            m_prepared.reserve(size_t(m_rows));
        } else {
            m_starts.reserve(size_t(m_rows));
        }
        qsizetype pos = BinaryHeaderSize;
        for (qint32 r = 0; r < m_rows; ++r) {
            const qsizetype start = pos;
            Cells cells{};
            for (qint32 c = 0; c < m_columns; ++c) {
                QByteArrayView cell;
                pos = nextCell(pos, cell);
                if (pos < 0) {
                    return false;
                }
                if (c < TreeColumns) {
                    cells[size_t(c)] = cell;
                }
            }
            if (pathDepth(cells[ColPath]) > ElementTree::MaxDepth) {
                m_tooDeep = true;
                return false;
            }
            if (m_prepare) {
                m_prepared.push_back(makeRow(cells));
            } else {
                m_starts.push_back(start);
            }
        }
        return true;
    }

    int count() const { return m_rows; }
    bool tooDeep() const { return m_tooDeep; }

    RowData take(int row)
    {
        if (m_prepare) {
            // Taken last to first, long after they were made: the rows to come, their
            // elements and the paths they view are fetched ahead.
            if (row >= 4) {
                const RowData &later = m_prepared[size_t(row - 4)];
                later.node->prefetch();
                __builtin_prefetch(later.path.constData());
                __builtin_prefetch(later.path.constData() + later.path.size());
            }
            if (row >= 2) {
                m_prepared[size_t(row - 2)].node->prefetchTexts();
            }
            return std::move(m_prepared[size_t(row)]);
        }
        Cells cells{};
        qsizetype pos = m_starts[size_t(row)];
        for (int c = 0; c < m_columns && c < TreeColumns; ++c) {
            pos = nextBinaryCell(m_stream, pos, cells[size_t(c)]);
        }
        return makeRow(cells);
    }

private:
    void need(qsizetype end)
    {
        if (end > m_available && m_readable) {
            m_available = (*m_readable)(std::min(end, m_stream.size()));
        }
    }

    // nextBinaryCell once the cell's length and text may be read.
    qsizetype nextCell(qsizetype pos, QByteArrayView &cell)
    {
        need(pos + 4);
        if (m_stream.size() - pos >= 4) {
            const qint32 length = qFromLittleEndian<qint32>(m_stream.data() + pos);
            if (length > 0) {
                need(pos + 4 + qsizetype(length) + 1);
            }
        }
        return nextBinaryCell(m_stream, pos, cell);
    }

    static RowData makeRow(const Cells &cells)
    {
        ElementData data;
        data.Content = cells[ColContent].toByteArray();
        data.Detail = cells[ColDetail].toByteArray();
        data.Comment = cells[ColComment].toByteArray();
        data.Created = cells[ColCreated].toByteArray();
        data.Modified = cells[ColModified].toByteArray();
        setBlobFrom(data, cells[ColBlob], cells[ColBlobSize]);
        RowData row;
        row.node = ElementTree::makeDetached(elementName(cells[ColPath]).toByteArray(), leadingInt(cells[ColKind]),
                                             leadingInt(cells[ColSelected]), std::move(data));
        // Viewed in place: the path is only read, and names taken from it are copied.
        row.path = QByteArray::fromRawData(cells[ColPath].data(), cells[ColPath].size());
        return row;
    }

    QByteArrayView m_stream;
    const Readable *m_readable;
    qsizetype m_available;
    qint32 m_columns = 0;
    qint32 m_rows = 0;
    bool m_prepare = false;
    bool m_tooDeep = false;
    std::vector<RowData> m_prepared;
    std::vector<qsizetype> m_starts;
};

TreeTable::RowData TreeTable::takeRow(int row)
{
    ElementData data;
    data.Content = takeCell(ColContent, row);
    data.Detail = takeCell(ColDetail, row);
    data.Comment = takeCell(ColComment, row);
    data.Created = takeCell(ColCreated, row);
    data.Modified = takeCell(ColModified, row);
    setBlobFrom(data, cellView(ColBlob, row), cellView(ColBlobSize, row));
    // The hex text of an attachment is plaintext too: wiped, not just freed.
    QByteArray hex = takeCell(ColBlob, row);
    SecureMemory::wipe(hex);
    RowData taken;
    taken.path = takeCell(ColPath, row);
    taken.node = ElementTree::makeDetached(elementName(taken.path).toByteArray(), getCellInt(ColKind, row),
                                           getCellInt(ColSelected, row), std::move(data));
    return taken;
}

template<typename TakeRow>
bool TreeTable::importRows(ElementTree &tree, ElementNode *anchor, bool singleRow, int rows, TakeRow &&take)
{
    m_lastTopNode = nullptr;
    tree.setSorted(false);
    ImportState state;
    try {
        for (int r = rows - 1; r >= 0; --r) {
            RowData row = take(r);
            const qsizetype last = findLastSeparator(row.path);
            if (last >= 0 && findSeparator(row.path, 0) < last) {
                importNested(tree, anchor, row, r == rows - 1, state);
            } else {
                // A path of one name and its separator ("X<>", anything after the separator
                // aside) names a top-level element, as the path "X" does: it is imported as
                // such, so that it loads the same once it is saved as "X".
                if (last >= 0) {
                    row.path.truncate(last);
                }
                // Only rows in a run below the same folders may share the folder cache.
                state.cache = FolderCache();
                importTop(tree, anchor, singleRow, row, state);
            }
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

bool TreeTable::importTree(ElementTree &tree, ElementNode *anchor, bool singleRow)
{
    // Every path is measured before the tree changes.
    m_tooDeep = false;
    for (int r = 0; r < rowCount(); ++r) {
        if (pathDepth(cellView(ColPath, r)) > ElementTree::MaxDepth) {
            m_tooDeep = true;
            return false;
        }
    }
    return importRows(tree, anchor, singleRow, rowCount(), [this](int r) { return takeRow(r); });
}

bool TreeTable::importBinaryStream(ElementTree &tree, QByteArrayView stream, ElementNode *anchor, bool singleRow)
{
    return importBinaryStream(tree, stream, anchor, singleRow, Readable());
}

bool TreeTable::importBinaryStream(ElementTree &tree, QByteArrayView stream, ElementNode *anchor, bool singleRow,
                                        const Readable &readable)
{
    StreamRows rows(stream, readable ? &readable : nullptr);
    m_tooDeep = false;
    try {
        if (!rows.read()) {
            m_tooDeep = rows.tooDeep();
            return false;
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
    return importRows(tree, anchor, singleRow, rows.count(), [&rows](int r) { return rows.take(r); });
}

void TreeTable::importNested(ElementTree &tree, ElementNode *anchor, RowData &row, bool firstRow,
                                  ImportState &state)
{
    PendingRename &rename = state.rename;
    FolderCache &cache = state.cache;
    rename.applyTo(row.path);
    const QByteArrayView path(row.path);
    const qsizetype finalSeparator = findLastSeparator(path);
    const qsizetype lastStart = findLastSeparator(path.first(finalSeparator));
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
        const qsizetype separator = findSeparator(path, pos);
        const QByteArrayView name = path.sliced(pos, separator - pos);
        pos = separator + kSeparator.size();
        if (separator == finalSeparator) {
            // The element itself; a path of one component ("X<>") puts it at the level of
            // the starting node, where a first component would be looked for.
            ElementNode *parent = firstComponent ? (start ? start->parent() : nullptr) : reached;
            ElementNode *node = firstComponent ? tree.findSibling(start, name) : tree.findChild(reached, name);
            const qint32 kind = row.node->kind();
            const qint32 selected = row.node->selectedCode();
            if (node) {
                tree.replaceData(node, std::move(row.node->data()));
                state.unfilled.erase(node);
            } else {
                if (rename.pending) {
                    renameDetached(row.node, name);
                }
                node = tree.insertDetached(parent, std::move(row.node));
            }
            tree.setCodes(node, kind, selected);
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
            state.unfilled.insert(reached);
            start = reached;
            continue;
        }
        ElementNode *found = tree.findSibling(start, name);
        if (found && firstRow) {
            // The import would merge into an existing folder: it goes to a new folder
            // instead, and every later path follows the new name.
            const QByteArray newName = tree.makeUniqueName(found, false);
            rename.pending = true;
            rename.oldPrefix = found->name() + kSeparator.toByteArray();
            rename.newPrefix = newName + kSeparator.toByteArray();
            found = nullptr;
            reached = placeholderFolder(tree, start->parent(), newName);
            state.unfilled.insert(reached);
            continue;
        }
        if (!found) {
            found = placeholderFolder(tree, start->parent(), name);
            state.unfilled.insert(found);
        }
        reached = found;
    }
}

void TreeTable::importTop(ElementTree &tree, ElementNode *anchor, bool singleRow, RowData &row,
                               ImportState &state)
{
    const PendingRename &rename = state.rename;
    QByteArray name = std::move(row.path);
    if (rename.pending) {
        name += kSeparator.toByteArray();
        rename.applyTo(name);
        name.chop(kSeparator.size());
    }
    ElementNode *start = anchor ? anchor : tree.firstRoot();
    const qint32 kind = row.node->kind();
    ElementNode *found = tree.findSibling(start, name, kind);
    if (!singleRow && !state.unfilled.empty()) {
        // A folder made for the paths below this name is this row's element whatever its
        // kind, codes included, as a nested row fills the folder made for it: the paths
        // name this row as their parent. Otherwise a key with children would come back as a
        // key and a folder of the same name, and every later save and load would move the
        // children (or change the folder's selected code).
        ElementNode *made = found ? found : tree.findSibling(start, name);
        if (made && state.unfilled.count(made) != 0) {
            found = made;
            tree.setCodes(found, kind, row.node->selectedCode());
        }
    }
    if (found && !singleRow) {
        tree.replaceData(found, std::move(row.node->data()));
        state.unfilled.erase(found);
        return;
    }
    if (rename.pending) {
        renameDetached(row.node, name);
    }
    ElementNode *node = tree.insertDetached(anchor, std::move(row.node));
    if (anchor || singleRow) {
        m_lastTopNode = node;
    }
}
