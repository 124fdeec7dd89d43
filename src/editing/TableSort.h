#pragma once

#include <QStringView>

#include <optional>

class Clock;
class ElementNode;
class ElementTree;
class TableGrid;
class Table;

// "Sort data": sorts rows of a table element's stored table by one column, ignoring the
// case of A to Z, with the table's own row sort. The dialog counts columns and rows from
// 1; the sort never reaches the three settings rows above the grid.
namespace TableSort {

// What the sort dialog (SortDialog) holds, counted from 1, rows inclusive.
struct Request {
    int column = 1;
    int startRow = 1;
    int endRow = 1;
    bool ascending = true;
};

// A field's number; letters, 0 and anything below count as 1.
int fieldValue(QStringView text);

// The end row the dialog proposes: the grid rows before the first one whose first cell
// is empty, or the row count when there is none.
int proposedEndRow(const TableGrid &grid);

// The stored rows (counted from 0, the grid starting at stored row 3) and the column a
// request sorts, kept within the data rows; nothing when no two rows are to be sorted or
// the column lies outside the table.
struct StoredRange {
    int column = 0;
    int fromRow = 0;
    int toRow = 0;
};
std::optional<StoredRange> storedRangeFor(const Request &request, int storedColumns, int storedRows);

// Sorts stored (a table element's table, settings rows included) as requested. False
// when there is nothing to sort.
bool sortStored(Table &stored, const Request &request);

// Sort data on a table element: reads its stream, sorts, stores the sorted table as its
// new record (Content, Detail and Comment empty, Created kept, Modified now). False, with
// nothing changed, when node has no readable stream or nothing is to be sorted. On true
// the window runs loadTable and sets the modified flag.
bool sortTableData(ElementTree &tree, ElementNode *node, const Request &request, const Clock &clock);

} // namespace TableSort
