#pragma once

#include <QByteArray>

class Clock;
class ElementNode;
class ElementTree;
class TableGrid;
struct ElementData;

// A table element's content and its grid: the element keeps the grid as a binary table
// stream whose rows 0 to 2 hold the bar's texts in column 0 and whose rows from 3 on hold
// the grid (TableElement).
namespace TableStorage {

// The stream of grid: its columns x (rows + 3) cells, the box texts in column 0 of rows 0
// to 2 (their other cells written as not stored). Empty when a cell is too long for the
// stream's 32-bit lengths.
QByteArray buildStream(const TableGrid &grid);

// storeTable: node's record becomes a new one with Content, Detail and Comment empty, the
// grid's stream as Blob, Created kept and Modified now; the old stream is wiped. False,
// with nothing changed, when node is no table or the stream cannot be built. The window
// sets the modified flag.
bool storeTable(ElementTree &tree, ElementNode *node, const TableGrid &grid, const Clock &clock);

// The record replacement of storeTable with a stream built elsewhere (a sorted table).
bool storeStream(ElementTree &tree, ElementNode *node, QByteArray stream, const Clock &clock);

// loadTable: every cell of grid emptied; when record's Blob reads (either stream form),
// the stored box texts that are not empty replace grid's and give its size, and the
// stored cells fill it, each whole however long (no read-back limit). Without a readable
// Blob (a new table) grid keeps its size and box texts. True when the Blob was read.
bool loadTable(TableGrid &grid, const ElementData &record);

} // namespace TableStorage
