#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

class ElementNode;

// Escapes text for an HTML cell, over the whole text and in this order: ">" becomes
// "&gt;", "<" becomes "&lt;", and every carriage return gets "<br>" before it. Nothing
// else is escaped: "&", quotes and non-ASCII bytes pass unchanged.
QByteArray htmlEscape(QByteArrayView text);

// Escapes a name, a path, a table cell or a font name so that it shows as the text it is,
// in an element or in an attribute: "&", "<", ">" and '"' become entities. Element
// names and table cells are written through this, so that a name such as "<script>"
// shows as text and runs nothing.
QByteArray htmlText(QByteArrayView text);

// The link to an attached file written beside the document: its name percent-encoded
// (as UTF-8, the way the file is named on disk), so that "#", "?" or "%" in a name do not
// change where the link points.
QByteArray htmlFileLink(const QByteArray &fileName);

// The plain text of a stored text (RTF or not) as the editor shows it, with every line
// break as CR LF.
QByteArray exportPlainText(const QByteArray &stored);

// The pieces of an exported document, in HTML or in plain text; all bytes of the code
// page, every line break CR LF.
class ExportFormat
{
public:
    ExportFormat(bool html, QByteArray fontName);

    bool isHtml() const { return m_html; }

    // An element's path: the names from the top level down joined by " > ", each name
    // escaped in HTML (htmlText).
    QByteArray pathText(const QList<QByteArray> &names) const;
    // HTML: the document head up to "<body>" with its title (a path); text: nothing.
    QByteArray documentHead(const QByteArray &title) const;
    // HTML: "</body>" CR LF "</html>"; text: nothing.
    QByteArray documentEnd() const;
    // The element's heading with its path (from pathText).
    QByteArray elementHeader(const QByteArray &path) const;
    // The element's content by kind; nothing when a table's stream does not read.
    // linkName is the name an attached file is written under, beside the document.
    std::optional<QByteArray> elementBody(const ElementNode &node, const QByteArray &linkName) const;
    // HTML: "</table>" CR LF closing the element's table; text: nothing.
    QByteArray elementEnd() const;

    // A table cell of this many characters or more is written empty.
    static constexpr qsizetype LongCell = 1024;

private:
    QByteArray row(const QByteArray &cellText) const;
    QByteArray textBody(const ElementNode &node, const QByteArray &linkName) const;
    QByteArray htmlBody(const ElementNode &node, const QByteArray &linkName) const;
    std::optional<QByteArray> table(const ElementNode &node) const;

    bool m_html;
    QByteArray m_font;
};
