#pragma once

#include "platform/SecretFile.h"

#include <QString>

#include <functional>

class TableGrid;

// CSV import and export of the table grid: ";"-separated fields, records ended by CR LF,
// no quoting (the table's own CSV format).
namespace TableCsv {

enum class ImportResult {
    Imported,
    Unreadable, // no file, an empty file or one that cannot be read
    TooLarge,   // more columns, rows or cells than a grid can have (10 million cells at most)
    Cancelled,  // progress said stop
};

// Called now and then with the rows taken so far and the rows in all; false cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Reads path with spaces trimmed from the fields, then gives the grid the file's size
// (the column and row boxes show the new counts; the width stays) and every cell whole,
// however long. The grid changes only when the result is Imported; the window then
// stores the table and sets the modified flag. A file that ends with CR LF gives an
// empty last row.
ImportResult importFile(TableGrid &grid, const QString &path, const Progress &progress = {});

// Writes every cell of the grid, each row ended by two spaces and CR LF, to an owner-only
// file. False when the file cannot be written.
bool exportFile(const TableGrid &grid, const QString &path, SecretFile::Failure *failure = nullptr);

} // namespace TableCsv
