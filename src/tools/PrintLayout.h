#pragma once

#include <QList>
#include <QSize>

#include <span>

// The geometry of printed pages and where the page breaks fall. Everything is in the
// device's pixels and proportional to the page, so the printer and the preview share one
// layout; the number of lines on a page depends on the font only, so the page breaks are
// the same on paper and on screen. Integer arithmetic throughout, as the sizes are pixels.

// Lines on a page for a font F pixels high (F taken as at least 10): 50 / (F / 10), so
// 13 gives 50 lines and 20 gives 25. At least three, so that a key's title, user name and
// password always share a page.
int printLinesPerPage(int fontHeight);

struct PrintGeometry {
    int width = 0;  // W
    int height = 0; // H
    int linesPerPage = 0;
    // Element blocks.
    int margin = 0;            // W * 0.025, left and right of the blocks and above the first
    int bodyTop = 0;           // top of line 0: H / 16 + margin
    int lineHeight = 0;        // (H - 2 * margin - H / 16) / lines
    int contentFontHeight = 0; // H / (lines + 20); also the indent of the content
    // The page header.
    int headerMargin = 0;         // W / 40
    int titleFontHeight = 0;      // H / 45
    int titleTop = 0;             // H / 17 - H / 45
    int headerRuleY = 0;          // H / 17 + W / 40
    int pageNumberFontHeight = 0; // H / 60
    int pageNumberTop = 0;        // H / 17 - 2 * (H / 45)

    static PrintGeometry forPage(QSize page, int linesPerPage);

    int left() const { return margin; }
    int right() const { return width - margin; }
    int lineTop(int line) const { return line * lineHeight + bodyTop; }
};

// The lines one element needs: a title row, then its content rows. The first headRows
// content rows (a key's user name and password) must fit on the page of the title row.
struct PrintBlockSize {
    int rows = 0;
    int headRows = 0;
};

// Where a page starts: the element (index into the printed range) and its first content row
// on that page. An element continued from the previous page repeats its title row.
struct PageStart {
    int element = 0;
    int row = 0;

    bool operator==(const PageStart &) const = default;
};

// One element's part of a page: its title row at line `line`, followed by rowCount content
// rows from firstRow on.
struct BlockPiece {
    int element = 0;
    int firstRow = 0;
    int rowCount = 0;
    int line = 0;

    bool operator==(const BlockPiece &) const = default;
};

// The blocks of the page that starts at start, and (the return value) where the next page
// starts; its element is blocks.size() when the blocks end on this page. An element that
// starts a new block moves to the next page when its title row and head rows no longer fit;
// a page that is full continues the element on the next one.
PageStart layOutPage(std::span<const PrintBlockSize> blocks, PageStart start, int linesPerPage,
                     QList<BlockPiece> *pieces = nullptr);

// The start of every page, in order; one empty page when there are no blocks.
QList<PageStart> paginateBlocks(std::span<const PrintBlockSize> blocks, int linesPerPage);
