// The postal-code component against a plain scan of the source CSV, in the same run:
// a forward search (every record of the code read, as the screen reads them) and the town
// list of a city.

#include "zipcomp/zipcomponent.h"

#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace pikotel::zipcomp;

namespace {

const QString kSourceDir = QStringLiteral(PIKOTEL_ZIPBENCH_SOURCE_DIR);
const QString kKenFile = kSourceDir + QStringLiteral("/ken_all_merged.utf8.csv");

struct Fixture {
    ZipComponent zip;
    std::vector<QString> codes; // every 50th code of the source
    std::vector<int> cities;    // every city of the source
    int largestCity = 0;        // the city with the most towns
    QString largestPrefix;      // the 3-digit prefix with the most records
};

Fixture& fixture() {
    static Fixture* f = [] {
        auto* out = new Fixture;
        out->zip.SetKeyBlock(QString::fromLatin1(kProgramKeyBlock));
        out->zip.SetFolder(QStringLiteral(PIKOTEL_ZIPBENCH_DICT_DIR));
        if (out->zip.OpenDictionary() != kOpened) {
            std::fprintf(stderr, "%s\n", qPrintable(out->zip.LastError().description));
            std::exit(1);
        }
        QFile file(kKenFile);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(kKenFile));
            std::exit(1);
        }
        int row = 0;
        int lastCity = -1;
        while (!file.atEnd()) {
            const QList<QByteArray> f = file.readLine().split(',');
            if (row++ % 50 == 0)
                out->codes.push_back(QString::fromLatin1(f[2]));
            if (const int city = f[0].toInt(); city != lastCity) {
                out->cities.push_back(city);
                lastCity = city;
            }
        }
        std::sort(out->cities.begin(), out->cities.end());
        out->cities.erase(std::unique(out->cities.begin(), out->cities.end()), out->cities.end());
        int most = 0;
        for (int prefix = 0; prefix < 1000; ++prefix) {
            const QString digits = QStringLiteral("%1").arg(prefix, 3, 10, QLatin1Char('0'));
            if (const int n = out->zip.SearchCode(digits); n > most) {
                most = n;
                out->largestPrefix = digits;
            }
        }
        most = 0;
        for (const int city : out->cities) {
            if (const int n = out->zip.QueryTowns(QString(), 0, city, 0); n > most) {
                most = n;
                out->largestCity = city;
            }
        }
        return out;
    }();
    return *f;
}

int readRecords(ZipComponent& zip, const QString& digits) {
    const int n = zip.SearchCode(digits);
    ZipComponent::CodeRecord record;
    for (int i = 0; i < n; ++i) {
        zip.GetCodeRecord(i, record);
        benchmark::DoNotOptimize(record);
    }
    return n;
}

int readTowns(ZipComponent& zip, int city) {
    const int n = zip.QueryTowns(QString(), 0, city, 0);
    QByteArray code, name, reading, note, noteReading;
    for (int i = 0; i < n; ++i) {
        zip.GetTown(i, code, name, reading, note, noteReading);
        benchmark::DoNotOptimize(name);
    }
    return n;
}

QByteArrayView column(QByteArrayView line, int k) {
    qsizetype start = 0;
    for (; k > 0; --k) {
        start = line.indexOf(',', start);
        if (start < 0)
            return {};
        ++start;
    }
    const qsizetype end = line.indexOf(',', start);
    return line.sliced(start, (end < 0 ? line.size() : end) - start);
}

// The baseline: the source file read and split line by line, as a program without a
// dictionary would do it. `keep` decides on a row.
template <typename Keep> int scanSource(Keep keep) {
    QFile file(kKenFile);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = file.readAll();
    int hits = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        hits += keep(QByteArrayView(text).sliced(start, end - start)) ? 1 : 0;
        start = end + 1;
    }
    return hits;
}

void BM_ForwardSearch7(benchmark::State& state) {
    Fixture& f = fixture();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(readRecords(f.zip, f.codes[i++ % f.codes.size()]));
}
BENCHMARK(BM_ForwardSearch7)->Unit(benchmark::kMicrosecond);

void BM_ForwardSearch3Largest(benchmark::State& state) {
    Fixture& f = fixture();
    int hits = 0;
    for (auto _ : state)
        hits = readRecords(f.zip, f.largestPrefix);
    state.counters["records"] = hits;
    state.counters["prefix"] = f.largestPrefix.toInt();
}
BENCHMARK(BM_ForwardSearch3Largest)->Unit(benchmark::kMicrosecond);

void BM_ForwardSearch7_CsvScan(benchmark::State& state) {
    Fixture& f = fixture();
    std::size_t i = 0;
    for (auto _ : state) {
        const QByteArray code = f.codes[i++ % f.codes.size()].toLatin1();
        benchmark::DoNotOptimize(
            scanSource([&](QByteArrayView row) { return column(row, 2) == code; }));
    }
}
BENCHMARK(BM_ForwardSearch7_CsvScan)->Unit(benchmark::kMicrosecond);

void BM_CityTowns(benchmark::State& state) {
    Fixture& f = fixture();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(readTowns(f.zip, f.cities[i++ % f.cities.size()]));
}
BENCHMARK(BM_CityTowns)->Unit(benchmark::kMicrosecond);

void BM_CityTownsLargest(benchmark::State& state) {
    Fixture& f = fixture();
    int towns = 0;
    for (auto _ : state)
        towns = readTowns(f.zip, f.largestCity);
    state.counters["towns"] = towns;
    state.counters["city"] = f.largestCity;
}
BENCHMARK(BM_CityTownsLargest)->Unit(benchmark::kMicrosecond);

void BM_CityTowns_CsvScan(benchmark::State& state) {
    Fixture& f = fixture();
    std::size_t i = 0;
    for (auto _ : state) {
        const QByteArray city =
            QByteArray::number(f.cities[i++ % f.cities.size()]).rightJustified(5, '0');
        benchmark::DoNotOptimize(
            scanSource([&](QByteArrayView row) { return column(row, 0) == city; }));
    }
}
BENCHMARK(BM_CityTowns_CsvScan)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
