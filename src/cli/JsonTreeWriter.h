#pragma once

class ElementTree;
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
