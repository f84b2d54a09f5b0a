// An export of 30 rows into a workbook already open in a running office, beside the first
// export of a run, which starts the office and opens the workbook. The office runs headless,
// on its own pipe and throwaway profile, and is ended when the benchmark ends.

#include "calc/officeprocess.h"
#include "platform/calcgateway.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace pikotel;

namespace {

struct Bench {
    QTemporaryDir dir;
    CalcGatewayOptions options;
    QString workbook;
};
Bench* bench = nullptr;

std::unique_ptr<SpreadsheetGateway> newGateway() {
    return loadSpreadsheetGateway(QStringLiteral(PIKOTEL_CALC_MODULE_FILE), bench->options);
}

QList<QStringList> exportRows() {
    QList<QStringList> rows;
    for (int i = 0; i < 30; ++i)
        rows << QStringList{QStringLiteral("03-1234-%1").arg(i, 4, 10, QLatin1Char('0')),
                            QStringLiteral("株式会社　ぴーこ商店 %1").arg(i),
                            "100-0001",
                            "東京都",
                            "千代田区",
                            "千代田",
                            QStringLiteral("%1-1").arg(i)};
    return rows;
}

// Rows go below the ones before, as consecutive exports write them.
void WriteRows_OpenWorkbook(benchmark::State& state) {
    const auto gateway = newGateway();
    if (!gateway->openWorkbook(bench->workbook)) {
        state.SkipWithError(qPrintable(gateway->lastErrorText()));
        return;
    }
    const QList<QStringList> rows = exportRows();
    int next = gateway->firstFreeRow(1048575);
    for (auto _ : state) {
        if (!gateway->writeRows(next, rows)) {
            state.SkipWithError(qPrintable(gateway->lastErrorText()));
            return;
        }
        next += int(rows.size());
    }
}

// The same with the workbook reopened and its first free row searched, as after a restart of
// the program.
void OpenFindWrite_RunningOffice(benchmark::State& state) {
    const QList<QStringList> rows = exportRows();
    for (auto _ : state) {
        const auto gateway = newGateway();
        if (!gateway->openWorkbook(bench->workbook) ||
            !gateway->writeRows(gateway->firstFreeRow(1048575), rows)) {
            state.SkipWithError(qPrintable(gateway->lastErrorText()));
            return;
        }
    }
}

// No office runs: the first export starts it, opens the workbook and writes.
void FirstExport_StartingTheOffice(benchmark::State& state) {
    const QList<QStringList> rows = exportRows();
    for (auto _ : state) {
        state.PauseTiming();
        test::killOffice(bench->options.pipeName, 30000);
        const auto gateway = newGateway();
        state.ResumeTiming();
        if (!gateway->openWorkbook(bench->workbook) ||
            !gateway->writeRows(gateway->firstFreeRow(1048575), rows)) {
            state.SkipWithError(qPrintable(gateway->lastErrorText()));
            return;
        }
    }
}

bool setUp(Bench& b) {
    b.options.pipeName = QStringLiteral("pikotel-bench-%1").arg(QCoreApplication::applicationPid());
    b.options.headless = true;
    b.options.connectTimeoutMs = 180000;
    b.options.extraArguments = {QStringLiteral("-env:UserInstallation=") +
                                QUrl::fromLocalFile(b.dir.filePath("profile")).toString()};
    b.workbook = b.dir.filePath("bench.xlsx");
    const auto gateway =
        loadSpreadsheetGateway(QStringLiteral(PIKOTEL_CALC_MODULE_FILE), b.options);
    if (!gateway->createWorkbook(b.workbook, SpreadsheetGateway::WorkbookFormat::Xlsx)) {
        std::fprintf(stderr, "bench_calc: %s\n", qPrintable(gateway->lastErrorText()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Bench b;
    bench = &b;
    const bool ready = b.dir.isValid() && setUp(b);
    if (ready) {
        benchmark::RegisterBenchmark("WriteRows_OpenWorkbook/30", WriteRows_OpenWorkbook)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("OpenFindWrite_RunningOffice/30", OpenFindWrite_RunningOffice)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("FirstExport_StartingTheOffice/30",
                                     FirstExport_StartingTheOffice)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    test::killOffice(b.options.pipeName, 30000);
    return ready ? 0 : 1;
}
