// vaultbase-cli add and edit on a database of 100,000 elements, each a whole run of the
// tool (start, password, load, the change, the check of the file, the atomic save), next
// to their reference: a load plus a save of the same database through the document in a
// fresh process (this executable run with --load-save=PATH), which pays for a new heap's
// page faults as the tool does. Goal: add and edit at most 1.2 times LoadPlusSaveProcess.
// LoadPlusSave does the same in this process's warm heap, for comparison. Real time
// throughout: the load decrypts in a worker thread.
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "editing/DatabaseDocument.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

const QByteArray Password("a database password of some length");
constexpr int Elements = 100000;

// One element in 20 a folder ("Folder N"), the others keys with a user name, a password,
// a comment and their times.
QString databasePath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("bench.kvdb"));
        ElementTree tree;
        tree.setSorted(false);
        QRandomGenerator random(42);
        ElementNode *folder = nullptr;
        for (int i = 0; i < Elements; ++i) {
            ElementData data;
            data.Created = "2020-01-01 08:00:00";
            data.Modified = "2021-02-03 09:10:11";
            if (i % 20 == 0) {
                folder = tree.insertElement(nullptr, "Folder " + QByteArray::number(i / 20), KindFolder,
                                            KindOpenFolder, data);
                continue;
            }
            data.Content = "user" + QByteArray::number(i) + "@example.org";
            data.Detail = QByteArray::number(random.generate64(), 36);
            data.Comment = "Account opened for the " + QByteArray::number(i % 97) + ". project";
            tree.insertElement(folder, "Key " + QByteArray::number(i), KindKey, KindKey, data);
        }
        tree.setSorted(true);
        if (!saveDatabase(tree, file, Password, true)) {
            qFatal("cannot write the benchmark database");
        }
        return file;
    }();
    return path;
}

bool runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VAULTBASE_CLI_PATH), arguments);
    if (!process.waitForStarted()) {
        return false;
    }
    process.write(Password + '\n');
    process.closeWriteChannel();
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void LoadPlusSave(benchmark::State &state)
{
    const QString path = databasePath();
    for (auto _ : state) {
        DatabaseDocument document;
        document.setPassword(Password);
        if (!document.load(path).ok() || !document.save(path, true).ok()) {
            state.SkipWithError("load or save failed");
        }
    }
}

// The reference's child: one load and one save, then exit.
int loadAndSave(const QString &path)
{
    DatabaseDocument document;
    document.setPassword(Password);
    return document.load(path).ok() && document.save(path, true).ok() ? 0 : 1;
}

void LoadPlusSaveProcess(benchmark::State &state)
{
    const QString path = databasePath();
    for (auto _ : state) {
        QProcess process;
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--load-save=") + path});
        if (!process.waitForFinished(120000) || process.exitCode() != 0) {
            state.SkipWithError("load or save failed");
        }
    }
}

void CliAdd(benchmark::State &state)
{
    const QString path = databasePath();
    for (auto _ : state) {
        if (!runCli({"add", "--password-stdin", "--unique", "--kind", "entry", "--content", "added", path,
                     "Folder 17 > Added"})) {
            state.SkipWithError("vaultbase-cli add failed");
        }
    }
}

void CliEdit(benchmark::State &state)
{
    const QString path = databasePath();
    int round = 0;
    for (auto _ : state) {
        if (!runCli({"edit", "--password-stdin", "--username", "user" + QString::number(++round), path,
                     "Folder 17 > Key 341"})) {
            state.SkipWithError("vaultbase-cli edit failed");
        }
    }
}

} // namespace

BENCHMARK(LoadPlusSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(LoadPlusSaveProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(CliAdd)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(CliEdit)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString loadSave = QStringLiteral("--load-save=");
    if (argc == 2 && QString::fromLocal8Bit(argv[1]).startsWith(loadSave)) {
        return loadAndSave(QString::fromLocal8Bit(argv[1]).sliced(loadSave.size()));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
