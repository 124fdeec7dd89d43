#include "PrintBlocks.h"

#include "document/ElementTree.h"
#include "document/TableElement.h"
#include "document/Table.h"
#include "platform/CodePage.h"
#include "richtext/PlainText.h"
#include "richtext/RtfParser.h"
#include "richtext/RtfToText.h"

namespace {

constexpr int KeyHeadRows = 2; // user name and password

// A table cell on one row: line breaks and tabs become spaces.
QString cellText(QByteArrayView bytes)
{
    QString text = CodePage::toUnicode(bytes.toByteArray());
    for (QChar &c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\t') {
            c = u' ';
        }
    }
    return text;
}

bool readGrid(const ElementNode &node, Table &grid)
{
    const std::optional<QByteArray> &blob = node.data().Blob;
    TableElement::GridSettings settings;
    return blob && TableElement::read(*blob, settings, grid);
}

} // namespace

QStringList printLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size && text[i] != u'\r' && text[i] != u'\n') {
            continue;
        }
        if (i > start) {
            QString line = text.mid(start, i - start);
            line.replace(u'\t', u' ');
            lines.append(line);
        }
        start = i + 1;
    }
    return lines;
}

int printLineCount(QByteArrayView text)
{
    int count = 0;
    bool inLine = false;
    for (const char c : text) {
        const bool lineEnd = c == '\r' || c == '\n';
        if (!lineEnd && !inLine) {
            ++count;
        }
        inLine = !lineEnd;
    }
    return count;
}

QString printPlainText(const QByteArray &stored, bool richText)
{
    if (richText) {
        return plainUnicodeTextOf(stored);
    }
    const RtfToTextResult plain = rtfToText(stored);
    return plain.usable() ? CodePage::toUnicode(plain.text) : QString();
}

QString maskedPassword(qsizetype length)
{
    return QString(length, QChar(0x25CF));
}

PrintBlock printBlockOf(const ElementTree &tree, const ElementNode &node, const PrintOptions &options)
{
    PrintBlock block;
    QStringList names;
    for (const QByteArray &name : tree.pathOf(&node)) {
        names.append(CodePage::toUnicode(name));
    }
    block.path = names.join(QStringLiteral(" > "));
    block.kind = node.kind();
    const ElementData &data = node.data();
    switch (node.kind()) {
    case KindKey:
        block.lines.append(CodePage::toUnicode(data.Content));
        block.maskedPassword = options.hidePasswords;
        block.lines.append(options.hidePasswords ? maskedPassword(data.Detail.size()) : CodePage::toUnicode(data.Detail));
        block.lines.append(printLines(printPlainText(data.Comment, options.richText)));
        break;
    case KindTable: {
        Table grid;
        if (!readGrid(node, grid)) {
            break; // an unreadable table prints its title row only
        }
        block.columns = grid.columnCount();
        for (int r = 0; r < grid.rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < grid.columnCount(); ++c) {
                row.append(cellText(grid.cellView(c, r)));
            }
            block.cells.append(row);
        }
        break;
    }
    default: // folders, entries, files (their description) and unknown kinds
        block.lines = printLines(printPlainText(data.Content, options.richText));
        break;
    }
    return block;
}

PrintBlockSize printBlockSizeOf(const ElementNode &node, const PrintOptions &options)
{
    const ElementData &data = node.data();
    const auto textRows = [&options](const QByteArray &stored) {
        // Text that neither reader takes for RTF prints as stored; only RTF needs reading.
        const bool rtf = options.richText ? looksLikeRtf(stored) : stored.contains("{\\rtf");
        return rtf ? int(printLines(printPlainText(stored, options.richText)).size()) : printLineCount(stored);
    };
    switch (node.kind()) {
    case KindKey:
        return {KeyHeadRows + textRows(data.Comment), KeyHeadRows};
    case KindTable: {
        Table grid;
        return {readGrid(node, grid) ? grid.rowCount() : 0, 0};
    }
    default:
        return {textRows(data.Content), 0};
    }
}
