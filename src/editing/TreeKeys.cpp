#include "TreeKeys.h"

namespace TreeKeys {

Command commandFor(int key, Qt::KeyboardModifiers modifiers, bool labelEditing)
{
    if (labelEditing) {
        return Command::None;
    }
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    if (key == Qt::Key_Delete) {
        return !ctrl && !shift ? Command::Delete : Command::None;
    }
    if (!ctrl || shift) {
        return Command::None;
    }
    switch (key) {
    case Qt::Key_C: return Command::Copy;
    case Qt::Key_X: return Command::Cut;
    case Qt::Key_V: return Command::Paste;
    default: return Command::None;
    }
}

} // namespace TreeKeys
