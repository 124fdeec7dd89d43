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

struct class_treeview::RowData {
    QByteArray path;
    ElementData data;
    qint32 kind = KindFolder;
    qint32 selected = KindFolder;
};

namespace {

constexpr QByteArrayView kSeparator(class_treeview::PathSeparator);

ElementNode *placeholderFolder(ElementTree &tree, ElementNode *parent, QByteArrayView name)
{
    return tree.insertElement(parent, name.toByteArray(), KindFolder, KindOpenFolder, ElementData());
}

} // namespace

bool class_treeview::ExportTree(const ElementTree &tree, const ElementNode *subtreeRoot)
{
    if (!Clear() || !InitSize(TreeColumns, 0)) {
        return false;
    }
    // Kind and selected codes repeat a handful of values: their texts are shared.
    std::array<QByteArray, 8> codeTexts;
    auto codeText = [&](qint32 code) {
        if (code < 0 || size_t(code) >= codeTexts.size()) {
            return QByteArray::number(code);
        }
        QByteArray &text = codeTexts[size_t(code)];
        if (text.isEmpty()) {
            text = QByteArray::number(code);
        }
        return text;
    };
    const QByteArray zero("0");
    // Pre-order walk on an explicit stack; each entry carries the prefix of its path
    // (empty for the export's roots, whose path is the bare name).
    struct Pending {
        const ElementNode *node;
        QByteArray prefix;
    };
    std::vector<Pending> stack;
    try {
        if (subtreeRoot) {
            stack.push_back({subtreeRoot, QByteArray()});
        } else {
            for (int i = tree.childCount(nullptr) - 1; i >= 0; --i) {
                stack.push_back({tree.childAt(nullptr, i), QByteArray()});
            }
        }
        while (!stack.empty()) {
            Pending entry = std::move(stack.back());
            stack.pop_back();
            const ElementNode *node = entry.node;
            const bool exportRoot = entry.prefix.isEmpty();
            QByteArray path = exportRoot ? node->name() : entry.prefix + node->name() + kSeparator.toByteArray();
            const ElementData &data = node->data();
            Row row(TreeColumns);
            row[ColPath] = path;
            row[ColContent] = data.Content;
            row[ColDetail] = data.Detail;
            row[ColComment] = data.Comment;
            row[ColKind] = codeText(node->kind());
            row[ColSelected] = codeText(node->selectedCode());
            row[ColBlob] = data.Blob ? StreamCell::encode(*data.Blob) : zero;
            row[ColBlobSize] = data.Blob ? QByteArray::number(data.BlobSize) : zero;
            row[ColCreated] = data.Created;
            row[ColModified] = data.Modified;
            if (!AppendRow(std::move(row))) {
                return false;
            }
            if (node->childCount() > 0) {
                const QByteArray childPrefix = exportRoot ? path + kSeparator.toByteArray() : path;
                for (int i = node->childCount() - 1; i >= 0; --i) {
                    stack.push_back({node->child(i), childPrefix});
                }
            }
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

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
    if (GetCellInt(ColBlobSize, row) > 0) {
        // The count in column 7 only says that a Blob is there: the stream cell's own
        // length decides its size, so a count that disagrees can neither cut the bytes nor
        // claim more than were decoded. A column 6 that is no stream cell gives no Blob.
        if (std::optional<QByteArray> bytes = StreamCell::decode(CellView(ColBlob, row))) {
            data.data.setBlob(std::move(*bytes));
        }
    }
    // The hex text of an attachment is plaintext too: wiped, not just freed.
    QByteArray hex = TakeCell(ColBlob, row);
    SecureMemory::wipe(hex);
    return data;
}

bool class_treeview::ImportTree(ElementTree &tree, ElementNode *anchor, bool singleRow)
{
    m_lastTopNode = nullptr;
    tree.setSorted(false);
    PendingRename rename;
    try {
        const int lastRow = RowCount() - 1;
        for (int r = lastRow; r >= 0; --r) {
            RowData row = takeRow(r);
            if (row.path.contains(kSeparator)) {
                importNested(tree, anchor, row, r == lastRow, rename);
            } else {
                importTop(tree, anchor, singleRow, row, rename);
            }
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

void class_treeview::importNested(ElementTree &tree, ElementNode *anchor, RowData &row, bool firstRow,
                                  PendingRename &rename)
{
    rename.applyTo(row.path);
    const QByteArrayView path(row.path);
    const qsizetype finalSeparator = path.lastIndexOf(kSeparator);
    ElementNode *start = anchor ? anchor : tree.firstRoot();
    ElementNode *reached = nullptr;
    qsizetype pos = 0;
    for (bool firstComponent = true;; firstComponent = false) {
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
    ElementNode *node = tree.insertElement(anchor, std::move(name), row.kind, row.selected, std::move(row.data));
    if (anchor || singleRow) {
        m_lastTopNode = node;
    }
}
