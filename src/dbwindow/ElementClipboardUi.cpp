#include "ElementClipboardUi.h"

#include "editing/ElementClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace ElementClipboardUi {

bool PlaceBlock(const QByteArray &block)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (block.isEmpty() || !clipboard) {
        return false;
    }
    clipboard->setMimeData(ElementClipboard::makeMimeData(block, clipboard->mimeData()));
    return ElementClipboard::holdsBlock(clipboard->mimeData(), block);
}

std::optional<QByteArray> clipboardBlock()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? ElementClipboard::readBlock(clipboard->mimeData()) : std::nullopt;
}

QMimeData *dragData(const QByteArray &block)
{
    return ElementClipboard::makeMimeData(block);
}

} // namespace ElementClipboardUi
