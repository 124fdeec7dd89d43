#include "ExportFormat.h"

#include "document/ElementNode.h"
#include "document/TableElement.h"
#include "document/Table.h"
#include "platform/CodePage.h"
#include "richtext/PlainText.h"

#include <QUrl>

namespace {

constexpr char CrLf[] = "\r\n";

QByteArray dashLine()
{
    return QByteArray(80, '-') + CrLf;
}

} // namespace

QByteArray htmlEscape(QByteArrayView text)
{
    QByteArray escaped = text.toByteArray();
    escaped.replace(">", "&gt;");
    escaped.replace("<", "&lt;");
    escaped.replace("\r", "<br>\r");
    return escaped;
}

QByteArray htmlText(QByteArrayView text)
{
    QByteArray escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

QByteArray htmlFileLink(const QByteArray &fileName)
{
    return QUrl::toPercentEncoding(CodePage::toUnicode(fileName));
}

QByteArray exportPlainText(const QByteArray &stored)
{
    // The editor's paragraphs come back as LF; a plain stored text may already hold CR LF.
    QByteArray text = plainTextOf(stored);
    text.replace(CrLf, "\n");
    text.replace("\n", CrLf);
    return text;
}

ExportFormat::ExportFormat(bool html, QByteArray fontName) : m_html(html), m_font(html ? htmlText(fontName) : fontName)
{
}

QByteArray ExportFormat::documentHead(const QByteArray &title) const
{
    if (!m_html) {
        return {};
    }
    return QByteArray("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                      "<html>\r\n<head>\r\n<title>")
        + title + "</title>\r\n</head>\r\n<body>\r\n";
}

QByteArray ExportFormat::pathText(const QList<QByteArray> &names) const
{
    if (!m_html) {
        return names.join(" > ");
    }
    QList<QByteArray> escaped;
    for (const QByteArray &name : names) {
        escaped.append(htmlText(name));
    }
    return escaped.join(" > ");
}

QByteArray ExportFormat::documentEnd() const
{
    return m_html ? QByteArray("</body>\r\n</html>") : QByteArray();
}

QByteArray ExportFormat::elementHeader(const QByteArray &path) const
{
    if (!m_html) {
        return dashLine() + path + ":" + CrLf + dashLine();
    }
    return QByteArray("<table border=\"1\" width=\"100%\">\r\n <tr>\r\n  <td bgcolor=\"Silver\"><font face=\"") + m_font
        + "\">" + path + "</font>\r\n </td>\r\n  </tr>\r\n";
}

QByteArray ExportFormat::elementEnd() const
{
    return m_html ? QByteArray("</table>\r\n") : QByteArray();
}

QByteArray ExportFormat::row(const QByteArray &cellText) const
{
    return QByteArray(" <tr>\r\n  <td><font face=\"") + m_font + "\">\r\n" + cellText
        + "</font>\r\n  </td>\r\n </tr>\r\n";
}

std::optional<QByteArray> ExportFormat::elementBody(const ElementNode &node, const QByteArray &linkName) const
{
    if (node.kind() == KindTable) {
        return table(node);
    }
    return m_html ? htmlBody(node, linkName) : textBody(node, linkName);
}

QByteArray ExportFormat::htmlBody(const ElementNode &node, const QByteArray &linkName) const
{
    const ElementData &data = node.data();
    switch (node.kind()) {
    case KindKey:
        return row(htmlEscape(data.Content)) + row(htmlEscape(data.Detail))
            + row(htmlEscape(exportPlainText(data.Comment)));
    case KindFile:
        return row(QByteArray("<a href=\"") + htmlFileLink(linkName) + "\">" + htmlText(linkName) + "</a>\r\n"
                   + htmlEscape(exportPlainText(data.Content)));
    default: // folders, entries, and any kind code this program does not know
        return row(htmlEscape(exportPlainText(data.Content)));
    }
}

QByteArray ExportFormat::textBody(const ElementNode &node, const QByteArray &linkName) const
{
    const ElementData &data = node.data();
    switch (node.kind()) {
    case KindKey:
        return data.Content + CrLf + data.Detail + CrLf + exportPlainText(data.Comment) + CrLf;
    case KindFile:
        return QByteArray("<<") + linkName + ">>" + exportPlainText(data.Content);
    default:
        return exportPlainText(data.Content);
    }
}

std::optional<QByteArray> ExportFormat::table(const ElementNode &node) const
{
    const ElementData &data = node.data();
    TableElement::GridSettings settings;
    Table grid;
    if (!data.Blob || !TableElement::read(*data.Blob, settings, grid)) {
        return std::nullopt;
    }
    const bool html = m_html;
    const auto appendCell = [&grid, html](QByteArray &out, int c, int r) {
        const QByteArrayView text = grid.cellView(c, r);
        if (text.size() >= LongCell) {
            return;
        }
        if (html) {
            out.append(htmlText(text));
        } else {
            out.append(text);
        }
    };
    QByteArray out = m_html ? QByteArray("  <tr>\r\n   <td>\r\n<table border=\"1\">\r\n") : QByteArray();
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (m_html) {
            out += " <tr>\r\n";
        }
        for (int c = 0; c < grid.columnCount(); ++c) {
            if (m_html) {
                out += QByteArray("  <td><font face=\"") + m_font + "\">";
                appendCell(out, c, r);
                out += "</font></td>\r\n";
            } else {
                appendCell(out, c, r);
                out += '\t';
            }
        }
        out += m_html ? " </tr>\r\n" : CrLf;
    }
    if (m_html) {
        out += "</table>\r\n   </td>\r\n  </tr>\r\n";
    }
    return out;
}
