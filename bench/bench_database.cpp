// Saving and loading databases of 1,000, 10,000 and 100,000 elements, each next to its
// reference on the same bytes: load next to reading and decrypting the file (decryptFile),
// save next to encrypting and writing the plaintext stream (encryptToFile). Goal at 100,000
// elements: load and save at most 1.5 times their reference. DocumentLoad and DocumentSave
// do the same through the open database's document.
//
// A load of a file from 1 MiB on decrypts in a worker thread while the loading thread
// parses what is already plaintext; the references stay single-threaded. So every
// benchmark here reports real time (Time) and the CPU time of all the process's threads
// (CPU): the load's real time is what a user waits, its CPU time the work it costs.
//
// LoadPeakMemory loads a database holding one 50 MiB file element in a fresh process
// (this executable run with --load-peak=PATH) and reports the growth of its peak resident
// memory against the file's size. Goal: at most 4 times the file.
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "document/Encryption.h"
#include "editing/DatabaseDocument.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray Password("a database password of some length");
constexpr int FileElements = 4;
constexpr qsizetype FileElementSize = 64 * 1024;
constexpr qsizetype BigFileSize = 50 * 1024 * 1024;

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

ElementData keyData(QRandomGenerator &random, int i)
{
    ElementData data;
    data.Content = "user" + QByteArray::number(i) + "@example.org";
    data.Detail = QByteArray::number(random.generate64(), 36);
    data.Comment = "Account opened for the " + QByteArray::number(i % 97) + ". project; PIN card in the drawer";
    const QDateTime created = QDateTime(QDate(2015, 1, 1), QTime(8, 0)).addSecs(qint64(i) * 3607);
    data.Created = timeText(created);
    data.Modified = timeText(created.addSecs(random.bounded(1000000)));
    return data;
}

// One element in 20 a folder (every fifth folder nested in the one before), keys with
// user name, password and comment, and a few 64 KiB file elements. The flat shape puts
// every element into one folder instead.
std::unique_ptr<ElementTree> makeTree(int elements, bool flat)
{
    auto tree = std::make_unique<ElementTree>();
    tree->setSorted(false); // sorted once at the end, as an import does
    QRandomGenerator random(42);
    ElementNode *folder = nullptr;
    for (int i = 0; i < elements; ++i) {
        if (flat ? i == 0 : i % 20 == 0) {
            ElementNode *parent = (i / 20) % 5 == 4 ? folder : nullptr;
            folder = tree->insertElement(parent, "Folder " + QByteArray::number(i / 20), KindFolder, KindOpenFolder,
                                         ElementData());
        } else if (i % (elements / FileElements) == 1) {
            ElementData data;
            QByteArray bytes(FileElementSize, Qt::Uninitialized);
            for (qsizetype b = 0; b < bytes.size(); ++b) {
                bytes[b] = char(random.bounded(256));
            }
            data.setBlob(bytes);
            data.Detail = "scan" + QByteArray::number(i) + ".pdf";
            tree->insertElement(folder, data.Detail, KindFile, KindFile, data);
        } else {
            tree->insertElement(folder, "Key " + QByteArray::number(i * 7919 % 1000003), KindKey, KindKey,
                                keyData(random, i));
        }
    }
    tree->setSorted(true);
    return tree;
}

struct Sample {
    std::unique_ptr<ElementTree> tree;
    QString path;
    QByteArray plaintext;
};

// range(0) elements; range(1) 1 for the flat shape.
Sample &sample(const benchmark::State &state)
{
    static std::map<std::pair<int, int>, Sample> samples;
    const int elements = int(state.range(0));
    const int flat = int(state.range(1));
    Sample &s = samples[{elements, flat}];
    if (!s.tree) {
        s.tree = makeTree(elements, flat != 0);
        s.path = workDir().filePath(QStringLiteral("db%1-%2.kvdb").arg(elements).arg(flat));
        saveDatabase(*s.tree, s.path, Password, true);
        s.plaintext = databaseStream(*s.tree, true);
    }
    return s;
}

void setCounters(benchmark::State &state, const Sample &s)
{
    state.SetBytesProcessed(state.iterations() * s.plaintext.size());
    state.counters["elements"] = double(s.tree->count());
}

void Save(benchmark::State &state)
{
    Sample &s = sample(state);
    const QString path = workDir().filePath(QStringLiteral("save.kvdb"));
    for (auto _ : state) {
        if (!saveDatabase(*s.tree, path, Password, true)) {
            state.SkipWithError("save failed");
        }
    }
    setCounters(state, s);
}

void SaveReference(benchmark::State &state)
{
    Sample &s = sample(state);
    const QString path = workDir().filePath(QStringLiteral("reference.kvdb"));
    for (auto _ : state) {
        if (!encryptToFile(s.plaintext, path, Password)) {
            state.SkipWithError("write failed");
        }
    }
    setCounters(state, s);
}

void Load(benchmark::State &state)
{
    Sample &s = sample(state);
    for (auto _ : state) {
        auto tree = std::make_unique<ElementTree>();
        if (!loadDatabaseFile(*tree, s.path, Password) || tree->count() != s.tree->count()) {
            state.SkipWithError("load failed");
        }
        // Freeing the loaded tree is not part of loading, nor is the allocator's merging of
        // the freed blocks, which it would otherwise do at the next big allocation.
        state.PauseTiming();
        tree.reset();
        std::free(std::malloc(4096)); // a request of this size makes the allocator merge
        state.ResumeTiming();
    }
    setCounters(state, s);
}

void LoadReference(benchmark::State &state)
{
    Sample &s = sample(state);
    for (auto _ : state) {
        std::optional<QByteArray> plain = decryptFile(s.path, Password);
        if (!plain) {
            state.SkipWithError("read failed");
        }
        benchmark::DoNotOptimize(plain->data());
    }
    setCounters(state, s);
}

// The same through the open database's document, which also records the file's identity
// and drops or marks its history: the document's own overhead shows beside Load and Save.
void DocumentLoad(benchmark::State &state)
{
    Sample &s = sample(state);
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<DatabaseDocument>();
        document->setPassword(Password);
        state.ResumeTiming();
        if (!document->load(s.path).ok() || document->tree().count() != s.tree->count()) {
            state.SkipWithError("load failed");
        }
        state.PauseTiming();
        document.reset();
        std::free(std::malloc(4096));
        state.ResumeTiming();
    }
    setCounters(state, s);
}

void DocumentSave(benchmark::State &state)
{
    Sample &s = sample(state);
    DatabaseDocument document;
    document.setPassword(Password);
    if (!document.load(s.path).ok()) {
        state.SkipWithError("load failed");
        return;
    }
    const QString path = workDir().filePath(QStringLiteral("document.kvdb"));
    for (auto _ : state) {
        if (!document.save(path, true).ok()) {
            state.SkipWithError("save failed");
        }
    }
    setCounters(state, s);
}

long statusKiB(const char *field)
{
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status) {
        return -1;
    }
    char line[256];
    long value = -1;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            value = std::strtol(line + length + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return value;
}

// The child's side: resident memory before and at its peak while loading path.
int loadPeak(const char *path)
{
    const long before = statusKiB("VmRSS");
    ElementTree tree;
    const bool loaded = loadDatabaseFile(tree, QString::fromLocal8Bit(path), Password);
    const long peak = statusKiB("VmHWM");
    std::printf("%ld %ld %d\n", before, peak, loaded && tree.count() == 1 ? 1 : 0);
    return loaded ? 0 : 1;
}

void LoadPeakMemory(benchmark::State &state)
{
    const QString path = workDir().filePath(QStringLiteral("big.kvdb"));
    if (!QFile::exists(path)) {
        ElementTree tree;
        ElementData data;
        QByteArray bytes(BigFileSize, Qt::Uninitialized);
        QRandomGenerator random(7);
        random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        data.setBlob(bytes);
        tree.insertElement(nullptr, "big.bin", KindFile, KindFile, data);
        saveDatabase(tree, path, Password, true);
    }
    const double fileKiB = double(QFile(path).size()) / 1024;
    long before = 0;
    long peak = 0;
    int ok = 0;
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        const QByteArray argument = "--load-peak=" + QFile::encodeName(path);
        const pid_t child = fork();
        if (child == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            execl("/proc/self/exe", "bench_database", argument.constData(), static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char output[128] = {};
        const ssize_t got = read(fds[0], output, sizeof output - 1);
        close(fds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (got <= 0 || std::sscanf(output, "%ld %ld %d", &before, &peak, &ok) != 3 || ok != 1) {
            state.SkipWithError("child load failed");
            return;
        }
    }
    state.counters["file_MiB"] = fileKiB / 1024;
    state.counters["peak_growth_MiB"] = double(peak - before) / 1024;
    state.counters["peak_per_file_size"] = double(peak - before) / fileKiB;
}

} // namespace

// Element counts and shapes: folders of 20, and 100,000 elements in one folder.
void sizes(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"elements", "flat"});
    for (const int elements : {1000, 10000, 100000}) {
        b->Args({elements, 0});
    }
    b->Args({100000, 1});
    b->Unit(benchmark::kMillisecond);
    b->UseRealTime();
    b->MeasureProcessCPUTime();
    // On a machine busy with other work the fastest repetition comes closest to the
    // undisturbed figure: run with --benchmark_repetitions to see it.
    b->ComputeStatistics("min", [](const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); });
}

BENCHMARK(Save)->Apply(sizes);
BENCHMARK(SaveReference)->Apply(sizes);
BENCHMARK(Load)->Apply(sizes);
BENCHMARK(LoadReference)->Apply(sizes);
BENCHMARK(DocumentSave)->Apply(sizes);
BENCHMARK(DocumentLoad)->Apply(sizes);
BENCHMARK(LoadPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (argc == 2 && std::strncmp(argv[1], "--load-peak=", 12) == 0) {
        return loadPeak(argv[1] + 12);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
