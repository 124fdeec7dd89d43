// The database window's element and table operations at sizes beyond everyday use, each
// next to its reference where one exists: find entry over 100,000 elements when nothing
// matches (the whole tree is read), replace all in a 10,000-row column, sort data on a
// 100,000-row table element next to the table's own row sort, CSV import of 100,000 rows
// next to the table's CSV reader, and the store and load that follow every edit of such a
// table; the paste of a copied 10,000-element folder and its delete, the delete kept for
// undo next to the delete that frees at once, and the undo of that delete. Goal: none above
// one second; an undone delete back in at most the time of the paste.
#include "editing/DatabaseDocument.h"
#include "editing/DocumentCommands.h"
#include "editing/ElementClipboard.h"
#include "editing/ElementSearch.h"
#include "editing/TableCsv.h"
#include "editing/TableGrid.h"
#include "editing/TableReplace.h"
#include "editing/TableSort.h"
#include "editing/TableStorage.h"
#include "document/ElementTree.h"
#include "document/Table.h"
#include "platform/Clock.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr int TreeElements = 100000;
constexpr int TableRows = 100000;
constexpr int TableColumns = 5;
constexpr int ReplaceRows = 10000;

const FixedClock &clock()
{
    static const FixedClock fixed(QDateTime(QDate(2024, 1, 1), QTime(12, 0)));
    return fixed;
}

QByteArray word(QRandomGenerator &random, int length)
{
    QByteArray text(length, 'a');
    for (char &c : text) {
        c = char('a' + random.bounded(26));
    }
    return text;
}

// A grid of random words, the first column unique enough to give the sort work.
TableGrid randomGrid(int rows, int columns, quint32 seed)
{
    QRandomGenerator random(seed);
    TableGrid grid;
    grid.resize(columns, rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            grid.setCell(c, r, word(random, 4 + random.bounded(12)));
        }
    }
    return grid;
}

// One element in 20 a folder, keys with user name, password and comment, one in 50 a
// small table; no name, content or comment holds the search text "Q9z" in any case.
std::unique_ptr<ElementTree> makeTree(int elements)
{
    auto tree = std::make_unique<ElementTree>();
    tree->setSorted(false);
    QRandomGenerator random(7);
    const QByteArray table = TableStorage::buildStream(randomGrid(10, 4, 3));
    ElementNode *folder = nullptr;
    for (int i = 0; i < elements; ++i) {
        ElementData data;
        data.Created = "2024-01-01 12:00:00";
        data.Modified = data.Created;
        if (i % 20 == 0) {
            folder = tree->insertElement(nullptr, "Folder " + QByteArray::number(i), KindFolder, KindOpenFolder,
                                         std::move(data));
        } else if (i % 50 == 1) {
            data.setBlob(table);
            tree->insertElement(folder, "Table " + QByteArray::number(i), KindTable, KindTable, std::move(data));
        } else {
            data.Content = "user" + QByteArray::number(i) + "@example.org";
            data.Detail = word(random, 16);
            data.Comment = "Account opened for the " + QByteArray::number(i % 97) + ". project; PIN in the drawer";
            tree->insertElement(folder, "Key " + word(random, 8), KindKey, KindKey, std::move(data));
        }
    }
    tree->setSorted(true);
    return tree;
}

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString csvFile()
{
    static const QString path = [] {
        const QString file = workDir().filePath(QStringLiteral("rows.csv"));
        const TableGrid grid = randomGrid(TableRows, TableColumns, 11);
        TableCsv::exportFile(grid, file);
        return file;
    }();
    return path;
}

void FindEntryNoMatch(benchmark::State &state)
{
    const std::unique_ptr<ElementTree> tree = makeTree(TreeElements);
    const bool matchCase = state.range(0) != 0;
    for (auto _ : state) {
        ElementSearch search;
        search.startOver();
        ElementNode *found = search.findNext(tree->firstRoot(), "Q9z", ElementSearch::Options{true, matchCase});
        benchmark::DoNotOptimize(found);
        if (found) {
            state.SkipWithError("unexpected match");
        }
    }
    state.SetItemsProcessed(state.iterations() * TreeElements);
}

void ReplaceAllInColumn(benchmark::State &state)
{
    TableGrid grid = randomGrid(ReplaceRows, 3, 5);
    for (int r = 0; r < ReplaceRows; ++r) {
        grid.setCell(1, r, "row " + QByteArray::number(r) + " old text");
    }
    TableReplace replace;
    replace.open(1, 0, false);
    bool forth = true;
    for (auto _ : state) {
        const int changed = forth ? replace.replaceAll(grid, "old", "new") : replace.replaceAll(grid, "new", "old");
        forth = !forth;
        if (changed != ReplaceRows) {
            state.SkipWithError("not every row replaced");
        }
    }
    state.SetItemsProcessed(state.iterations() * ReplaceRows);
}

// Sort data as the window runs it: read the element's stream, sort, store it again.
void SortData(benchmark::State &state)
{
    ElementTree tree;
    ElementNode *table = tree.insertElement(nullptr, "T", KindTable, KindTable, ElementData());
    const QByteArray unsorted = TableStorage::buildStream(randomGrid(TableRows, TableColumns, 9));
    for (auto _ : state) {
        state.PauseTiming();
        table->data().setBlob(unsorted);
        state.ResumeTiming();
        const bool sorted = TableSort::sortTableData(tree, table, {1, 1, TableRows, true}, clock());
        if (!sorted) {
            state.SkipWithError("not sorted");
        }
    }
    state.SetItemsProcessed(state.iterations() * TableRows);
}

// The table's row sort alone, on the same rows.
void SortReference(benchmark::State &state)
{
    const QByteArray unsorted = TableStorage::buildStream(randomGrid(TableRows, TableColumns, 9));
    for (auto _ : state) {
        state.PauseTiming();
        Table stored;
        stored.readBinary(unsorted);
        state.ResumeTiming();
        stored.sort(0, true, 3, TableRows + 2, true);
    }
    state.SetItemsProcessed(state.iterations() * TableRows);
}

void CsvImport(benchmark::State &state)
{
    const QString path = csvFile();
    for (auto _ : state) {
        TableGrid grid;
        if (TableCsv::importFile(grid, path, [](qint64, qint64) { return true; }) != TableCsv::ImportResult::Imported) {
            state.SkipWithError("import failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * TableRows);
}

// The table's CSV reader alone on the same file.
void CsvImportReference(benchmark::State &state)
{
    const QString path = csvFile();
    for (auto _ : state) {
        Table table;
        benchmark::DoNotOptimize(table.importCsv(path, true));
    }
    state.SetItemsProcessed(state.iterations() * TableRows);
}

// storeTable runs after every key typed into the grid.
void StoreTable(benchmark::State &state)
{
    ElementTree tree;
    ElementNode *table = tree.insertElement(nullptr, "T", KindTable, KindTable, ElementData());
    const TableGrid grid = randomGrid(int(state.range(0)), TableColumns, 13);
    for (auto _ : state) {
        TableStorage::storeTable(tree, table, grid, clock());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void LoadTable(benchmark::State &state)
{
    ElementData record;
    record.setBlob(TableStorage::buildStream(randomGrid(int(state.range(0)), TableColumns, 13)));
    for (auto _ : state) {
        TableGrid grid;
        TableStorage::loadTable(grid, record);
        benchmark::DoNotOptimize(grid.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

constexpr int SubtreeElements = 10000;

// A copied folder of 10,000 elements: one top folder carrying the test tree's top level.
const QByteArray &subtreeBlock()
{
    static const QByteArray block = [] {
        const std::unique_ptr<ElementTree> source = makeTree(SubtreeElements);
        ElementTree whole;
        ElementNode *top = whole.insertElement(nullptr, "All", KindFolder, KindOpenFolder, ElementData());
        for (int i = 0; i < source->childCount(nullptr); ++i) {
            ElementClipboard::pasteBlock(whole, top, ElementClipboard::buildBlock(*source, source->childAt(nullptr, i)));
        }
        return ElementClipboard::buildBlock(whole, top);
    }();
    return block;
}

// A document holding a folder "Target" and, unless empty, the copied subtree pasted into it.
std::unique_ptr<DatabaseDocument> makeDocument(bool withSubtree)
{
    auto document = std::make_unique<DatabaseDocument>();
    ElementNode *target =
        document->tree().insertElement(nullptr, "Target", KindFolder, KindOpenFolder, ElementData());
    if (withSubtree) {
        ElementClipboard::pasteBlock(document->tree(), target, subtreeBlock());
    }
    return document;
}

// The pasted subtree's top folder.
ElementNode *pastedFolder(DatabaseDocument &document)
{
    ElementNode *target = document.tree().firstRoot();
    return target && target->childCount() > 0 ? target->child(0) : nullptr;
}

// Paste as the window runs it: the block read into the tree, then the arrival kept for undo.
void PasteSubtree(benchmark::State &state)
{
    const QByteArray &block = subtreeBlock();
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<DatabaseDocument> document = makeDocument(false);
        state.ResumeTiming();
        const ElementClipboard::PasteResult pasted =
            ElementClipboard::pasteBlock(document->tree(), document->tree().firstRoot(), block);
        if (!pasted) {
            state.SkipWithError("paste failed");
            break;
        }
        document->push(new InsertElementsCommand(*document, pasted.arrived, QStringLiteral("Paste")));
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (SubtreeElements + 1));
}

// The delete that frees the elements at once, as it was before deletes could be undone.
void DeleteSubtree(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<DatabaseDocument> document = makeDocument(true);
        ElementNode *folder = pastedFolder(*document);
        state.ResumeTiming();
        if (!document->tree().deleteSubtree(folder)) {
            state.SkipWithError("delete failed");
            break;
        }
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (SubtreeElements + 1));
}

// The undoable delete (range 0) and its undo (range 1): the subtree kept aside and put back.
void DeleteAndUndoSubtree(benchmark::State &state)
{
    const bool timeUndo = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<DatabaseDocument> document = makeDocument(true);
        ElementNode *folder = pastedFolder(*document);
        const int before = document->tree().count();
        if (!timeUndo) {
            state.ResumeTiming();
        }
        document->push(new RemoveElementCommand(*document, folder, document->tree().firstRoot(),
                                                QStringLiteral("Delete")));
        if (timeUndo) {
            state.ResumeTiming();
            document->undoStack().undo();
        }
        state.PauseTiming();
        if (document->tree().count() != (timeUndo ? before : before - SubtreeElements - 1)) {
            state.SkipWithError("wrong element count");
        }
        document.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (SubtreeElements + 1));
}

} // namespace

BENCHMARK(FindEntryNoMatch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceAllInColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(SortData)->Unit(benchmark::kMillisecond);
BENCHMARK(SortReference)->Unit(benchmark::kMillisecond);
BENCHMARK(CsvImport)->Unit(benchmark::kMillisecond);
BENCHMARK(CsvImportReference)->Unit(benchmark::kMillisecond);
BENCHMARK(StoreTable)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadTable)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PasteSubtree)->Unit(benchmark::kMillisecond);
// Each iteration sets up a document with the subtree untimed: a fixed count keeps them short.
BENCHMARK(DeleteSubtree)->Iterations(50)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteAndUndoSubtree)->ArgName("undo")->Arg(0)->Arg(1)->Iterations(50)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
