#include "JsonTreeWriter.h"

#include "Console.h"

#include "document/ElementTree.h"
#include "platform/CodePage.h"
#include "platform/SecureMemory.h"

#include <array>

namespace {

// Each code-page byte as it appears inside a JSON string: its character in UTF-8, or an
// escape for the quote, the backslash and control characters.
class JsonByteTable
{
public:
    JsonByteTable()
    {
        for (int b = 0; b < 256; ++b) {
            const QChar c = CodePage::toUnicode(static_cast<unsigned char>(b));
            QByteArray text;
            if (c == u'"' || c == u'\\') {
                text = QByteArray("\\") + char(c.unicode());
            } else if (c == u'\n') {
                text = "\\n";
            } else if (c == u'\r') {
                text = "\\r";
            } else if (c == u'\t') {
                text = "\\t";
            } else if (c.unicode() < 0x20 || c.category() == QChar::Other_Control) {
                text = QByteArray("\\u") + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
            } else {
                text = QString(c).toUtf8();
            }
            m_text[size_t(b)] = text;
            m_plain[size_t(b)] = text.size() == 1 && text[0] == char(b);
        }
    }
    const QByteArray &text(unsigned char b) const { return m_text[b]; }
    bool plain(unsigned char b) const { return m_plain[b]; }

private:
    std::array<QByteArray, 256> m_text;
    std::array<bool, 256> m_plain{};
};

const JsonByteTable &byteTable()
{
    static const JsonByteTable table;
    return table;
}

} // namespace

void writeJsonString(OutputStream &out, QByteArrayView text)
{
    const JsonByteTable &table = byteTable();
    out.put('"');
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (table.plain(b)) {
            continue;
        }
        out.write(text.sliced(runStart, i - runStart));
        out.write(table.text(b));
        runStart = i + 1;
    }
    out.write(text.sliced(runStart));
    out.put('"');
}

namespace {

// Base64 of bytes whose count is a multiple of three, or of the final piece, into out.
qsizetype encodeBase64(const unsigned char *in, qsizetype size, char *out)
{
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    char *start = out;
    qsizetype i = 0;
    for (; i + 3 <= size; i += 3) {
        const unsigned v = unsigned(in[i]) << 16 | unsigned(in[i + 1]) << 8 | in[i + 2];
        *out++ = digits[v >> 18];
        *out++ = digits[(v >> 12) & 63];
        *out++ = digits[(v >> 6) & 63];
        *out++ = digits[v & 63];
    }
    if (i < size) {
        const bool two = i + 1 < size;
        const unsigned v = unsigned(in[i]) << 16 | (two ? unsigned(in[i + 1]) << 8 : 0u);
        *out++ = digits[v >> 18];
        *out++ = digits[(v >> 12) & 63];
        *out++ = two ? digits[(v >> 6) & 63] : '=';
        *out++ = '=';
    }
    return out - start;
}

void writeBlob(OutputStream &out, const ElementData &data)
{
    if (!data.Blob) {
        out.write("null");
        return;
    }
    // Piece by piece through one small buffer, wiped afterwards: a big attachment is never
    // held a second time, and its encoded form is not left behind in freed memory.
    constexpr qsizetype Piece = 3 * 4096;
    std::array<char, Piece / 3 * 4> encoded;
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.Blob->constData());
    const qsizetype size = data.Blob->size();
    out.put('"');
    for (qsizetype at = 0; at < size; at += Piece) {
        const qsizetype length = encodeBase64(bytes + at, std::min(Piece, size - at), encoded.data());
        out.write(QByteArrayView(encoded.data(), length));
    }
    out.put('"');
    SecureMemory::wipe(encoded.data(), encoded.size());
}

} // namespace

void writeJsonPath(OutputStream &out, const ElementTree &tree, const ElementNode *node)
{
    out.put('[');
    const QList<QByteArray> path = tree.pathOf(node);
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (i > 0) {
            out.put(',');
        }
        writeJsonString(out, path[i]);
    }
    out.put(']');
}

void writeElementJson(OutputStream &out, const ElementTree &tree, const ElementNode *node, ElementJson fields)
{
    const ElementData &data = node->data();
    out.write("{\"path\":");
    writeJsonPath(out, tree, node);
    out.write(",\"kind\":");
    out.write(QByteArray::number(node->kind()));
    out.write(",\"selected\":");
    out.write(QByteArray::number(node->selectedCode()));
    if (fields == ElementJson::Outline) {
        out.write(",\"created\":");
        writeJsonString(out, data.Created);
        out.write(",\"modified\":");
        writeJsonString(out, data.Modified);
        out.put('}');
        return;
    }
    out.write(",\"content\":");
    writeJsonString(out, data.Content);
    out.write(",\"detail\":");
    writeJsonString(out, data.Detail);
    out.write(",\"comment\":");
    writeJsonString(out, data.Comment);
    out.write(",\"blob\":");
    writeBlob(out, data);
    out.write(",\"created\":");
    writeJsonString(out, data.Created);
    out.write(",\"modified\":");
    writeJsonString(out, data.Modified);
    out.put('}');
}

void writeTreeJson(const ElementTree &tree, OutputStream &out)
{
    out.write("{\"elements\":[");
    const char *separator = "\n";
    for (const ElementNode *node = tree.firstRoot(); node; node = tree.nextInOrder(node)) {
        out.write(separator);
        writeElementJson(out, tree, node, ElementJson::Whole);
        separator = ",\n";
    }
    out.write(tree.isEmpty() ? "]}\n" : "\n]}\n");
}
