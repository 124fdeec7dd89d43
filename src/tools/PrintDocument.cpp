#include "PrintDocument.h"

#include "document/ElementTree.h"

#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>

PrintDocument::PrintDocument(const ElementTree &tree, const PrintOptions &options, int linesPerPage)
    : m_tree(tree), m_options(options), m_linesPerPage(linesPerPage)
{
    setRange(0, tree.count());
}

void PrintDocument::setRange(int first, int end)
{
    m_first = std::clamp(first, 0, m_tree.count());
    end = std::clamp(end, m_first, m_tree.count());
    m_elements.clear();
    m_elements.reserve(std::size_t(end - m_first));
    const ElementNode *node = m_tree.nodeAt(m_first);
    for (int i = m_first; i < end && node; ++i, node = m_tree.nextInOrder(node)) {
        m_elements.push_back(node);
    }
    paginate();
}

void PrintDocument::paginate()
{
    m_sizes.clear();
    m_sizes.reserve(m_elements.size());
    for (const ElementNode *node : m_elements) {
        m_sizes.push_back(printBlockSizeOf(*node, m_options));
    }
    m_pages = paginateBlocks(m_sizes, m_linesPerPage);
}

QList<BlockPiece> PrintDocument::piecesOf(int page) const
{
    QList<BlockPiece> pieces;
    if (page >= 1 && page <= pageCount()) {
        layOutPage(m_sizes, m_pages.at(page - 1), m_linesPerPage, &pieces);
    }
    return pieces;
}

void PrintDocument::paintPage(QPainter &painter, QSize size, int page, const PrintStyle &style) const
{
    const PrintGeometry geometry = PrintGeometry::forPage(size, m_linesPerPage);
    paintPageHeader(painter, geometry, style, page, pageCount());
    for (const BlockPiece &piece : piecesOf(page)) {
        const PrintBlock block = printBlockOf(m_tree, *element(piece.element), m_options);
        paintBlockPiece(painter, geometry, style, block, piece);
    }
}

bool PrintDocument::print(QPagedPaintDevice &device, const PrintStyle &style) const
{
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    const QSize size(device.width(), device.height());
    for (int page = 1; page <= pageCount(); ++page) {
        if (page > 1 && !device.newPage()) {
            return false;
        }
        paintPage(painter, size, page, style);
    }
    return painter.end();
}

QString printJobName(const QString &databasePath)
{
    return QStringLiteral("Brightway Vaultbase - ") + QFileInfo(databasePath).fileName();
}
