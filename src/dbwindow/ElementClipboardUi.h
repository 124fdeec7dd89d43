#pragma once

#include <QByteArray>

#include <optional>

class QMimeData;

// The element clipboard block on the system clipboard (QGuiApplication::clipboard()),
// which carries it between database windows and between running programs. The rules of
// the block itself are ElementClipboard's.
namespace ElementClipboardUi {

// Adds block to the clipboard beside the formats already there (they are copied into
// the new data, so text the user copied before stays). True only when the clipboard
// holds exactly this block afterwards: a cut deletes nothing otherwise.
bool PlaceBlock(const QByteArray &block);

// The block on the clipboard, in whichever stream form it came; nothing when the
// clipboard holds none.
std::optional<QByteArray> clipboardBlock();

// The data a drag of block carries: the block alone, under our type. The user's
// clipboard is left as it is.
QMimeData *dragData(const QByteArray &block);

} // namespace ElementClipboardUi
