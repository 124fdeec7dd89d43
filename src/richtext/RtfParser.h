#pragma once

#include "RtfContent.h"

#include <QByteArrayView>

// The rich reader's core: RTF bytes to paragraphs of formatted text runs (RtfContent),
// keeping what rich-edit controls write and users see. It needs no QGuiApplication; the
// QTextDocument reader (RtfDocumentReader.h) and plainTextOf (PlainText.h) build on it.
//
// Kept: the font table (family, \fcharset, \cpg), the colour table, \b \i \ul (and its
// styled forms) \ulnone \strike \fs \f \cf \highlight \cb with their 0 forms, \plain,
// \pard, \ql \qc \qr \qj, \li \ri \fi, \par (also \sect, \page, "\<CR>", "\<LF>") as
// paragraph marks, \line as kRtfLineBreak, \tab, \uN with \ucN fallback skipping, the
// special characters (\emdash \endash \bullet \lquote \rquote \ldblquote \rdblquote
// \emspace \enspace \qmspace \~ \_ \zwj \zwnj \ltrmark \rtlmark), automatic footnote
// marks (\chftn, numbered 1, 2, 3 ... in their order), bullet and numbering texts
// (\pntext, \listtext) and field results as ordinary text, the bullet or number that
// old-style numbering ({\*\pn ...}, RtfListNumbering.h) gives a paragraph without
// \pntext, table rows as one paragraph with a tab between cells (\cell ... \row, and
// \nestcell ... \nestrow of nested tables, whose text may stand inside
// {\*\nesttableprops ...}).
// Bytes (\'hh and plain text) are decoded in the code page of the current font: its
// \cpg, else its \fcharset, else the document's \ansicpg (or \mac, \pc, \pca); see
// RtfCharsets.h. The codes of the Symbol and Wingdings fonts, as bytes in such a font or
// as \uN in U+F020-U+F0FF, become the characters they show (RtfSymbolFonts.h).
// Dropped: every other "\*" destination, the destinations of document information,
// style sheets, headers, footers, footnotes, pictures (\pict), objects (\object), field
// instructions, list tables and the fallback text for readers without nested tables
// ({\nonesttables ...}), binary data outside the text, and formatting that is not
// listed above.
//
// Bad input never fails: the text read so far is kept. Reading ends at the brace that
// closes the document group; a text cut short ends where it ends. Up to kRtfMaxDepth
// open groups (the document group included) are followed; a group opened deeper is
// skipped with its content, so memory stays bounded (about 40 bytes a group) whatever
// the nesting. \ucN is bounded to 0..16 fallback characters; \uN outside
// -32768..65535 is ignored and its fallback text kept.

inline constexpr int kRtfMaxDepth = 131072;

// A stored text counts as RTF when it starts, after blanks and line ends, with "{\rtf".
bool looksLikeRtf(QByteArrayView stored);

RtfContent parseRtf(QByteArrayView rtf);
