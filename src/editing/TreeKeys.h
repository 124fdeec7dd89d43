#pragma once

#include <Qt>

// The element commands the tree's own keys give. While a label is being edited the keys
// belong to the label editor (Del deletes characters there, not the element).
namespace TreeKeys {

enum class Command { None, Copy, Cut, Paste, Delete };

// Ctrl without Shift plus C, X or V: copy, cut, paste. Del without Ctrl and without
// Shift: delete (with the question). Anything else, and everything while labelEditing:
// none. The keypad flag does not count.
Command commandFor(int key, Qt::KeyboardModifiers modifiers, bool labelEditing);

} // namespace TreeKeys
