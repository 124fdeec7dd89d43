#include "PrintPainter.h"

#include "PrintBlocks.h"

#include "document/ElementData.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

const QColor TitleShade(234, 234, 234);

// A font whose lines (ascent and descent) are cellHeight pixels high, so that text set at a
// row's top stays inside the row.
QFont fontForCell(const QString &family, int cellHeight)
{
    QFont font(family);
    const int cell = std::max(1, cellHeight);
    font.setPixelSize(cell);
    const qreal lineHeight = QFontMetricsF(font).height();
    if (lineHeight > cell) {
        font.setPixelSize(std::max(1, int(cell * cell / lineHeight)));
    }
    return font;
}

// A pen that still shows on a printer of many dots per inch.
QPen rulePen(const PrintGeometry &geometry)
{
    QPen pen(Qt::black);
    pen.setWidth(std::max(1, geometry.height / 1100));
    return pen;
}

void drawTextAt(QPainter &painter, int x, int y, int width, int height, const QString &text)
{
    if (width <= 0) {
        return;
    }
    const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, width);
    painter.drawText(QRect(x, y, width, height), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
}

void paintTableRow(QPainter &painter, const PrintGeometry &geometry, const PrintStyle &style,
                   const PrintBlock &block, int row, int top)
{
    const int left = geometry.left();
    const int right = geometry.right();
    const int indent = geometry.contentFontHeight;
    const int t = geometry.lineHeight;
    const int columns = std::max(1, block.columns);
    const int width = (right - left) / columns;
    const QStringList &cells = block.cells.at(row);
    for (int j = 0; j < columns; ++j) {
        const int x = left + indent + j * width;
        if (j >= 1 && style.drawLines) {
            painter.drawLine(x - 1, top, x - 1, top + t);
            if (j == 1) {
                painter.drawLine(left, top, right, top);
            }
        }
        const int end = j + 1 < columns ? x + width - indent / 2 : right - 2;
        drawTextAt(painter, x, top + 2, end - x, t - 2, j < cells.size() ? cells.at(j) : QString());
    }
}

} // namespace

QString headerTitle(const QString &title)
{
    return title.mid(title.lastIndexOf(u'\\') + 1);
}

void paintPageHeader(QPainter &painter, const PrintGeometry &geometry, const PrintStyle &style, int page, int pages)
{
    const int w = geometry.width;
    painter.setPen(rulePen(geometry));
    painter.setBrush(Qt::NoBrush);
    painter.setFont(fontForCell(style.fontFamily, geometry.titleFontHeight));
    const QString title = headerTitle(style.title);
    const int available = w - 2 * geometry.headerMargin;
    const QString shown = painter.fontMetrics().elidedText(title, Qt::ElideRight, available);
    const int textWidth = painter.fontMetrics().horizontalAdvance(shown);
    painter.drawText(QRect((w - textWidth) / 2, geometry.titleTop, textWidth + 1, geometry.titleFontHeight),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    painter.drawLine(geometry.headerMargin, geometry.headerRuleY, w - geometry.headerMargin, geometry.headerRuleY);
    if (style.pageNumbers) {
        painter.setFont(fontForCell(style.fontFamily, geometry.pageNumberFontHeight));
        const QString number = QStringLiteral("(%1 / %2)").arg(page).arg(pages);
        const int numberWidth = painter.fontMetrics().horizontalAdvance(number);
        painter.drawText(QRect(w - geometry.headerMargin - numberWidth, geometry.pageNumberTop, numberWidth + 1,
                               geometry.pageNumberFontHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, number);
    }
}

void paintBlockPiece(QPainter &painter, const PrintGeometry &geometry, const PrintStyle &style,
                     const PrintBlock &block, const BlockPiece &piece)
{
    const int left = geometry.left();
    const int right = geometry.right();
    const int t = geometry.lineHeight;
    const int top = geometry.lineTop(piece.line);
    const int indent = geometry.contentFontHeight;
    painter.setPen(rulePen(geometry));
    painter.setBrush(Qt::NoBrush);
    painter.fillRect(QRect(left, top, right - left, t), TitleShade);
    if (style.drawLines) {
        painter.drawLine(left, top + t, right, top + t);
    }
    if (style.drawBorder) {
        painter.drawRect(QRect(left, top, right - left, (1 + piece.rowCount) * t));
    }
    painter.setFont(fontForCell(style.fontFamily, geometry.contentFontHeight));
    drawTextAt(painter, left + 2, top + 1, right - left - 4, t - 1, block.path);

    for (int i = 0; i < piece.rowCount; ++i) {
        const int row = piece.firstRow + i;
        const int rowTop = top + (1 + i) * t;
        if (block.kind == KindTable) {
            if (row < block.cells.size()) {
                paintTableRow(painter, geometry, style, block, row, rowTop);
            }
            continue;
        }
        if (row < block.lines.size()) {
            drawTextAt(painter, left + indent, rowTop + 2, right - left - indent - 2, t - 2, block.lines.at(row));
        }
        // A key's user name and password each have a rule below them.
        if (block.kind == KindKey && row < 2 && style.drawLines) {
            painter.drawLine(left, rowTop + t, right, rowTop + t);
        }
    }
}
