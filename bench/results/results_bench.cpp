// The results screen, offscreen: filling and the first sort for 1,000 and 10,000 records,
// and a header-click re-sort of 10,000, each beside a plain QTableWidget filled with the same
// rows (text items, no sort) in the same run.

#include "core/context.h"
#include "results/frmkekka3.h"
#include "results/kekkamodel.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

using namespace pikotel;

namespace {

const char* const kSurnames[] = {"佐藤", "鈴木", "高橋", "田中", "伊藤",   "渡辺", "山本", "中村",
                                 "小林", "加藤", "吉田", "山田", "佐々木", "山口", "松本"};
const char* const kTowns[] = {"西新宿", "本町", "旭町", "栄町", "中央", "緑町", "大手町", "幸町"};

ResultSet makeRecords(int count) {
    std::mt19937 random(42);
    ResultSet records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        const unsigned r = random();
        records.append(
            {i, QStringLiteral("03-%1-%2").arg(3000 + r % 7000).arg(r % 10000, 4, 10, QChar(u'0')),
             QString::fromUtf8(kSurnames[r % 15]) + QStringLiteral("商店") +
                 QString::number(r % 97),
             QStringLiteral("160-%1").arg(r % 10000, 4, 10, QChar(u'0')), QStringLiteral("東京都"),
             QStringLiteral("新宿区"), QString::fromUtf8(kTowns[(r >> 8) % 8]),
             QStringLiteral("%1丁目%2－%3").arg(1 + r % 5).arg(1 + r % 30).arg(1 + r % 20)});
    }
    return records;
}

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<AppContext> ctx;
    Fixture() {
        ContextOptions options;
        options.programFolder = dir.path();
        options.storePaths.user = dir.filePath(QStringLiteral("HKCU.db"));
        ctx = std::make_unique<AppContext>(options);
        ctx->kekka().Kekka3_Init();
        ctx->kekka().OutFileInfo_Set(OutFileInfo{});
    }
};

void BM_ResultsScreenFill(benchmark::State& state) {
    Fixture f;
    f.ctx->results() = makeRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        frmKekka3 screen(*f.ctx);
        screen.Form_Load();
        benchmark::DoNotOptimize(screen.model()->rowCount());
    }
}
BENCHMARK(BM_ResultsScreenFill)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PlainTableWidgetFill(benchmark::State& state) {
    Fixture f;
    const ResultSet records = makeRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QTableWidget table(static_cast<int>(records.size()) + 1, 6);
        int row = 0;
        for (const ResultRecord& r : records) {
            const QStringList cells = f.ctx->kekka().Grid_AddData(r);
            table.setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
            for (int g = 0; g < static_cast<int>(cells.size()); ++g)
                table.setItem(row, g + 1, new QTableWidgetItem(cells.at(g)));
            ++row;
        }
        benchmark::DoNotOptimize(table.rowCount());
    }
}
BENCHMARK(BM_PlainTableWidgetFill)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ResultsHeaderResort(benchmark::State& state) {
    Fixture f;
    f.ctx->results() = makeRecords(10000);
    frmKekka3 screen(*f.ctx);
    screen.Form_Load();
    for (auto _ : state)
        screen.flgData_HeaderClick(2);
}
BENCHMARK(BM_ResultsHeaderResort)->Unit(benchmark::kMillisecond);

void BM_PlainTableWidgetResort(benchmark::State& state) {
    Fixture f;
    const ResultSet records = makeRecords(10000);
    QTableWidget table(static_cast<int>(records.size()), 6);
    int row = 0;
    for (const ResultRecord& r : records) {
        const QStringList cells = f.ctx->kekka().Grid_AddData(r);
        for (int g = 0; g < static_cast<int>(cells.size()); ++g)
            table.setItem(row, g + 1, new QTableWidgetItem(cells.at(g)));
        ++row;
    }
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : state) {
        table.sortItems(2, order);
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
}
BENCHMARK(BM_PlainTableWidgetResort)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
