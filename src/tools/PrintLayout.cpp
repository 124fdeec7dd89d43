#include "PrintLayout.h"

#include <algorithm>

int printLinesPerPage(int fontHeight)
{
    const int f = std::max(10, fontHeight < 0 ? -fontHeight : fontHeight);
    // A very large font would give no line at all, and pages that never fill.
    return std::max(3, 50 / (f / 10));
}

PrintGeometry PrintGeometry::forPage(QSize page, int linesPerPage)
{
    PrintGeometry g;
    g.width = page.width();
    g.height = page.height();
    g.linesPerPage = std::max(1, linesPerPage);
    const int w = g.width;
    const int h = g.height;
    g.margin = int(w * 0.025);
    g.bodyTop = h / 16 + g.margin;
    g.lineHeight = (h - 2 * g.margin - h / 16) / g.linesPerPage;
    g.contentFontHeight = h / (g.linesPerPage + 20);
    g.headerMargin = w / 40;
    g.titleFontHeight = h / 45;
    g.titleTop = h / 17 - h / 45;
    g.headerRuleY = h / 17 + g.headerMargin;
    g.pageNumberFontHeight = h / 60;
    g.pageNumberTop = h / 17 - 2 * (h / 45);
    return g;
}

PageStart layOutPage(std::span<const PrintBlockSize> blocks, PageStart start, int linesPerPage,
                     QList<BlockPiece> *pieces)
{
    // Two lines at least, or a page could hold a title row and nothing more, forever.
    linesPerPage = std::max(2, linesPerPage);
    const int count = int(blocks.size());
    int line = 0;
    PageStart at = start;
    while (at.element < count && line < linesPerPage) {
        const PrintBlockSize &block = blocks[std::size_t(at.element)];
        const int rowsLeft = std::max(0, block.rows - at.row);
        if (at.row == 0 && line > 0) {
            const int head = 1 + std::min(block.headRows, block.rows);
            if (line + head > linesPerPage) {
                break; // the element starts on the next page
            }
        }
        const int placed = std::min(rowsLeft, linesPerPage - line - 1);
        if (pieces) {
            pieces->append({at.element, at.row, placed, line});
        }
        line += 1 + placed;
        if (placed < rowsLeft) {
            return {at.element, at.row + placed}; // the page is full within the element
        }
        at = {at.element + 1, 0};
    }
    return at;
}

QList<PageStart> paginateBlocks(std::span<const PrintBlockSize> blocks, int linesPerPage)
{
    QList<PageStart> pages{PageStart{}};
    for (;;) {
        const PageStart next = layOutPage(blocks, pages.last(), linesPerPage);
        if (next.element >= int(blocks.size())) {
            return pages;
        }
        pages.append(next);
    }
}
