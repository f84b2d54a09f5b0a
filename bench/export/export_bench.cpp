// Exporting 30 selected rows to the output text file, as the output button does (lines built
// in cp932, appended in one write, the message shown), beside the first export of the run,
// which creates the file, and the two parts alone.

#include "core/context.h"
#include "platform/messages.h"
#include "results/resultexport.h"
#include "results/textexport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace pikotel;

namespace {

class SilentMessages final : public MessagePresenter {
public:
    int present(const QString&, int, const QString&) override { return MsgResultOk; }
};

QList<QStringList> thirtyRows() {
    QList<QStringList> rows;
    for (int i = 1; i <= 30; ++i)
        rows.append({QStringLiteral("03-3456-%1").arg(i, 4, 10, QChar(u'0')),
                     QStringLiteral("株式会社ぴこぴこ商事%1").arg(i), QStringLiteral("160-0023"),
                     QStringLiteral("東京都新宿区"), QStringLiteral("西新宿２丁目８－%1").arg(i)});
    return rows;
}

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<AppContext> ctx;
    SilentMessages messages;
    MessagePresenter* previous;
    Fixture() : previous(setMessagePresenter(&messages)) {
        ContextOptions options;
        options.programFolder = dir.path();
        options.storePaths.user = dir.filePath(QStringLiteral("HKCU.db"));
        ctx = std::make_unique<AppContext>(options);
        ctx->env().viewerKind = ViewerNotePad;
    }
    ~Fixture() { setMessagePresenter(previous); }
};

// Every export appends to the same file, which grows as a user's file does.
void BM_ExportThirtyRowsAppend(benchmark::State& state) {
    Fixture f;
    f.ctx->env().setText(EnvKey::OutFile, f.dir.filePath(QStringLiteral("out.csv")));
    const QList<QStringList> rows = thirtyRows();
    for (auto _ : state)
        OutputSelectedRows(*f.ctx, rows, nullptr);
}
BENCHMARK(BM_ExportThirtyRowsAppend)->Unit(benchmark::kMicrosecond);

// Every export is the first into its file and creates it.
void BM_ExportThirtyRowsFirst(benchmark::State& state) {
    Fixture f;
    const QList<QStringList> rows = thirtyRows();
    int n = 0;
    for (auto _ : state) {
        f.ctx->env().setText(EnvKey::OutFile,
                             f.dir.filePath(QStringLiteral("first%1.csv").arg(++n)));
        OutputSelectedRows(*f.ctx, rows, nullptr);
    }
}
BENCHMARK(BM_ExportThirtyRowsFirst)->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_BuildThirtyLines(benchmark::State& state) {
    const QList<QStringList> rows = thirtyRows();
    for (auto _ : state)
        benchmark::DoNotOptimize(OutputLines(rows, 0));
}
BENCHMARK(BM_BuildThirtyLines)->Unit(benchmark::kMicrosecond);

void BM_AppendThirtyLines(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("append.csv"));
    const QByteArray bytes = OutputLines(thirtyRows(), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(appendToFile(path, bytes));
}
BENCHMARK(BM_AppendThirtyLines)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
