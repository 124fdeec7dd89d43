// The tree as a table: one row per element in absolute order, and the same rows written
// straight into a binary table stream.
#include "TreeTable.h"

#include "ElementTree.h"
#include "StreamCell.h"
#include "StreamChunkWriter.h"

#include <QtEndian>

#include <array>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr QByteArrayView kSeparator("<>"); // TreeTable::PathSeparator

} // namespace

bool TreeTable::exportTree(const ElementTree &tree, const ElementNode *subtreeRoot)
{
    if (!clear() || !initSize(TreeColumns, 0)) {
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
            if (!appendRow(std::move(row))) {
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

namespace {

// Walks the elements to export in absolute order, handing each to visit with the length
// of its path prefix (0 for an export root, whose path is its bare name).
template<typename Visit>
void walkExport(const ElementTree &tree, const ElementNode *subtreeRoot, Visit visit)
{
    struct Pending {
        const ElementNode *node;
        qsizetype prefix;
    };
    std::vector<Pending> stack;
    if (subtreeRoot) {
        stack.push_back({subtreeRoot, 0});
    } else {
        for (int i = tree.childCount(nullptr) - 1; i >= 0; --i) {
            stack.push_back({tree.childAt(nullptr, i), 0});
        }
    }
    while (!stack.empty()) {
        const Pending entry = stack.back();
        stack.pop_back();
        // The elements lie in memory in the order they were made, not in this order: the
        // ones to come, mostly the stack's top entries, are fetched ahead.
        const size_t pending = stack.size();
        if (pending >= 3) {
            stack[pending - 3].node->prefetch();
        }
        if (pending >= 2) {
            stack[pending - 2].node->prefetchTexts();
        }
        const qsizetype pathLength = visit(entry.node, entry.prefix);
        const qsizetype childPrefix = entry.prefix == 0 ? pathLength + kSeparator.size() : pathLength;
        for (int i = entry.node->childCount() - 1; i >= 0; --i) {
            stack.push_back({entry.node->child(i), childPrefix});
        }
    }
}

qsizetype decimalLength(qint64 value)
{
    qsizetype length = value < 0 ? 2 : 1;
    for (qint64 rest = value < 0 ? -(value / 10) : value / 10; rest != 0; rest /= 10) {
        ++length;
    }
    return length;
}

void append(QByteArray &path, QByteArrayView bytes)
{
    if (bytes.isEmpty()) {
        return;
    }
    const qsizetype at = path.size();
    path.resize(at + bytes.size());
    std::memcpy(path.data() + at, bytes.data(), size_t(bytes.size()));
}

void writeHeader(StreamChunkWriter &writer, qint64 rows)
{
    char header[Table::BinaryHeaderSize] = {};
    std::memcpy(header, Table::BinaryMagic, sizeof Table::BinaryMagic);
    qToLittleEndian(qint32(TreeTable::TreeColumns), header + sizeof header - 8);
    qToLittleEndian(qint32(rows), header + sizeof header - 4);
    writer.raw(QByteArrayView(header, sizeof header));
}

// Writes node's row. The path of the row written before stays in path: its first prefix
// bytes are this row's parent path. Returns the length of the children's prefix.
qsizetype writeRow(StreamChunkWriter &writer, QByteArray &path, const ElementNode *node, qsizetype prefix)
{
    path.truncate(prefix);
    if (prefix > 0) {
        append(path, node->name());
        append(path, kSeparator);
    } else {
        path = node->name();
    }
    const ElementData &data = node->data();
    writer.cell(path);
    writer.cell(data.Content);
    writer.cell(data.Detail);
    writer.cell(data.Comment);
    writer.number(node->kind());
    writer.number(node->selectedCode());
    if (data.Blob) {
        writer.streamCell(*data.Blob);
        writer.number(data.BlobSize);
    } else {
        writer.cell("0");
        writer.cell("0");
    }
    writer.cell(data.Created);
    writer.cell(data.Modified);
    // The children's prefix: an export root's path has no separator of its own yet.
    if (prefix == 0 && node->childCount() > 0) {
        append(path, kSeparator);
        return path.size() - kSeparator.size();
    }
    return path.size();
}

} // namespace

QByteArray TreeTable::writeTreeBinary(const ElementTree &tree, const ElementNode *subtreeRoot)
{
    // First pass: the exact size, so the stream is built in one buffer.
    auto cellSize = [](qint64 length) { return 4 + (length > 0 ? length + 1 : 0); };
    qint64 size = BinaryHeaderSize;
    qint64 rows = 0;
    bool tooLong = false;
    walkExport(tree, subtreeRoot, [&](const ElementNode *node, qsizetype prefix) {
        const ElementData &data = node->data();
        const qsizetype path = prefix == 0 ? node->name().size() : prefix + node->name().size() + kSeparator.size();
        const qint64 blob = data.Blob ? StreamCell::Tag.size() + 2 * qint64(data.Blob->size()) : 1;
        for (const qint64 length : {qint64(path), qint64(data.Content.size()), qint64(data.Detail.size()),
                                    qint64(data.Comment.size()), blob, qint64(data.Created.size()),
                                    qint64(data.Modified.size())}) {
            tooLong = tooLong || length >= INT_MAX;
            size += cellSize(length);
        }
        size += cellSize(decimalLength(node->kind())) + cellSize(decimalLength(node->selectedCode()))
            + cellSize(data.Blob ? decimalLength(data.BlobSize) : 1);
        ++rows;
        return path;
    });
    if (tooLong || rows > INT_MAX) {
        return {};
    }
    QByteArray stream;
    stream.reserve((size + 7) / 8 * 8); // room for the padding of a final cipher block
    stream.resize(size);
    // Second pass: the rows.
    StreamChunkWriter writer(stream.data(), stream.size());
    writeHeader(writer, rows);
    QByteArray path;
    walkExport(tree, subtreeRoot,
               [&](const ElementNode *node, qsizetype prefix) { return writeRow(writer, path, node, prefix); });
    return writer.finish() ? stream : QByteArray();
}

bool TreeTable::writeTreeBinary(const ElementTree &tree, qsizetype chunkSize, const ChunkHandler &handle)
{
    // One walk: the header's row count is the tree's element count, and the pieces need
    // no size known in advance.
    StreamChunkWriter writer(chunkSize, handle);
    writeHeader(writer, tree.count());
    QByteArray path;
    walkExport(tree, nullptr,
               [&](const ElementNode *node, qsizetype prefix) { return writeRow(writer, path, node, prefix); });
    return writer.finish();
}
