// Directory dictionary benchmarks on generated listings (2 million unless
// PIKOTEL_BENCH_LISTINGS says otherwise; PIKOTEL_BENCH_DATA=DIR keeps the generated listings
// and the dictionaries for the next run), each figure beside its baseline from the same run:
// number search against an indexed SQLite table, one city's prefix and substring scans
// against a plain memmem loop over the same bytes and SQLite GLOB, the 104-style surname
// search over every city of a prefecture on both engines against SQLite's LIKE on an indexed
// reading, and the build's time, peak memory and file size (when this run built it).

#include "csv.h"
#include "dxs4.h"
#include "jtext/cp932.h"
#include "mappedfile.h"
#include "reader.h"
#include "xchdb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKb = 0;
};

// Runs pikotel-dict in a child so that its peak memory is its own.
ChildRun runTool(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string tool = PIKOTEL_DICT_TOOL;
    argv.push_back(tool.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    ChildRun run;
    if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    run.peakKb = usage.ru_maxrss;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

class Sqlite {
public:
    explicit Sqlite(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
    ~Sqlite() { sqlite3_close(db_); }
    Sqlite(const Sqlite&) = delete;
    Sqlite& operator=(const Sqlite&) = delete;
    sqlite3* db() const { return db_; }
    void exec(const char* sql) const {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            std::fprintf(stderr, "sqlite: %s\n", error);
            sqlite3_free(error);
        }
    }

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

struct Bench {
    QTemporaryDir dir;
    long long listings = 0;
    ChildRun generate;
    ChildRun build;
    long long fileSize = 0;
    long long csvSize = 0;
    double openSeconds = 0;
    double sqliteLoadSeconds = 0;

    pikotel::dict::MappedFile file;
    pikotel::dict::Dictionary dict;
    DxsDicHandle dic{};
    DxsSearchHandle search{};
    DxsDicInfo info{};
    XchHandle xch = 0;
    std::unique_ptr<Sqlite> sql;

    std::vector<QByteArray> numbers; // cp932 digits of listed numbers
    std::uint32_t city = 0;
    std::uint32_t individualGroup = 0;
    std::uint32_t corporateGroup = 0;
    QString surname;
};

Bench* bench = nullptr;

// True when the file is a dictionary this build of the reader opens (a kept one may be of an
// older format).
bool opensAsDictionary(const std::string& path) {
    pikotel::dict::MappedFile file;
    pikotel::dict::Dictionary dict;
    return file.open(QString::fromStdString(path)) &&
           dict.open(file.bytes()) == pikotel::dict::OpenError::None;
}

bool setUp(Bench& b) {
    const char* env = std::getenv("PIKOTEL_BENCH_LISTINGS");
    b.listings = env ? std::atoll(env) : 2000000;
    // PIKOTEL_BENCH_DATA keeps the listings and dictionaries of each size between runs (and
    // shares them with bench_industry): what is there and opens is not made again.
    const char* keep = std::getenv("PIKOTEL_BENCH_DATA");
    const QString data =
        keep ? QStringLiteral("%1/%2").arg(QString::fromLocal8Bit(keep)).arg(b.listings)
             : b.dir.path();
    QDir().mkpath(data + QStringLiteral("/first/DIC"));
    QDir().mkpath(data + QStringLiteral("/cd"));
    const std::string csv = (data + QStringLiteral("/listings.csv")).toStdString();
    const std::string areas = (data + QStringLiteral("/areas.csv")).toStdString();
    const std::string out = (data + QStringLiteral("/first/DIC/dxs9999.dct")).toStdString();
    const std::string xchOut = (data + QStringLiteral("/cd/XCHDB.DIC")).toStdString();
    if (!QFileInfo::exists(QString::fromStdString(csv)) ||
        !QFileInfo::exists(QString::fromStdString(areas))) {
        std::fprintf(stderr, "generating %lld listings...\n", b.listings);
        b.generate = runTool(
            {"generate", "--listings", std::to_string(b.listings), "--seed", "1", "--out", csv});
        if (!b.generate.ok)
            return false;
    }
    if (!opensAsDictionary(out)) {
        std::fprintf(stderr, "building the dictionary...\n");
        b.build = runTool({"build", "--areas", areas, csv, out});
        if (!b.build.ok)
            return false;
    }
    if (!opensAsDictionary(xchOut) &&
        !runTool({"build", "--engine", "xch", "--areas", areas, csv, xchOut}).ok)
        return false;
    b.fileSize = QFileInfo(QString::fromStdString(out)).size();
    b.csvSize = QFileInfo(QString::fromStdString(csv)).size();

    const QByteArray folder = pikotel::jtext::toCp932(data + QStringLiteral("/first/DIC"));
    const DxsOpenRec open{static_cast<int32_t>(folder.size()), folder.constData(), 0, "", 0, ""};
    QElapsedTimer timer;
    timer.start();
    if (Dxs4_OpenDic(&open, &b.dic, &b.info) != 0 ||
        Dxs4_AssignSearchHandle(&b.dic, &b.search) != 0)
        return false;
    b.openSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    XchOpenRec xchOpen{};
    const QByteArray xchFolder = pikotel::jtext::toCp932(data + QStringLiteral("/cd"));
    xchOpen.dictPathLength = static_cast<int32_t>(xchFolder.size());
    std::memcpy(xchOpen.dictPath, xchFolder.constData(),
                static_cast<std::size_t>(xchFolder.size()));
    if (hXchDB_Open(&xchOpen, &b.xch) != 0)
        return false;
    if (!b.file.open(QString::fromStdString(out)) ||
        b.dict.open(b.file.bytes()) != pikotel::dict::OpenError::None)
        return false;

    // The city with the most listings, and its two groups.
    std::uint64_t best = 0;
    for (std::uint32_t g = 0; g < b.dict.groupCount(); ++g) {
        const auto view = b.dict.group(g);
        const auto other =
            b.dict.findGroup(view.cityCode, view.kind == pikotel::dict::PersonKind::Individual
                                                ? pikotel::dict::PersonKind::Corporate
                                                : pikotel::dict::PersonKind::Individual);
        if (other < 0 || view.kind != pikotel::dict::PersonKind::Individual)
            continue;
        const std::uint64_t total =
            view.listingCount + b.dict.group(static_cast<std::uint32_t>(other)).listingCount;
        if (total > best) {
            best = total;
            b.city = view.cityCode;
            b.individualGroup = g;
            b.corporateGroup = static_cast<std::uint32_t>(other);
        }
    }
    // The city's most common surname makes the prefix pattern.
    std::map<std::string, int> surnames;
    const auto group = b.dict.group(b.individualGroup);
    pikotel::dict::ListingView listing;
    for (std::uint32_t id = group.firstListing; id < group.firstListing + group.listingCount;
         ++id) {
        if (b.dict.listing(id, listing))
            ++surnames[std::string(listing.name.substr(0, listing.name.find("\u3000")))];
    }
    const auto common =
        std::max_element(surnames.begin(), surnames.end(),
                         [](const auto& x, const auto& y) { return x.second < y.second; });
    b.surname = QString::fromStdString(common->first);

    std::fprintf(stderr, "loading the SQLite baseline...\n");
    b.sql = std::make_unique<Sqlite>(b.dir.filePath("listings.db").toStdString());
    b.sql->exec(
        "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA mmap_size=4000000000;"
        "PRAGMA cache_size=-1000000;"
        "CREATE TABLE listings(number TEXT, display TEXT, name TEXT, reading TEXT, kind INT,"
        " zip TEXT, city INT, town TEXT, block TEXT); BEGIN;");
    timer.restart();
    {
        pikotel::dict::MappedFile source;
        if (!source.open(QString::fromStdString(csv)))
            return false;
        const std::string_view data(reinterpret_cast<const char*>(source.bytes().data()),
                                    source.bytes().size());
        pikotel::jtext::CsvReader reader(data);
        pikotel::jtext::CsvRow row;
        pikotel::dict::ListingRow l;
        std::string error;
        reader.next(row);
        Statement insert(b.sql->db(), "INSERT INTO listings VALUES(?,?,?,?,?,?,?,?,?)");
        long long n = 0;
        while (reader.next(row)) {
            if (!pikotel::dict::parseListing(row, false, l, error))
                return false;
            std::string digits;
            for (char c : l.number) {
                if (c != '-')
                    digits.push_back(c);
            }
            sqlite3_stmt* s = insert.get();
            sqlite3_bind_text(s, 1, digits.data(), static_cast<int>(digits.size()),
                              SQLITE_TRANSIENT);
            const std::string_view texts[] = {l.number, l.name, l.reading};
            for (int i = 0; i < 3; ++i)
                sqlite3_bind_text(s, 2 + i, texts[i].data(), static_cast<int>(texts[i].size()),
                                  SQLITE_STATIC);
            sqlite3_bind_int(s, 5, static_cast<int>(l.kind));
            sqlite3_bind_text(s, 6, l.zip.data(), static_cast<int>(l.zip.size()), SQLITE_STATIC);
            sqlite3_bind_int(s, 7, static_cast<int>(l.cityCode));
            sqlite3_bind_text(s, 8, l.town.data(), static_cast<int>(l.town.size()), SQLITE_STATIC);
            sqlite3_bind_text(s, 9, l.block.data(), static_cast<int>(l.block.size()),
                              SQLITE_STATIC);
            sqlite3_step(s);
            sqlite3_reset(s);
            if (n++ % 487 == 0 && b.numbers.size() < 4096)
                b.numbers.push_back(QByteArray::fromStdString(digits));
        }
    }
    b.sql->exec("COMMIT; CREATE INDEX by_number ON listings(number); CREATE INDEX by_city ON "
                "listings(city, kind); CREATE INDEX by_reading ON listings(city, kind, reading);"
                "PRAGMA case_sensitive_like=ON; ANALYZE;");
    b.sqliteLoadSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return !b.numbers.empty();
}

DxsCondRec numberCondition(const QByteArray& digits) {
    DxsCondRec cond{};
    cond.searchKind = 1;
    cond.numberLength = static_cast<int32_t>(digits.size());
    cond.number = digits.constData();
    cond.townPattern = cond.unused1 = cond.namePattern = cond.unused2 = "";
    return cond;
}

void NumberSearch_Engine(benchmark::State& state) {
    std::size_t i = 0;
    int32_t hits = 0;
    for (auto _ : state) {
        const DxsCondRec cond = numberCondition(bench->numbers[i++ % bench->numbers.size()]);
        int32_t count = 0;
        Dxs4_Search(&bench->search, &cond, &count);
        hits += count;
    }
    state.counters["hits/call"] = benchmark::Counter(hits, benchmark::Counter::kAvgIterations);
}

void NumberSearchAndFetch_Engine(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const DxsCondRec cond = numberCondition(bench->numbers[i++ % bench->numbers.size()]);
        int32_t count = 0;
        Dxs4_Search(&bench->search, &cond, &count);
        for (int32_t k = 0; k < count; ++k) {
            DxsResultRec rec;
            Dxs4_GetRec(&bench->search, k, &rec);
            benchmark::DoNotOptimize(rec.name);
        }
    }
}

void NumberSearch_SQLite(benchmark::State& state, const char* sql) {
    Statement s(bench->sql->db(), sql);
    std::size_t i = 0;
    for (auto _ : state) {
        const QByteArray& digits = bench->numbers[i++ % bench->numbers.size()];
        sqlite3_bind_text(s.get(), 1, digits.constData(), static_cast<int>(digits.size()),
                          SQLITE_STATIC);
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(s.get()); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(s.get(), c));
        }
        sqlite3_reset(s.get());
    }
}

std::uint64_t groupBytes(std::uint32_t group) {
    return bench->dict.groupText(group).size();
}

void CityScan_Engine(benchmark::State& state, int kind, const QString& pattern) {
    const QByteArray name = pikotel::jtext::toCp932(pattern);
    const QByteArray town = "*";
    DxsCondRec cond{};
    cond.searchKind = 2;
    cond.cityCode = static_cast<int32_t>(bench->city);
    cond.number = cond.unused1 = cond.unused2 = "";
    cond.townPatternLength = 1;
    cond.townPattern = town.constData();
    cond.personKind = kind;
    cond.namePatternLength = static_cast<int32_t>(name.size());
    cond.namePattern = name.constData();
    int32_t count = 0;
    for (auto _ : state)
        Dxs4_Search(&bench->search, &cond, &count);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(groupBytes(kind == 1 ? bench->individualGroup
                                                                      : bench->corporateGroup)));
    state.counters["hits"] = count;
}

// The floor: memmem over the same bytes, counting occurrences of the pattern's literal.
void CityScan_Memmem(benchmark::State& state, int kind, const QString& literal) {
    const std::string_view text =
        bench->dict.groupText(kind == 1 ? bench->individualGroup : bench->corporateGroup);
    const QByteArray needle = literal.toUtf8();
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        const char* p = text.data();
        const char* end = text.data() + text.size();
        while (p < end) {
            const void* hit = memmem(p, static_cast<std::size_t>(end - p), needle.constData(),
                                     static_cast<std::size_t>(needle.size()));
            if (!hit)
                break;
            ++found;
            p = static_cast<const char*>(hit) + needle.size();
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.counters["occurrences"] = static_cast<double>(found);
}

void CityScan_SQLiteGlob(benchmark::State& state, int kind, const QString& pattern) {
    Statement s(bench->sql->db(),
                kind == 1
                    ? "SELECT rowid FROM listings WHERE city=?1 AND kind=?2 AND (name GLOB ?3 OR "
                      "reading GLOB ?3)"
                    : "SELECT rowid FROM listings WHERE city=?1 AND kind=?2 AND name GLOB ?3");
    const QByteArray glob = pattern.toUtf8();
    int hits = 0;
    for (auto _ : state) {
        sqlite3_bind_int(s.get(), 1, static_cast<int>(bench->city));
        sqlite3_bind_int(s.get(), 2, kind);
        sqlite3_bind_text(s.get(), 3, glob.constData(), static_cast<int>(glob.size()),
                          SQLITE_STATIC);
        hits = 0;
        while (sqlite3_step(s.get()) == SQLITE_ROW)
            ++hits;
        sqlite3_reset(s.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(groupBytes(kind == 1 ? bench->individualGroup
                                                                      : bench->corporateGroup)));
    state.counters["hits"] = hits;
}

// Every city of a prefecture, in the area table's order.
std::vector<std::uint32_t> citiesOf(int prefecture) {
    std::vector<std::uint32_t> cities;
    for (std::uint32_t i = 0; i < bench->dict.areaCount(); ++i) {
        const std::uint32_t code = bench->dict.area(i).cityCode;
        if (static_cast<int>(code / 1000) == prefecture)
            cities.push_back(code);
    }
    return cities;
}

// A 104-style search: one surname pattern over every city of the prefecture, individuals.
void AreaSearch_Dxs(benchmark::State& state, int prefecture, const QString& pattern) {
    const std::vector<std::uint32_t> cities = citiesOf(prefecture);
    const QByteArray name = pikotel::jtext::toCp932(pattern);
    const QByteArray town = "*";
    DxsCondRec cond{};
    cond.searchKind = 2;
    cond.number = cond.unused1 = cond.unused2 = "";
    cond.townPatternLength = 1;
    cond.townPattern = town.constData();
    cond.personKind = 1;
    cond.hitLimit = 1000;
    cond.namePatternLength = static_cast<int32_t>(name.size());
    cond.namePattern = name.constData();
    long long hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const std::uint32_t city : cities) {
            cond.cityCode = static_cast<int32_t>(city);
            int32_t count = 0;
            Dxs4_Search(&bench->search, &cond, &count);
            hits += count;
        }
    }
    state.counters["cities"] = static_cast<double>(cities.size());
    state.counters["hits"] = static_cast<double>(hits);
}

void AreaSearch_Xch(benchmark::State& state, int prefecture, const QString& pattern) {
    const std::vector<std::uint32_t> cities = citiesOf(prefecture);
    const QByteArray name = pikotel::jtext::toCp932(pattern);
    XchCondRec cond{};
    cond.searchKind = 1;
    cond.personKind = 1;
    cond.namePatternLength = static_cast<int32_t>(name.size());
    std::memcpy(cond.namePattern, name.constData(), static_cast<std::size_t>(name.size()));
    long long hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const std::uint32_t city : cities) {
            cond.cityCode = static_cast<int32_t>(city);
            int32_t count = 0;
            hXchDB_Search(bench->xch, &cond, &count);
            hits += count;
        }
    }
    state.counters["cities"] = static_cast<double>(cities.size());
    state.counters["hits"] = static_cast<double>(hits);
}

void AreaSearch_SQLiteLike(benchmark::State& state, int prefecture, const QString& prefix) {
    const std::vector<std::uint32_t> cities = citiesOf(prefecture);
    Statement s(bench->sql->db(), "SELECT rowid FROM listings WHERE city=?1 AND kind=1 AND "
                                  "reading LIKE ?2 LIMIT 1000");
    const QByteArray like = (prefix + QStringLiteral("%")).toUtf8();
    long long hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const std::uint32_t city : cities) {
            sqlite3_bind_int(s.get(), 1, static_cast<int>(city));
            sqlite3_bind_text(s.get(), 2, like.constData(), static_cast<int>(like.size()),
                              SQLITE_STATIC);
            while (sqlite3_step(s.get()) == SQLITE_ROW)
                ++hits;
            sqlite3_reset(s.get());
        }
    }
    state.counters["cities"] = static_cast<double>(cities.size());
    state.counters["hits"] = static_cast<double>(hits);
}

void registerAreaSearches(const char* label, int prefecture) {
    const std::string suffix = std::string("/") + label;
    const QString reading = QStringLiteral("ヤマダ");
    benchmark::RegisterBenchmark(("AreaSearch104_Dxs" + suffix).c_str(), AreaSearch_Dxs, prefecture,
                                 reading + QStringLiteral("*"))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("AreaSearch104_Xch" + suffix).c_str(), AreaSearch_Xch, prefecture,
                                 reading + QStringLiteral("*"))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("AreaSearch104_SQLiteLike" + suffix).c_str(),
                                 AreaSearch_SQLiteLike, prefecture, reading)
        ->Unit(benchmark::kMillisecond);
}

void registerScans(const char* label, int kind, const QString& pattern, const QString& literal) {
    const std::string suffix = std::string("/") + label;
    benchmark::RegisterBenchmark(("CityScan_Engine" + suffix).c_str(), CityScan_Engine, kind,
                                 pattern);
    benchmark::RegisterBenchmark(("CityScan_Memmem" + suffix).c_str(), CityScan_Memmem, kind,
                                 literal);
    benchmark::RegisterBenchmark(("CityScan_SQLiteGlob" + suffix).c_str(), CityScan_SQLiteGlob,
                                 kind, pattern);
}

void printBuildFigures(const Bench& b) {
    const double millions = static_cast<double>(b.listings) / 1e6;
    std::printf("prefix pattern: %s*\n", b.surname.toStdString().c_str());
    std::printf(
        "listings: %lld in city %u (individual group %u listings, %llu bytes; corporate group %u "
        "listings, %llu bytes)\n",
        b.listings, b.city, b.dict.group(b.individualGroup).listingCount,
        static_cast<unsigned long long>(groupBytes(b.individualGroup)),
        b.dict.group(b.corporateGroup).listingCount,
        static_cast<unsigned long long>(groupBytes(b.corporateGroup)));
    std::printf("generate: %.2f s\n", b.generate.seconds);
    std::printf("build: %.2f s wall, %.2f s CPU; per million listings %.2f s wall, %.2f s CPU "
                "(per 10 million %.1f s wall, %.1f s CPU)\n",
                b.build.seconds, b.build.cpuSeconds, b.build.seconds / millions,
                b.build.cpuSeconds / millions, b.build.seconds / millions * 10,
                b.build.cpuSeconds / millions * 10);
    std::printf("build peak RSS: %.1f MB, %.1f MB per million listings (the mapped CSV, %.1f MB "
                "per million, counts in it)\n",
                static_cast<double>(b.build.peakKb) / 1024,
                static_cast<double>(b.build.peakKb) / 1024 / millions,
                static_cast<double>(b.csvSize) / 1048576 / millions);
    std::printf("file: %lld bytes, %.1f bytes per listing\n", b.fileSize,
                static_cast<double>(b.fileSize) / static_cast<double>(b.listings));
    std::printf("open with full checksum verification: %.3f s (%.2f s per GB)\n", b.openSeconds,
                b.openSeconds / (static_cast<double>(b.fileSize) / 1e9));
    std::printf("SQLite baseline load and index: %.2f s\n", b.sqliteLoadSeconds);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Bench b;
    if (!setUp(b)) {
        std::fprintf(stderr, "bench_dict: setting up the dictionary or its baseline failed\n");
        return 1;
    }
    bench = &b;
    printBuildFigures(b);

    benchmark::RegisterBenchmark("NumberSearch_Engine", NumberSearch_Engine);
    benchmark::RegisterBenchmark("NumberSearch_SQLite", NumberSearch_SQLite,
                                 "SELECT rowid FROM listings WHERE number = ?");
    benchmark::RegisterBenchmark("NumberSearchAndFetch_Engine", NumberSearchAndFetch_Engine);
    benchmark::RegisterBenchmark(
        "NumberSearchAndFetch_SQLite", NumberSearch_SQLite,
        "SELECT display, name, zip, city, town, block, reading FROM listings WHERE number = ?");
    registerScans("prefix", 1, b.surname + QStringLiteral("*"), b.surname);
    registerScans("substring", 1, QStringLiteral("*子*"), QStringLiteral("子"));
    registerScans("substring-rare", 2, QStringLiteral("*ラーメン*"), QStringLiteral("ラーメン"));
    registerAreaSearches("tokyo", 13);
    registerAreaSearches("hokkaido", 1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    hXchDB_Close(b.xch);
    Dxs4_ReleaseSearchHandle(&b.search);
    Dxs4_CloseDic(&b.dic);
    return 0;
}
