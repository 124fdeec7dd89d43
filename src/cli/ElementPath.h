#pragma once

#include <QString>

class ElementNode;
class ElementTree;

// The element a path names: its names from the top level down joined by " > ", as ls
// prints them (UTF-8 on the command line, the code page's bytes in the tree). A name may
// itself hold " > ": every way of reading the path is tried, the first element in tree
// order wins. Null when no element has the path.
const ElementNode *findElementByPath(const ElementTree &tree, const QString &path);
