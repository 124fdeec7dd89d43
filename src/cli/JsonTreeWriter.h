#pragma once

class ElementNode;
class ElementTree;
#include <QByteArrayView>
class OutputStream;

// Streams the whole tree as JSON, elements in tree order, one a line:
//   {"elements":[
//   {"path":["Bank","PIN"],"kind":3,"selected":3,"content":"…","detail":"…","comment":"…",
//    "blob":null,"created":"…","modified":"…"},
//   ...
//   ]}
// Texts are decoded from the code page and written as UTF-8 (stored RTF stays as stored);
// the blob is base64, or null when the element has none. Nothing is built whole in memory:
// texts are escaped and a blob encoded piece by piece straight into the stream.
void writeTreeJson(const ElementTree &tree, OutputStream &out);

// One element as writeTreeJson writes it (Whole), or only its path, kind codes and times
// (Outline: no texts, no secrets).
enum class ElementJson { Whole, Outline };
void writeElementJson(OutputStream &out, const ElementTree &tree, const ElementNode *node, ElementJson fields);
// The names of node's path as a JSON array of strings.
void writeJsonPath(OutputStream &out, const ElementTree &tree, const ElementNode *node);
// A code-page text as a JSON string.
void writeJsonString(OutputStream &out, QByteArrayView text);
