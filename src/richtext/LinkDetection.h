#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// Finds the web, mail and file links in an editor's text, so that editors can underline
// them and open the one under a click. A link starts with "http://", "https://",
// "ftp://", "file://", "mailto:" or "www." (any letter case) at the start of a word and
// runs to the first blank, control character, quote ('"', '\'', curly and angle quotes)
// or angle bracket. Trailing ".,;:!?" are not part of it, nor is a closing ')' or ']'
// without its opening partner inside the link, so "(see http://a.org/x_(y))." gives
// "http://a.org/x_(y)". A prefix with nothing after it is no link; "www." needs a
// letter or digit after it.

struct LinkRange {
    qsizetype start = 0;
    qsizetype length = 0;

    qsizetype end() const { return start + length; }
    friend bool operator==(const LinkRange &, const LinkRange &) = default;
};

// The links of text in order, none overlapping.
QList<LinkRange> findLinks(QStringView text);

// The link that holds the character at position, if any.
std::optional<LinkRange> findLinkAt(QStringView text, qsizetype position);

// The address to open for a link's text: "www." links get "http://" in front, the
// others are opened as they are written.
QString linkUrl(QStringView linkText);
QString linkUrl(QStringView text, LinkRange range);
