// The folder pane's file list over a folder of 10,000 files (goal: filled in under
// 200 ms): listing with the database mask and with every file, the tool tips a view
// asks for, and each "Sort by" order.
#include "shell/FileListModel.h"
#include "shell/FileTypeFilter.h"
#include "shell/FolderListing.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int kFiles = 10000;

// Half databases, the rest pictures and texts, of differing sizes.
const QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    static const bool filled = [] {
        const char *extensions[] = {".kvdb", ".jpg", ".kvdb", ".txt"};
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("file-%1%2").arg(i * 7919 % kFiles).arg(QLatin1String(extensions[i % 4]));
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::WriteOnly)) {
                file.write(QByteArray(i % 97, 'x'));
            }
        }
        return true;
    }();
    Q_UNUSED(filled);
    return dir;
}

void BM_FillFileList(benchmark::State &state, const char *fileTypes)
{
    const QString path = folder().path();
    FileListModel model;
    for (auto _ : state) {
        model.fill(path, fileTypes);
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
}
BENCHMARK_CAPTURE(BM_FillFileList, databases, "*.kvdb")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillFileList, every_file, "*.*")->Unit(benchmark::kMillisecond);

// What a view shows of every row: the caption, and the tool tip when pointed at.
void BM_RowTexts(benchmark::State &state)
{
    FileListModel model;
    model.fill(folder().path(), "*.*");
    for (auto _ : state) {
        qsizetype chars = 0;
        for (int row = 0; row < model.rowCount(); ++row) {
            chars += model.data(model.index(row, FileListModel::Name)).toString().size();
            chars += model.data(model.index(row, FileListModel::Name), Qt::ToolTipRole).toString().size();
        }
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_RowTexts)->Unit(benchmark::kMillisecond);

void BM_SortFileList(benchmark::State &state)
{
    const FileSort order = FileSort(state.range(0));
    const QList<FileRow> rows = FolderListing::list(folder().path(), FileTypeFilter("*.*"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(FolderListing::sortedPositions(rows, order));
    }
}
BENCHMARK(BM_SortFileList)
    ->Arg(int(FileSort::NameAscending))
    ->Arg(int(FileSort::SizeDescending))
    ->Arg(int(FileSort::DateAscending))
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
