// Opening a saved database of 100,000 elements in a database window, next to the bare load
// of the same file into an element tree. The window's figure runs from loadDatabase() to the
// tree shown and painted once, with the calls the main window makes after an accepted
// password (modified flag, file path, first element selected and shown). Goal: at most
// twice the bare load, in both shapes: folders of folders, and all elements at the top
// level, where the view lays out every row.
//
// The decryption runs in a worker thread during a load, so both report real time (Time)
// beside the CPU time of all the process's threads (CPU). Making and showing the window
// before, and closing it and freeing the tree after, are outside the measured time.
#include "dbwindow/DatabaseWindow.h"
#include "dbwindow/ElementTreeView.h"
#include "dbwindow/FakeMainServices.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <map>
#include <limits>
#include <memory>
#include <vector>

#include <malloc.h>
#include <sys/resource.h>

namespace {

const QByteArray Password("a database password of some length");
constexpr int TopFolders = 100;
constexpr int SubFolders = 9;
constexpr int LeavesPerFolder = 110;
constexpr qsizetype Elements = TopFolders * (1 + SubFolders * (1 + LeavesPerFolder)); // 100,000

constexpr std::array<const char *, 10> Topics = {"Banking", "E-mail", "Shopping", "Work", "Travel",
                                                 "Insurance", "Health", "Home", "Games", "Forums"};
constexpr std::array<const char *, 8> Sites = {"bank", "mail", "shop", "cloud", "news", "travel", "forum", "store"};

ElementData keyData(QRandomGenerator &random, int i, const QDateTime &created)
{
    ElementData data;
    data.Content = "user" + QByteArray::number(i) + "@example.org";
    data.Detail = QByteArray::number(random.generate64(), 36);
    data.Comment = "Account opened for the " + QByteArray::number(i % 97)
                   + ". project.\r\nSecurity question: the name of the first school.\r\nPIN card in the drawer.";
    data.Created = timeText(created);
    data.Modified = timeText(created.addSecs(random.bounded(1000000)));
    return data;
}

ElementData entryData(int i, const QDateTime &created)
{
    ElementData data;
    data.Content = "Opening hours Monday to Friday, 8:00 to 18:00.\r\nCustomer number "
                   + QByteArray::number(100000 + i) + ", contract signed on " + timeText(created).left(10)
                   + ".\r\nCall the hotline before changing the address.";
    data.Created = timeText(created);
    data.Modified = data.Created;
    return data;
}

// Topic folders, each with sub-folders of keys and entries (about two keys to one entry);
// the flat shape puts the keys and entries side by side at the top level instead, as an
// imported list of logins would come, beside the same folders left empty.
std::unique_ptr<ElementTree> makeTree(bool flat)
{
    auto tree = std::make_unique<ElementTree>();
    tree->setSorted(false); // sorted once at the end, as an import does
    QRandomGenerator random(42);
    const QDateTime start(QDate(2015, 1, 1), QTime(8, 0));
    int n = 0;
    for (int t = 0; t < TopFolders; ++t) {
        const QByteArray topic(Topics[t % Topics.size()]);
        ElementData topText;
        topText.Content = "Accounts and notes about " + topic.toLower() + '.';
        ElementNode *top = tree->insertElement(nullptr, topic + ' ' + QByteArray::number(t / Topics.size() + 1),
                                               KindFolder, KindOpenFolder, topText);
        for (int s = 0; s < SubFolders; ++s) {
            ElementNode *sub = tree->insertElement(top, "Year " + QByteArray::number(2015 + s), KindFolder,
                                                   KindOpenFolder, ElementData());
            for (int l = 0; l < LeavesPerFolder; ++l, ++n) {
                ElementNode *parent = flat ? nullptr : sub;
                const QDateTime created = start.addSecs(qint64(n) * 1613);
                const QByteArray site = QByteArray(Sites[n % Sites.size()]) + "-" + QByteArray::number(n * 7919 % 100003);
                if (l % 3 == 2) {
                    tree->insertElement(parent, "Contract " + site, KindEntry, KindEntry, entryData(n, created));
                } else {
                    tree->insertElement(parent, "Login at " + site + ".example.org", KindKey, KindKey,
                                        keyData(random, n, created));
                }
            }
        }
    }
    tree->setSorted(true);
    return tree;
}

// The saved database of the shape given as the benchmark's argument (1: flat), written
// once with the product's save function.
QString databasePath(const benchmark::State &state)
{
    static QTemporaryDir dir;
    static std::map<bool, QString> paths;
    const bool flat = state.range(0) != 0;
    QString &path = paths[flat];
    if (path.isEmpty()) {
        const QString file = dir.filePath(flat ? QStringLiteral("flat.kvdb") : QStringLiteral("folders.kvdb"));
        if (saveDatabase(*makeTree(flat), file, Password, true)) {
            path = file;
        }
    }
    return path;
}

// With range(1) set, every measured load starts as the first one in a program does: the
// memory freed before goes back to the system and the load takes its memory afresh, page by
// page. Without, the load reuses the memory the one before freed (main() tells the allocator
// to keep it: left to itself, it keeps it or not depending on what the benchmark before left
// in the heap, and the same load takes 120 or 250 ms).
void startLoad(const benchmark::State &state)
{
    if (state.range(1) != 0) {
        malloc_trim(0);
    }
}

// Page faults of the process so far, reported per load so the two figures can be seen to
// start alike.
double pageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_minflt + usage.ru_majflt);
}

void BareLoad(benchmark::State &state)
{
    const QString path = databasePath(state);
    startLoad(state);
    double faults = 0;
    for (auto _ : state) {
        const double faultsBefore = pageFaults();
        auto tree = std::make_unique<ElementTree>();
        if (path.isEmpty() || !loadDatabaseFile(*tree, path, Password)) {
            state.SkipWithError("load failed");
            break;
        }
        faults += pageFaults() - faultsBefore;
        state.PauseTiming();
        if (tree->count() != Elements) {
            state.SkipWithError("the database was not loaded whole");
        }
        tree.reset();
        startLoad(state);
        state.ResumeTiming();
    }
    state.counters["page_faults"] = benchmark::Counter(faults, benchmark::Counter::kAvgIterations);
}

// The two shapes, with memory reused and taken afresh; the figures of both benchmarks in real
// time and the CPU time of all threads.
void shapes(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"flat", "fresh_memory"});
    for (const int fresh : {0, 1}) {
        b->Args({0, fresh})->Args({1, fresh});
    }
    b->Unit(benchmark::kMillisecond);
    b->UseRealTime();
    b->MeasureProcessCPUTime();
    // On a machine busy with other work the fastest repetition comes closest to the
    // undisturbed figure: run with --benchmark_repetitions to see it.
    b->ComputeStatistics("min", [](const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); });
}

BENCHMARK(BareLoad)->Apply(shapes);

void OpenInWindow(benchmark::State &state)
{
    const QString path = databasePath(state);
    dbwindowtest::FakeMainServices main;
    double faults = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A window shown as the main window shows it while it asks for the password.
        auto window = std::make_unique<DatabaseWindow>(main);
        window->resize(1000, 700);
        window->show();
        QApplication::processEvents();
        window->setPassword(Password);
        auto *tree = window->findChild<ElementTreeView *>(QStringLiteral("TrvTree"));
        startLoad(state);
        state.ResumeTiming();

        const double faultsBefore = pageFaults();
        if (path.isEmpty() || !window->loadDatabase(path)) {
            state.SkipWithError("load failed");
            break;
        }
        window->setModified(false);
        window->setFilePath(path);
        window->selectFirstElement();
        window->showSelected();
        QApplication::processEvents();
        tree->viewport()->repaint();
        faults += pageFaults() - faultsBefore;

        state.PauseTiming();
        if (!window->selectedElement() || window->tree().count() != Elements) {
            state.SkipWithError("the database was not shown whole");
        }
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["page_faults"] = benchmark::Counter(faults, benchmark::Counter::kAvgIterations);
}
BENCHMARK(OpenInWindow)->Apply(shapes);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Freed memory stays with the program until startLoad() gives it back.
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    mallopt(M_MMAP_THRESHOLD, std::numeric_limits<int>::max());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
