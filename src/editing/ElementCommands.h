#pragma once

#include "document/ElementTree.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

class Clock;
class LanguageStore;
struct Settings;

// The logic of adding, deleting and renaming elements, over the ElementTree alone: the
// window asks, shows and selects; these decide. No widgets here.
namespace ElementCommands {

// The largest file a file element can hold: its bytes travel as one table cell of
// "<CT_STREAM>" and two hex digits per byte, and a cell's length is a 32-bit number.
inline constexpr qint64 MaxFileBytes = (qint64(0x7FFFFFFF) - 11) / 2;

// The name of a new element of this kind: "NewEntryValue" expanded when "SetNewEntry" is
// on and the pattern is not empty, else "New key", "New entry" or "New folder" in the
// current language.
QByteArray defaultName(NewElement what, const LanguageStore &language, const Settings &settings,
                       const Clock &clock);

// Adds a fresh element (empty texts, Created = Modified = now) by the placement rule,
// named name or the first free name after it (name0, name1, ...). Null, with nothing
// added, where the element would be nested deeper than ElementTree::MaxDepth levels.
ElementNode *addElement(ElementTree &tree, NewElement what, ElementNode *selected, const QByteArray &name,
                        const Clock &clock);

// A file element's data: Detail is the file name without its folder, Blob its bytes.
ElementData fileElementData(const QString &path, QByteArray bytes, const Clock &clock);
// The name a file element gets: the file name without its folder, in code-page bytes;
// empty when the code page cannot carry it.
QByteArray fileElementName(const QString &path);

// Why a file cannot be attached, checked before anything is read.
enum class FileProblem { None, Missing, NotAFile, TooLarge, NameNotStorable };
FileProblem checkFileToAttach(const QString &path);

// Reads the whole file in chunks. progress(done, total) is called after each chunk and
// may return false to cancel. Nothing on failure or cancel (what was read is wiped).
std::optional<QByteArray> readWholeFile(const QString &path,
                                        const std::function<bool(qint64 done, qint64 total)> &progress = {});

// Why a name cannot be given to node.
enum class NameProblem {
    None,
    Empty,      // an element needs a name
    Separator,  // "<>" separates the names of a path in the file: it would not read back
    Duplicate,  // a sibling already bears it (exactly, case-sensitive)
};
NameProblem checkName(const ElementTree &tree, const ElementNode *node, QByteArrayView name);
// A name that can be stored at all (not empty, no "<>"), wherever it goes.
NameProblem checkNameText(QByteArrayView name);

// The node to select after node is deleted: its next sibling, else its previous
// sibling, else its parent (null at the top level of an emptied tree).
ElementNode *selectionAfterDelete(const ElementNode *node);

} // namespace ElementCommands
