// The tree as a table: one row per element in absolute order, and the same rows written
// straight into a binary table stream.
#include "class_treeview.h"

#include "ElementTree.h"
#include "StreamCell.h"

#include <QtEndian>

#include <array>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr QByteArrayView kSeparator("<>"); // class_treeview::PathSeparator

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

// Writes cells in the binary layout at a cursor that the size pass has made room for.
class CellWriter
{
public:
    explicit CellWriter(char *out) : m_out(out) {}

    void cell(QByteArrayView text)
    {
        length(qint32(text.size()));
        if (!text.isEmpty()) {
            std::memcpy(m_out, text.data(), size_t(text.size()));
            m_out += text.size();
            *m_out++ = '\0';
        }
    }
    void number(qint64 value)
    {
        char digits[24];
        char *end = digits + sizeof digits;
        char *first = end;
        quint64 rest = value < 0 ? 0 - quint64(value) : quint64(value);
        do {
            *--first = char('0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (value < 0) {
            *--first = '-';
        }
        cell(QByteArrayView(first, end - first));
    }
    void streamCell(QByteArrayView bytes)
    {
        static constexpr char hex[] = "0123456789abcdef";
        length(qint32(StreamCell::Tag.size() + 2 * bytes.size()));
        std::memcpy(m_out, StreamCell::Tag.data(), size_t(StreamCell::Tag.size()));
        m_out += StreamCell::Tag.size();
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            *m_out++ = hex[b >> 4];
            *m_out++ = hex[b & 0x0F];
        }
        *m_out++ = '\0';
    }

private:
    void length(qint32 value)
    {
        qToLittleEndian(value, m_out);
        m_out += 4;
    }

    char *m_out;
};

} // namespace

QByteArray class_treeview::WriteTreeBinary(const ElementTree &tree, const ElementNode *subtreeRoot)
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
    char *out = stream.data();
    std::memset(out, 0, size_t(BinaryHeaderSize));
    std::memcpy(out, BinaryMagic, sizeof BinaryMagic);
    qToLittleEndian(qint32(TreeColumns), out + BinaryHeaderSize - 8);
    qToLittleEndian(qint32(rows), out + BinaryHeaderSize - 4);

    // Second pass: the rows. The path of the element being written stays in one buffer:
    // its first prefix bytes are still the parent's path when an element is reached.
    CellWriter writer(out + BinaryHeaderSize);
    QByteArray path;
    walkExport(tree, subtreeRoot, [&](const ElementNode *node, qsizetype prefix) {
        path.truncate(prefix);
        if (prefix > 0) {
            path += node->name();
            path += kSeparator;
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
            path += kSeparator;
            return path.size() - kSeparator.size();
        }
        return path.size();
    });
    return stream;
}
