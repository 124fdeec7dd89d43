#include "ElementClipboard.h"

#include "document/ClipboardFormat.h"
#include "document/ElementTree.h"
#include "document/TreeTable.h"

#include <QMimeData>
#include <QStringList>

#include <new>
#include <vector>

namespace ElementClipboard {

namespace {

const QString &mimeType()
{
    static const QString type = QString::fromLatin1(ClipboardFormat::MimeType);
    return type;
}

// Images and colours live in mime data as values, not bytes: they are carried as such.
const QString kImageFormat = QStringLiteral("application/x-qt-image");
const QString kColorFormat = QStringLiteral("application/x-color");

bool isElementTable(qint32 columns, qint32 rows)
{
    return columns == TreeTable::TreeColumns && rows >= 1;
}

bool readBinary(ElementTree &elements, QByteArrayView block, bool &tooDeep)
{
    qint32 columns = 0;
    qint32 rows = 0;
    if (!Table::readBinaryHeader(block, columns, rows) || !isElementTable(columns, rows)) {
        return false;
    }
    TreeTable table;
    const bool read = table.importBinaryStream(elements, block, nullptr, false);
    tooDeep = table.tooDeep();
    return read;
}

bool readText(ElementTree &elements, QByteArrayView block, bool &tooDeep)
{
    TreeTable table;
    if (!table.readText(block) || !isElementTable(table.columnCount(), table.rowCount())) {
        return false;
    }
    const bool read = table.importTree(elements, nullptr, false);
    tooDeep = table.tooDeep();
    return read;
}

} // namespace

QByteArray buildBlock(const ElementTree &tree, const ElementNode *node)
{
    return node ? TreeTable::writeTreeBinary(tree, node) : QByteArray();
}

QMimeData *makeMimeData(const QByteArray &block, const QMimeData *keep)
{
    auto *mime = new QMimeData;
    if (keep) {
        const QStringList formats = keep->formats();
        for (const QString &format : formats) {
            if (format == mimeType() || format == kImageFormat || format == kColorFormat) {
                continue;
            }
            mime->setData(format, keep->data(format));
        }
        if (keep->hasImage()) {
            mime->setImageData(keep->imageData());
        }
        if (keep->hasColor()) {
            mime->setColorData(keep->colorData());
        }
    }
    mime->setData(mimeType(), block);
    return mime;
}

std::optional<QByteArray> readBlock(const QMimeData *mime)
{
    if (!mime || !mime->hasFormat(mimeType())) {
        return std::nullopt;
    }
    return mime->data(mimeType());
}

bool holdsBlock(const QMimeData *mime, const QByteArray &block)
{
    const std::optional<QByteArray> held = readBlock(mime);
    return !block.isEmpty() && held && *held == block;
}

std::unique_ptr<ElementTree> readBlockTree(QByteArrayView block, bool *tooDeep)
{
    bool deep = false;
    if (tooDeep) {
        *tooDeep = false;
    }
    try {
        auto elements = std::make_unique<ElementTree>();
        if (!readBinary(*elements, block, deep)) {
            // A refused binary stream may have added nothing or a part: start afresh.
            elements = std::make_unique<ElementTree>();
            if (deep || !readText(*elements, block, deep)) {
                if (tooDeep) {
                    *tooDeep = deep;
                }
                return nullptr;
            }
        }
        elements->setSorted(true);
        if (elements->isEmpty()) {
            return nullptr;
        }
        return elements;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

ElementNode *pasteParent(ElementNode *selected)
{
    if (!selected) {
        return nullptr;
    }
    return selected->isFolder() ? selected : selected->parent();
}

PasteResult pasteElements(ElementTree &tree, ElementNode *selected, ElementTree &elements)
{
    PasteResult result;
    result.treeWasEmpty = tree.isEmpty();
    ElementNode *parent = pasteParent(selected);
    if (ElementTree::depthOf(parent) + elements.heightOf(nullptr) > ElementTree::MaxDepth) {
        result.tooDeep = true;
        return result;
    }
    const bool wasSorted = tree.isSorted();
    // Appended while sorting is off, each level is sorted once at the end.
    tree.setSorted(false);
    std::vector<ElementNode *> tops;
    struct Pending {
        ElementNode *source;
        ElementNode *target; // the parent the copy of source goes under
    };
    std::vector<Pending> pending;
    try {
        for (int i = elements.childCount(nullptr) - 1; i >= 0; --i) {
            pending.push_back({elements.childAt(nullptr, i), parent});
        }
        tops.reserve(pending.size());
        while (!pending.empty()) {
            const Pending next = pending.back();
            pending.pop_back();
            ElementNode *source = next.source;
            ElementNode *copy = tree.insertElement(next.target, source->name(), source->kind(), source->selectedCode(),
                                                   std::move(source->data()));
            ++result.added;
            if (next.target == parent) {
                // Only the arriving element can meet a name already there.
                tops.push_back(copy);
                tree.setName(copy, tree.makeUniqueName(copy, true));
            }
            for (int i = source->childCount() - 1; i >= 0; --i) {
                pending.push_back({source->child(i), copy});
            }
        }
    } catch (const std::bad_alloc &) {
        // What arrived so far goes again: a paste arrives whole or not at all.
        for (ElementNode *top : tops) {
            tree.deleteSubtree(top);
        }
        tree.setSorted(wasSorted);
        return PasteResult{nullptr, result.treeWasEmpty, 0};
    }
    tree.setSorted(wasSorted);
    result.pasted = tops.empty() ? nullptr : tops.front();
    result.arrived = QList<ElementNode *>(tops.begin(), tops.end());
    return result;
}

PasteResult pasteBlock(ElementTree &tree, ElementNode *selected, QByteArrayView block)
{
    bool tooDeep = false;
    std::unique_ptr<ElementTree> elements = readBlockTree(block, &tooDeep);
    if (!elements) {
        PasteResult nothing;
        nothing.treeWasEmpty = tree.isEmpty();
        nothing.tooDeep = tooDeep;
        return nothing;
    }
    return pasteElements(tree, selected, *elements);
}

bool copyElement(const ElementTree &tree, const ElementNode *node, const PlaceBlock &place)
{
    const QByteArray block = buildBlock(tree, node);
    return !block.isEmpty() && place && place(block);
}

bool cutElement(ElementTree &tree, ElementNode *node, const PlaceBlock &place)
{
    if (!copyElement(tree, node, place)) {
        return false;
    }
    return tree.deleteSubtree(node);
}

} // namespace ElementClipboard
