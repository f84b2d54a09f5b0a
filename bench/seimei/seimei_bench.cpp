// One look-up of the name dictionary, as the name screen makes it (search, then every
// candidate's written form), over the real Seimei.dic, cycling through every reading of the
// name list. Beside it in the same run: the same answers from an in-memory hash table and
// from a scan of the list's rows, and opening the dictionary (checksum and checks included).

#include "jtext/cp932.h"
#include "seimei/namebuilder.h"
#include "seimei/seimei.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

using pikotel::seimei::readingKey;

namespace {

struct Row {
    std::string key; // half-width katakana, cp932
    std::string written;
};

struct Fixture {
    std::vector<Row> rows;         // every row of the name list
    std::vector<std::string> keys; // every reading once
    HNameOpenRec open{};
    int32_t handle = 0;
};

Fixture& fixture() {
    static Fixture* f = [] {
        auto* out = new Fixture;
        QFile list(QStringLiteral(PIKOTEL_SEIMEIBENCH_NAMES));
        if (!list.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", PIKOTEL_SEIMEIBENCH_NAMES);
            std::exit(1);
        }
        list.readLine();
        std::string last;
        while (!list.atEnd()) {
            const QStringList f = QString::fromUtf8(list.readLine()).split(u'\t');
            const std::string key = readingKey(f.value(1)).toStdString();
            out->rows.push_back({key, pikotel::jtext::toCp932(f.value(2)).toStdString()});
            if (key != last)
                out->keys.push_back(key);
            last = key;
        }
        const char path[] = PIKOTEL_SEIMEIBENCH_DICT;
        static_assert(sizeof path <= sizeof out->open.path);
        std::memcpy(out->open.path, path, sizeof path);
        if (HNameDB_Open(&out->open, &out->handle) != 0) {
            std::fprintf(stderr, "cannot open %s\n", path);
            std::exit(1);
        }
        return out;
    }();
    return *f;
}

void BM_Seimei_Lookup(benchmark::State& state) {
    Fixture& f = fixture();
    std::size_t next = 0;
    std::int64_t candidates = 0;
    HNameSearchRec search{};
    HNameCandidateRec rec;
    for (auto _ : state) {
        const std::string& key = f.keys[next++ % f.keys.size()];
        std::memset(search.key, 0, sizeof search.key);
        std::memcpy(search.key, key.data(), key.size());
        search.keyLength = int32_t(key.size() * 2);
        if (HNameDB_Search(f.handle, &search) != 0)
            state.SkipWithError("search failed");
        for (int32_t i = 0; i < search.count; ++i) {
            HNameDB_GetName(f.handle, i, &rec);
            benchmark::DoNotOptimize(rec.name[0]);
        }
        candidates += search.count;
    }
    state.counters["candidates"] =
        benchmark::Counter(double(candidates), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Seimei_Lookup);

// Baseline: the rows in a hash table from reading to written form, filled before the run.
void BM_Baseline_UnorderedMultimap(benchmark::State& state) {
    Fixture& f = fixture();
    std::unordered_multimap<std::string, std::string> table;
    for (const Row& r : f.rows)
        table.emplace(r.key, r.written);
    std::size_t next = 0;
    char name[100];
    for (auto _ : state) {
        const auto [first, last] = table.equal_range(f.keys[next++ % f.keys.size()]);
        for (auto it = first; it != last; ++it) {
            std::memset(name, 0, sizeof name);
            std::memcpy(name, it->second.data(), std::min(sizeof name, it->second.size()));
            benchmark::DoNotOptimize(name[0]);
        }
    }
}
BENCHMARK(BM_Baseline_UnorderedMultimap);

// Baseline: every row of the list compared with the reading.
void BM_Baseline_LinearScan(benchmark::State& state) {
    Fixture& f = fixture();
    std::size_t next = 0;
    for (auto _ : state) {
        const std::string& key = f.keys[next++ % f.keys.size()];
        std::size_t found = 0;
        for (const Row& r : f.rows)
            found += r.key == key;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_Baseline_LinearScan);

// What the name screen pays once when it opens: map, checksum, structural checks.
void BM_Seimei_OpenClose(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        int32_t handle = 0;
        if (HNameDB_Open(&f.open, &handle) != 0)
            state.SkipWithError("open failed");
        HNameDB_Close(handle);
    }
}
BENCHMARK(BM_Seimei_OpenClose)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
