#include "ElementSearch.h"

#include "document/ElementTree.h"
#include "document/Table.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<unsigned char, 256> makeFoldTable()
{
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        table[size_t(b)] = (b >= 'A' && b <= 'Z') ? (unsigned char)(b + ('a' - 'A')) : (unsigned char)b;
    }
    return table;
}

// A to Z lowered, every other byte as it is (É and é stay apart).
constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

unsigned char fold(char c)
{
    return kFold[static_cast<unsigned char>(c)];
}

// Does text contain folded, comparing text's bytes folded? No copy of text is made.
bool containsFolded(QByteArrayView text, QByteArrayView folded)
{
    const qsizetype length = folded.size();
    const qsizetype last = text.size() - length;
    const unsigned char first = static_cast<unsigned char>(folded[0]);
    for (qsizetype i = 0; i <= last; ++i) {
        if (fold(text[i]) != first) {
            continue;
        }
        qsizetype k = 1;
        while (k < length && fold(text[i + k]) == static_cast<unsigned char>(folded[k])) {
            ++k;
        }
        if (k == length) {
            return true;
        }
    }
    return false;
}

// Does text contain what, byte for byte? Short texts are the rule here: a scan for the
// first byte beats a general substring search set up anew for every text.
bool containsExact(QByteArrayView text, QByteArrayView what)
{
    const size_t rest = size_t(what.size()) - 1;
    const char *p = text.data();
    const char *const end = text.data() + (text.size() - rest);
    while (p < end) {
        p = static_cast<const char *>(std::memchr(p, what[0], size_t(end - p)));
        if (!p) {
            return false;
        }
        if (std::memcmp(p + 1, what.data() + 1, rest) == 0) {
            return true;
        }
        ++p;
    }
    return false;
}

// A table matches when any cell of its stored table is the text. The binary stream is
// walked where it lies; the text form (older files) is read into a table.
bool tableHasCell(const ElementData &data, const ElementSearch::Pattern &pattern)
{
    if (!data.Blob || data.Blob->isEmpty()) {
        return false;
    }
    const QByteArrayView stream(*data.Blob);
    qint32 columns = 0;
    qint32 rows = 0;
    if (Table::readBinaryHeader(stream, columns, rows)) {
        const qint64 cells = qint64(columns) * rows;
        qsizetype pos = Table::BinaryHeaderSize;
        for (qint64 i = 0; i < cells; ++i) {
            QByteArrayView cell;
            pos = Table::nextBinaryCell(stream, pos, cell);
            if (pos < 0) {
                return false; // damaged: the cells before the damage were searched
            }
            if (pattern.equals(cell)) {
                return true;
            }
        }
        return false;
    }
    Table table;
    if (!table.readText(stream)) {
        return false;
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            if (pattern.equals(table.cellView(c, r))) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

ElementSearch::Pattern::Pattern(QByteArray text, bool matchCase) : m_text(std::move(text)), m_matchCase(matchCase)
{
    if (!matchCase) {
        m_folded = m_text;
        for (char &c : m_folded) {
            c = char(fold(c));
        }
    }
}

bool ElementSearch::Pattern::foundIn(QByteArrayView text) const
{
    if (m_text.isEmpty() || text.size() < m_text.size()) {
        return false;
    }
    return m_matchCase ? containsExact(text, m_text) : containsFolded(text, m_folded);
}

bool ElementSearch::matches(const ElementNode &node, const Pattern &pattern)
{
    if (pattern.foundIn(node.name())) {
        return true;
    }
    const ElementData &data = node.data();
    if (node.kind() == KindTable) {
        return tableHasCell(data, pattern);
    }
    return pattern.foundIn(data.Content) || pattern.foundIn(data.Comment);
}

ElementNode *ElementSearch::nextInOrder(const ElementNode *node)
{
    if (!node) {
        return nullptr;
    }
    if (node->childCount() > 0) {
        return node->firstChild();
    }
    for (const ElementNode *n = node; n; n = n->parent()) {
        if (ElementNode *next = n->nextSibling()) {
            return next;
        }
    }
    return nullptr;
}

ElementNode *ElementSearch::previousInOrder(const ElementNode *node)
{
    if (!node) {
        return nullptr;
    }
    ElementNode *previous = node->previousSibling();
    if (!previous) {
        return node->parent();
    }
    while (previous->childCount() > 0) {
        previous = previous->child(previous->childCount() - 1);
    }
    return previous;
}

ElementNode *ElementSearch::findNext(ElementNode *selected, QByteArrayView text, const Options &options)
{
    ElementNode *node = selected;
    if (!m_firstSearch) {
        node = options.down ? nextInOrder(node) : previousInOrder(node);
    }
    m_firstSearch = false;
    const Pattern pattern(text.toByteArray(), options.matchCase);
    if (pattern.isEmpty()) {
        return nullptr;
    }
    for (; node; node = options.down ? nextInOrder(node) : previousInOrder(node)) {
        if (matches(*node, pattern)) {
            return node;
        }
    }
    return nullptr;
}
