#pragma once

#include <QByteArray>
#include <QString>

class Clock;
class ElementTree;

// Builds a tree (empty at the start) from the JSON that export writes:
// {"elements":[{"path":[...],"kind":K,"selected":S,"content":"…","detail":"…",
//   "comment":"…","blob":"base64" or null,"created":"…","modified":"…"}, …]}
//
// - "path" (names from the top level down) and "kind" (0 folder, 2 text entry, 3 key,
//   4 file, 5 table) are required; "selected" defaults to the kind's own code (1 for
//   folders), the texts to empty, "created" and "modified" to now, "blob" to null. Any
//   other field is refused, so a misspelt one does not vanish unnoticed.
// - Texts (UTF-8) become the code page's bytes; a character it cannot carry is refused,
//   naming the element and the field. A name holding "<>" is refused: the database file
//   separates names with it.
// - A blob of "" is the same as null: the file stores an attachment only with at least one
//   byte, so an empty one would not come back.
// - The elements may come in any order. A folder on an element's path that has no element
//   of its own (yet) is created as an empty folder stamped now and takes the data of its
//   own element when that comes, as loading a database does; only folders hold elements.
// - Two elements with the same path (two siblings with one name) are refused.
//
// The JSON is wiped as soon as it is parsed (it holds every password in clear), which also
// frees it before the tree fills. Returns an empty string on success, else the reason.
QString readTreeJson(QByteArray json, ElementTree &tree, const Clock &clock);
