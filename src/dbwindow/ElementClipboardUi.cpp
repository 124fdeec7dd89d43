#include "ElementClipboardUi.h"

#include "ElementClipboard.h"

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
    clipboard->setMimeData(ElementClipboard::MakeMimeData(block, clipboard->mimeData()));
    return ElementClipboard::HoldsBlock(clipboard->mimeData(), block);
}

std::optional<QByteArray> ClipboardBlock()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? ElementClipboard::ReadBlock(clipboard->mimeData()) : std::nullopt;
}

QMimeData *DragData(const QByteArray &block)
{
    return ElementClipboard::MakeMimeData(block);
}

} // namespace ElementClipboardUi
