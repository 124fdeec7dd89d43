#pragma once

#include "PrintBlocks.h"
#include "PrintLayout.h"
#include "PrintPainter.h"

#include <QList>
#include <QSize>

#include <vector>

class ElementNode;
class ElementTree;
class QPagedPaintDevice;
class QPainter;

// The printed pages of a range of elements: their blocks, laid out on pages of a fixed
// number of lines. Paginating measures every element of the range once; a page's blocks
// are built only when it is drawn, so even a large database is quick to open and to page
// through. The tree must outlive the document and stay unchanged while it is used.
class PrintDocument
{
public:
    PrintDocument(const ElementTree &tree, const PrintOptions &options, int linesPerPage);

    // Elements from first (inclusive) to end (exclusive), numbered in the tree's absolute
    // order; clamped to the tree. Paginates.
    void setRange(int first, int end);
    int first() const { return m_first; }
    int end() const { return m_first + int(m_elements.size()); }
    int linesPerPage() const { return m_linesPerPage; }

    int pageCount() const { return int(m_pages.size()); }
    const QList<PageStart> &pages() const { return m_pages; }
    // The blocks of a page (from 1), each element by its index in the range.
    QList<BlockPiece> piecesOf(int page) const;
    const ElementNode *element(int index) const { return m_elements.at(std::size_t(index)); }

    // Draws page (from 1) on a page of size pixels: the header with "(page / pages)" when
    // the style asks for it, then the page's blocks.
    void paintPage(QPainter &painter, QSize size, int page, const PrintStyle &style) const;
    // Every page in order onto the device, a new sheet each; false when the device cannot
    // be painted on.
    bool print(QPagedPaintDevice &device, const PrintStyle &style) const;

private:
    void paginate();

    const ElementTree &m_tree;
    PrintOptions m_options;
    int m_linesPerPage;
    int m_first = 0;
    std::vector<const ElementNode *> m_elements;
    std::vector<PrintBlockSize> m_sizes;
    QList<PageStart> m_pages;
};

// The name of every print job: "Brightway Vaultbase - " and the database's file name.
QString printJobName(const QString &databasePath);
