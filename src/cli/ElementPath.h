#pragma once

#include <QString>

class ElementNode;
class ElementTree;

// The element a path names: its names from the top level down joined by " > ", as ls
// prints them (UTF-8 on the command line, the code page's bytes in the tree). A name may
// itself hold " > ": every way of reading the path is tried, the first element in tree
// order wins. Null when no element has the path.
const ElementNode *findElementByPath(const ElementTree &tree, const QString &path);

inline ElementNode *findElementByPath(ElementTree &tree, const QString &path)
{
    return const_cast<ElementNode *>(findElementByPath(static_cast<const ElementTree &>(tree), path));
}

// The separator of the names of a path on the command line.
inline constexpr QLatin1StringView PathSeparator(" > ");

// A path cut before its last name: {"A > B", "C"} for "A > B > C", {"", "C"} for "C".
struct SplitPath {
    QString parent;
    QString name;
};
SplitPath splitLastName(const QString &path);

// The path of node as the command line names it (UTF-8 on the terminal).
QString shownPath(const ElementTree &tree, const ElementNode *node);
