#pragma once

#include "RtfContent.h"

#include <QByteArray>

class QTextDocument;

// Fills a QTextDocument from a stored text the way a rich edit streams it in: RTF
// (looksLikeRtf) is shown with the formats the rich reader keeps (RtfParser.h lists
// them); any other text is plain text decoded from Windows-1252, CR LF and lone CR
// taken as line ends. The document's previous content and undo history are dropped.
//
// Each run gets its font family, point size, weight, italic, underline, strike-out and
// colours set explicitly; a font's declared \fcharset above 0 is kept in
// RtfTextFormat::CharsetProperty. Paragraphs get alignment and indents (twips / 15 =
// pixels at 96 dpi). Every paragraph mark ends a block; text after the last mark makes
// a last block, so "A\par" is one block, as a rich edit shows it.
void readRtfDocument(const QByteArray &stored, QTextDocument &document);

void fillDocument(const RtfContent &content, QTextDocument &document);
