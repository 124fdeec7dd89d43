#pragma once

#include "PrintLayout.h"

#include <QString>

class QPainter;
struct PrintBlock;

// How pages look: the preview's switches and the header's title, and the font the
// options dialog chose (its family, and its height that sets the lines per page).
struct PrintStyle {
    bool drawBorder = true;   // a frame round each block
    bool drawLines = true;    // rules inside blocks and between table columns
    bool pageNumbers = false; // "(page / pages)" in the header
    QString title;            // the header's title; only the part after its last "\" shows
    QString fontFamily;
};

// Draws the header of a page: the centred title, the rule under it and, when asked, the
// page number at the right.
void paintPageHeader(QPainter &painter, const PrintGeometry &geometry, const PrintStyle &style, int page, int pages);

// Draws one element's part of a page: the shaded title row with the path, then the content
// rows of the piece. Texts that do not fit their block or column end in an ellipsis rather
// than run over the frame or off the paper.
void paintBlockPiece(QPainter &painter, const PrintGeometry &geometry, const PrintStyle &style,
                     const PrintBlock &block, const BlockPiece &piece);

// The title the header shows: the part of the text after its last "\".
QString headerTitle(const QString &title);
