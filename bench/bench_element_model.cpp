// The tree adapter of the database window against the bare element tree it shows: a walk
// over 100,000 elements, and adding and renaming in a folder of 100,000 siblings with
// the adapter observing, so each step's cost stays independent of the tree's size.
#include "editing/ElementTreeModel.h"
#include "document/ElementTree.h"

#include <benchmark/benchmark.h>

#include <QPersistentModelIndex>

namespace {

constexpr int kElements = 100000;

QByteArray nameOf(int i)
{
    return "Element " + QByteArray::number(i * 7919 % kElements);
}

// kElements elements: one big folder and a hundred folders of a hundred.
void fill(ElementTree &tree, bool oneFolder)
{
    tree.setSorted(false);
    if (oneFolder) {
        ElementNode *folder = tree.insertElement(nullptr, "Folder", KindFolder, KindOpenFolder, ElementData());
        for (int i = 1; i < kElements; ++i) {
            tree.insertElement(folder, nameOf(i), KindKey, KindKey, ElementData());
        }
    } else {
        for (int f = 0; f < 100; ++f) {
            ElementNode *folder = tree.insertElement(nullptr, nameOf(f), KindFolder, KindOpenFolder, ElementData());
            for (int i = 1; i < kElements / 100; ++i) {
                tree.insertElement(folder, nameOf(f * 1000 + i), KindKey, KindKey, ElementData());
            }
        }
    }
    tree.setSorted(true);
}

void BM_TreeWalk(benchmark::State &state)
{
    ElementTree tree;
    fill(tree, false);
    for (auto _ : state) {
        qsizetype bytes = 0;
        for (const ElementNode *n = tree.firstRoot(); n; n = tree.nextInOrder(n)) {
            bytes += n->name().size() + n->row();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * tree.count());
}
BENCHMARK(BM_TreeWalk)->Unit(benchmark::kMillisecond);

// What a view asks per row: the index, its parent, its row count and its text.
void modelWalk(const ElementTreeModel &model, const QModelIndex &parent, qsizetype &bytes)
{
    const int rows = model.rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        bytes += model.data(index).toString().size() + model.parent(index).row();
        modelWalk(model, index, bytes);
    }
}

void BM_ModelWalk(benchmark::State &state)
{
    ElementTree tree;
    fill(tree, false);
    ElementTreeModel model(tree);
    for (auto _ : state) {
        qsizetype bytes = 0;
        modelWalk(model, QModelIndex(), bytes);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * tree.count());
}
BENCHMARK(BM_ModelWalk)->Unit(benchmark::kMillisecond);

// Adding and then deleting one element in a folder of 100,000, with or without the
// adapter observing the tree and a selected element held as a persistent index.
void BM_AddAndDeleteInLargeFolder(benchmark::State &state)
{
    const bool observed = state.range(0) != 0;
    ElementTree tree;
    fill(tree, true);
    std::unique_ptr<ElementTreeModel> model;
    QPersistentModelIndex selected;
    ElementNode *folder = tree.firstRoot();
    if (observed) {
        model = std::make_unique<ElementTreeModel>(tree);
        selected = model->indexOf(folder->child(kElements / 2));
    }
    for (auto _ : state) {
        ElementNode *node = tree.addElement(NewElement::Key, folder, "New key", ElementData());
        tree.deleteSubtree(node);
    }
    state.SetLabel(observed ? "with the adapter" : "bare tree");
}
BENCHMARK(BM_AddAndDeleteInLargeFolder)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A rename that moves the element from one end of a folder of 100,000 to the other.
void BM_RenameInLargeFolder(benchmark::State &state)
{
    const bool observed = state.range(0) != 0;
    ElementTree tree;
    fill(tree, true);
    std::unique_ptr<ElementTreeModel> model;
    QPersistentModelIndex selected;
    ElementNode *folder = tree.firstRoot();
    ElementNode *node = folder->child(0);
    if (observed) {
        model = std::make_unique<ElementTreeModel>(tree);
        selected = model->indexOf(node);
    }
    bool toEnd = true;
    for (auto _ : state) {
        tree.setName(node, toEnd ? QByteArray("zzz") : QByteArray("   "));
        toEnd = !toEnd;
    }
    if (observed && (!selected.isValid() || model->nodeOf(selected) != node)) {
        state.SkipWithError("the persistent index lost its element");
    }
    state.SetLabel(observed ? "with the adapter" : "bare tree");
}
BENCHMARK(BM_RenameInLargeFolder)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
