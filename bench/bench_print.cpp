// The print preview's work on large databases: opening it (measuring every element of the
// range to paginate, then drawing page 1 as the preview's image) for 10,000 and 100,000
// elements, and drawing one page deep inside, whose cost must not grow with the database.
// The goal: a 10,000-element database opens in under a second. Links no widgets.
#include "document/ElementTree.h"
#include "document/TableElement.h"
#include "document/Table.h"
#include "tools/PrintDocument.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

// A preview image of an A4 page at the screen's 96 dots per inch.
const QSize PreviewPage(794, 1123);

ElementData data(QByteArray content, QByteArray detail = {}, QByteArray comment = {})
{
    ElementData d;
    d.Content = std::move(content);
    d.Detail = std::move(detail);
    d.Comment = std::move(comment);
    return d;
}

// Folders of 50 elements: keys with a comment (every third in RTF), notes of a few lines
// (every fourth in RTF) and a small table in each folder.
void fill(ElementTree &tree, int elements)
{
    Table grid;
    grid.initSize(4, 6);
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 4; ++c) {
            grid.setCell(c, r, "cell " + QByteArray::number(r * 4 + c));
        }
    }
    const QByteArray table = TableElement::buildStream(TableElement::GridSettings(), grid);
    tree.setSorted(false);
    ElementNode *folder = nullptr;
    for (int i = 0; i < elements; ++i) {
        const QByteArray name = "Element " + QByteArray::number(i);
        if (i % 50 == 0) {
            folder = tree.insertElement(nullptr, name, KindFolder, KindOpenFolder, data("Folder note"));
        } else if (i % 50 == 1) {
            ElementData grid = data(QByteArray());
            grid.setBlob(table);
            tree.insertElement(folder, name, KindTable, KindTable, grid);
        } else if (i % 2 == 0) {
            const QByteArray comment = i % 3 == 0 ? "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 PIN card\\par "
                                                    "\\b valid\\b0  until 2030\\par}"
                                                  : "PIN card\r\nvalid until 2030";
            tree.insertElement(folder, name, KindKey, KindKey, data("user" + QByteArray::number(i), "Secret#1", comment));
        } else {
            const QByteArray text = i % 4 == 1 ? "{\\rtf1\\ansi first line\\par second line\\par\\par third line\\par}"
                                               : "first line\r\nsecond line\r\n\r\nthird line";
            tree.insertElement(folder, name, KindEntry, KindEntry, data(text));
        }
    }
    tree.setSorted(true);
}

void paint(const PrintDocument &document, int page)
{
    QImage image(PreviewPage, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PrintStyle style;
    style.title = QStringLiteral("Bank.kvdb");
    style.fontFamily = QStringLiteral("DejaVu Sans");
    style.pageNumbers = true;
    document.paintPage(painter, PreviewPage, page, style);
}

void BM_OpenPreview(benchmark::State &state)
{
    ElementTree tree;
    fill(tree, int(state.range(0)));
    int pages = 0;
    for (auto _ : state) {
        const PrintDocument document(tree, PrintOptions(), printLinesPerPage(13));
        paint(document, 1);
        pages = document.pageCount();
    }
    state.SetItemsProcessed(state.iterations() * tree.count());
    state.counters["pages"] = pages;
}
BENCHMARK(BM_OpenPreview)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PaintPageDeepInside(benchmark::State &state)
{
    ElementTree tree;
    fill(tree, int(state.range(0)));
    const PrintDocument document(tree, PrintOptions(), printLinesPerPage(13));
    const int page = document.pageCount() * 9 / 10;
    for (auto _ : state) {
        paint(document, page);
    }
}
BENCHMARK(BM_PaintPageDeepInside)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // fonts, not a display
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
