// Industry search benchmark on generated listings: "飲食店" (31 patterns) over the 62
// municipalities of Tokyo, 1,922 engine searches. The size is 2 million listings unless
// --listings=N or PIKOTEL_BENCH_LISTINGS says otherwise; PIKOTEL_BENCH_DATA=DIR keeps the
// generated listings and the dictionaries for the next run (bench_dict shares them).
//
// On each engine, through the program's own path (Directory::searchCity, the exclusions,
// the result records):
//   Run_Program      one run over the 62 cities as the screen starts it (the 1000-record
//                    rule may end it early)
//   Run_AllQueries   the 62 cities one run each, so all 1,922 searches run to their end
//   SearchAndFetch   the 1,922 searches and their hits' fetch, without exclusions or records
//                    (also with a clock that lets no events run, to show their share)
// and beside them, for the same 1,922 queries:
//   EngineScanOnly   the first engine's search calls alone, no fetch
//   Exclusions       the exclusion test of every hit the searches found
//   SQLiteFts5       SQLite with an FTS5 trigram index of the same business names (the city
//                    and the pattern's literal runs of three characters or more as index
//                    terms, GLOB for the pattern itself)
//   Memmem           memmem over the same names for each pattern's longest literal: the
//                    floor of a scan

#include "core/context.h"
#include "dxs4.h"
#include "jtext/cp932.h"
#include "jtext/csv.h"
#include "mappedfile.h"
#include "reader.h"
#include "search/industry/industrysearch.h"
#include "search/industry/originalindustries.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

using namespace pikotel;

namespace {

constexpr int kTokyo = 13;
const QString kRestaurants = QStringLiteral("飲食店");

// Runs pikotel-dict; the seconds it took, negative on failure.
double runTool(const std::vector<std::string>& args) {
    std::vector<std::string> copy = args;
    std::string tool = PIKOTEL_DICT_TOOL;
    std::vector<char*> argv{tool.data()};
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

void exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", error);
        sqlite3_free(error);
    }
}

struct Bench {
    QTemporaryDir dir;
    long long listings = 0;
    double generateSeconds = 0;
    double buildSeconds[2] = {0, 0};
    double sqliteLoadSeconds = 0;
    // The first engine's context and the alternate engine's.
    std::unique_ptr<AppContext> ctx[2];
    QList<ChosenCity> tokyo;
    IndustryKeywords keywords;
    QStringList patterns;
    // The hits of the 1,922 searches: name and the number of the pattern that found it.
    std::vector<std::pair<QString, int>> hits;

    dict::MappedFile file;
    dict::Dictionary dictionary;
    DxsDicHandle dic{};
    DxsSearchHandle search{};
    DxsDicInfo info{};
    sqlite3* db = nullptr;
    long long indexedNames = 0;

    ~Bench() {
        Dxs4_ReleaseSearchHandle(&search);
        Dxs4_CloseDic(&dic);
        sqlite3_close(db);
    }
};

Bench* bench = nullptr;

// The first engine reads <root>/first/DIC, the alternate one <root>/cd.
std::unique_ptr<AppContext> openContext(const QString& root, bool first) {
    const QString folder = root + (first ? QStringLiteral("/first") : QStringLiteral("/alternate"));
    ContextOptions options;
    options.programFolder = folder;
    options.storePaths.user = folder + QStringLiteral("/HKCU.db");
    options.mountsFile = folder + QStringLiteral("/mounts");
    auto ctx = std::make_unique<AppContext>(options);
    ctx->env().setText(EnvKey::DicDrive, first ? QStringLiteral("0") : QStringLiteral("1"));
    ctx->env().setText(EnvKey::CdDrive, root + QStringLiteral("/cd/"));
    ctx->directory().DicOpen(false);
    if (ctx->directory().dicKind() != (first ? 0 : 1))
        return nullptr;
    return ctx;
}

bool loadSqlite(Bench& b, const QString& csv) {
    QElapsedTimer timer;
    timer.start();
    sqlite3_open(b.dir.filePath(QStringLiteral("names.db")).toUtf8().constData(), &b.db);
    exec(b.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-1000000;"
               "CREATE VIRTUAL TABLE names USING fts5(name, city, tokenize='trigram');"
               "BEGIN;");
    dict::MappedFile source;
    if (!source.open(csv))
        return false;
    const std::string_view data(reinterpret_cast<const char*>(source.bytes().data()),
                                source.bytes().size());
    jtext::CsvReader reader(data);
    jtext::CsvRow row;
    reader.next(row);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(b.db, "INSERT INTO names(name, city) VALUES(?, ?)", -1, &insert, nullptr);
    while (reader.next(row)) {
        if (row.fields.size() < 10 || row.fields[3] != "2")
            continue;
        sqlite3_bind_text(insert, 1, row.fields[1].data(), static_cast<int>(row.fields[1].size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, row.fields[7].data(), static_cast<int>(row.fields[7].size()),
                          SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
        ++b.indexedNames;
    }
    sqlite3_finalize(insert);
    exec(b.db, "COMMIT;");
    b.sqliteLoadSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return true;
}

// True when the file is a dictionary this build of the reader opens (a kept one may be of an
// older format).
bool opensAsDictionary(const QString& path) {
    dict::MappedFile file;
    dict::Dictionary dictionary;
    return file.open(path) && dictionary.open(file.bytes()) == dict::OpenError::None;
}

bool setUp(Bench& b) {
    const QString root = b.dir.path();
    QDir().mkpath(root + QStringLiteral("/first/DIC"));
    QDir().mkpath(root + QStringLiteral("/alternate"));
    QDir().mkpath(root + QStringLiteral("/cd"));
    // PIKOTEL_BENCH_DATA keeps the listings and dictionaries of each size between runs (and
    // shares them with bench_dict): what is there and opens is not made again.
    const char* keep = std::getenv("PIKOTEL_BENCH_DATA");
    const QString data =
        keep ? QStringLiteral("%1/%2").arg(QString::fromLocal8Bit(keep)).arg(b.listings) : root;
    const QString csv = data + QStringLiteral("/listings.csv");
    const QString areas = data + QStringLiteral("/areas.csv");
    QDir().mkpath(data + QStringLiteral("/first/DIC"));
    QDir().mkpath(data + QStringLiteral("/cd"));
    if (!QFileInfo::exists(csv) || !QFileInfo::exists(areas)) {
        std::fprintf(stderr, "generating %lld listings...\n", b.listings);
        b.generateSeconds = runTool({"generate", "--listings", std::to_string(b.listings), "--seed",
                                     "1", "--out", csv.toStdString()});
        if (b.generateSeconds < 0)
            return false;
    }
    const QString dxsFile = root + QStringLiteral("/first/DIC/") + kDxsDicFile;
    const QString xchFile = root + QStringLiteral("/cd/") + kXchDicFile;
    const QString dxsKept = data + QStringLiteral("/first/DIC/") + kDxsDicFile;
    const QString xchKept = data + QStringLiteral("/cd/") + kXchDicFile;
    std::fprintf(stderr, "building both dictionaries...\n");
    if (!opensAsDictionary(dxsKept))
        b.buildSeconds[0] = runTool(
            {"build", "--areas", areas.toStdString(), csv.toStdString(), dxsKept.toStdString()});
    if (!opensAsDictionary(xchKept))
        b.buildSeconds[1] = runTool({"build", "--engine", "xch", "--areas", areas.toStdString(),
                                     csv.toStdString(), xchKept.toStdString()});
    if (b.buildSeconds[0] < 0 || b.buildSeconds[1] < 0)
        return false;
    if (data != root && (!QFile::link(dxsKept, dxsFile) || !QFile::link(xchKept, xchFile)))
        return false;
    b.ctx[0] = openContext(root, true);
    b.ctx[1] = openContext(root, false);
    if (!b.ctx[0] || !b.ctx[1])
        return false;

    for (const AreaEntry& city : b.ctx[0]->directory().citiesOfPrefecture(kTokyo))
        b.tokyo.append({city.cityName, city.cityCode});
    const industry::Industry* restaurants = industry::findIndustry(kRestaurants);
    OriginalIndustries none(b.ctx[0]->store());
    b.keywords = BuildKeywords(kRestaurants, restaurants->kind, 0, none);
    b.patterns = b.keywords.patterns();

    const QByteArray folder = jtext::toCp932(root + QStringLiteral("/first/DIC"));
    const DxsOpenRec open{static_cast<int32_t>(folder.size()), folder.constData(), 0, "", 0, ""};
    if (Dxs4_OpenDic(&open, &b.dic, &b.info) != 0 ||
        Dxs4_AssignSearchHandle(&b.dic, &b.search) != 0)
        return false;
    if (!b.file.open(dxsFile) || b.dictionary.open(b.file.bytes()) != dict::OpenError::None)
        return false;

    for (const ChosenCity& city : b.tokyo) {
        for (int p = 1; p <= b.keywords.count(); ++p) {
            CityCondition condition;
            condition.cityCode = city.code;
            condition.namePattern = b.patterns.at(p - 1);
            condition.applyDrops = false;
            b.ctx[0]->directory().searchCity(condition, [&](const DirRecord& hit) {
                b.hits.emplace_back(hit.name, p);
                return true;
            });
        }
    }
    std::fprintf(stderr, "loading the SQLite baseline...\n");
    return loadSqlite(b, csv);
}

void Run_Program(benchmark::State& state, int engine) {
    int hits = 0;
    for (auto _ : state)
        hits = runIndustrySearch(*bench->ctx[engine], bench->keywords, bench->tokyo, nullptr).hits;
    state.counters["records"] = hits;
}

void Run_AllQueries(benchmark::State& state, int engine) {
    int records = 0;
    for (auto _ : state) {
        records = 0;
        for (const ChosenCity& city : bench->tokyo)
            records +=
                runIndustrySearch(*bench->ctx[engine], bench->keywords, {city}, nullptr).hits;
    }
    state.counters["records"] = records;
}

void SearchAndFetch(benchmark::State& state, int engine) {
    int hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const ChosenCity& city : bench->tokyo) {
            for (const QString& pattern : bench->patterns) {
                CityCondition condition;
                condition.cityCode = city.code;
                condition.namePattern = pattern;
                condition.applyDrops = false;
                bench->ctx[engine]->directory().searchCity(condition, [&](const DirRecord&) {
                    ++hits;
                    return true;
                });
            }
        }
    }
    state.counters["hits"] = hits;
}

// Lets no window events run: what the searches cost without them.
class QuietClock final : public Clock {
public:
    qint64 monotonicMs() const override { return clock.monotonicMs(); }
    QDateTime now() const override { return clock.now(); }
    void processEvents() override {}
    void waitProcessingEvents(int) override {}
    SystemClock clock;
};

void SearchAndFetchWithoutEvents(benchmark::State& state, int engine) {
    bench->ctx[engine]->setClock(std::make_unique<QuietClock>());
    SearchAndFetch(state, engine);
    bench->ctx[engine]->setClock(std::make_unique<SystemClock>());
}

void EngineScanOnly(benchmark::State& state) {
    std::vector<QByteArray> names;
    for (const QString& pattern : bench->patterns)
        names.push_back(jtext::toCp932(pattern));
    const QByteArray town = "*";
    int hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const ChosenCity& city : bench->tokyo) {
            for (const QByteArray& name : names) {
                DxsCondRec cond{};
                cond.searchKind = 2;
                cond.cityCode = city.code;
                cond.number = cond.unused1 = cond.unused2 = "";
                cond.townPatternLength = 1;
                cond.townPattern = town.constData();
                cond.personKind = 2;
                cond.namePatternLength = static_cast<int32_t>(name.size());
                cond.namePattern = name.constData();
                int32_t count = 0;
                Dxs4_Search(&bench->search, &cond, &count);
                hits += count;
                Dxs4_ReleaseResultMem(&bench->search);
            }
        }
    }
    state.counters["hits"] = hits;
}

void Exclusions(benchmark::State& state) {
    int kept = 0;
    for (auto _ : state) {
        kept = 0;
        for (const auto& [name, patternNo] : bench->hits)
            kept += bench->keywords.keeps(name, patternNo) ? 1 : 0;
    }
    state.counters["hits"] = static_cast<double>(bench->hits.size());
    state.counters["kept"] = kept;
}

// The FTS5 query of one city and pattern: the city and every literal run of three
// characters or more as index terms; GLOB checks the pattern itself. ("+name": handed to
// the trigram index, a GLOB whose runs are shorter than three characters finds nothing.)
QByteArray ftsQuery(qint32 city, const QString& pattern) {
    QString match = QStringLiteral("city:\"%1\"").arg(city);
    for (const QString& piece : industry::patternLiterals(pattern)) {
        if (piece.size() >= 3)
            match += QStringLiteral(" AND name:\"%1\"").arg(piece);
    }
    return match.toUtf8();
}

void SQLiteFts5(benchmark::State& state) {
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(bench->db,
                       "SELECT rowid, name FROM names WHERE names MATCH ?1 AND +name GLOB ?2", -1,
                       &query, nullptr);
    std::vector<std::pair<QByteArray, QByteArray>> queries;
    for (const ChosenCity& city : bench->tokyo) {
        for (const QString& pattern : bench->patterns)
            queries.emplace_back(ftsQuery(city.code, pattern), pattern.toUtf8());
    }
    int hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const auto& [match, glob] : queries) {
            sqlite3_bind_text(query, 1, match.constData(), static_cast<int>(match.size()),
                              SQLITE_STATIC);
            sqlite3_bind_text(query, 2, glob.constData(), static_cast<int>(glob.size()),
                              SQLITE_STATIC);
            while (sqlite3_step(query) == SQLITE_ROW) {
                benchmark::DoNotOptimize(sqlite3_column_text(query, 1));
                ++hits;
            }
            sqlite3_reset(query);
        }
    }
    sqlite3_finalize(query);
    state.counters["hits"] = hits;
}

void Memmem(benchmark::State& state) {
    std::vector<std::string> needles;
    for (const QString& pattern : bench->patterns) {
        QString longest;
        for (const QString& piece : industry::patternLiterals(pattern))
            longest = piece.size() > longest.size() ? piece : longest;
        needles.push_back(longest.toStdString());
    }
    std::vector<std::string_view> texts;
    for (const ChosenCity& city : bench->tokyo) {
        const std::int64_t group = bench->dictionary.findGroup(
            static_cast<std::uint32_t>(city.code), dict::PersonKind::Corporate);
        if (group >= 0)
            texts.push_back(bench->dictionary.groupText(static_cast<std::uint32_t>(group)));
    }
    std::size_t found = 0;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        found = 0;
        bytes = 0;
        for (const std::string_view text : texts) {
            for (const std::string& needle : needles) {
                const char* p = text.data();
                const char* end = text.data() + text.size();
                while (const void* hit = memmem(p, static_cast<std::size_t>(end - p), needle.data(),
                                                needle.size())) {
                    ++found;
                    p = static_cast<const char*>(hit) + needle.size();
                }
                bytes += static_cast<std::int64_t>(text.size());
            }
        }
    }
    state.SetBytesProcessed(bytes * static_cast<std::int64_t>(state.iterations()));
    state.counters["occurrences"] = static_cast<double>(found);
}

void printFigures(const Bench& b) {
    long long corporate = 0;
    long long bytes = 0;
    for (const ChosenCity& city : b.tokyo) {
        const std::int64_t group = b.dictionary.findGroup(static_cast<std::uint32_t>(city.code),
                                                          dict::PersonKind::Corporate);
        if (group < 0)
            continue;
        corporate += b.dictionary.group(static_cast<std::uint32_t>(group)).listingCount;
        bytes += static_cast<long long>(
            b.dictionary.groupText(static_cast<std::uint32_t>(group)).size());
    }
    std::printf("listings: %lld; Tokyo: %lld municipalities, %lld business listings, %lld bytes "
                "of names (%lld bytes scanned by the 31 patterns)\n",
                b.listings, static_cast<long long>(b.tokyo.size()), corporate, bytes,
                bytes * b.patterns.size());
    std::printf("searches: %lld; hits before the exclusions: %zu\n",
                static_cast<long long>(b.tokyo.size() * b.patterns.size()), b.hits.size());
    std::printf("generate %.1f s; build %.1f s (first engine), %.1f s (alternate engine); "
                "SQLite FTS5 load of %lld names %.1f s\n",
                b.generateSeconds, b.buildSeconds[0], b.buildSeconds[1], b.indexedNames,
                b.sqliteLoadSeconds);
    std::fflush(stdout);
}

// --listings=N, else PIKOTEL_BENCH_LISTINGS, else 2 million; the option is taken out of argv.
long long listingCount(int& argc, char** argv) {
    long long count = 2000000;
    if (const char* env = std::getenv("PIKOTEL_BENCH_LISTINGS"))
        count = std::atoll(env);
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--listings=", 11) == 0)
            count = std::atoll(argv[i] + 11);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return count;
}

} // namespace

int main(int argc, char** argv) {
    const long long listings = listingCount(argc, argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Bench b;
    b.listings = listings;
    if (listings <= 0 || !setUp(b)) {
        std::fprintf(stderr,
                     "bench_industry: setting up the dictionaries or the baseline failed\n");
        return 1;
    }
    bench = &b;
    printFigures(b);

    const char* engines[] = {"first", "alternate"};
    for (int e = 0; e < 2; ++e) {
        const std::string suffix = std::string("/") + engines[e];
        benchmark::RegisterBenchmark(("Run_Program" + suffix).c_str(), Run_Program, e)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Run_AllQueries" + suffix).c_str(), Run_AllQueries, e)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("SearchAndFetch" + suffix).c_str(), SearchAndFetch, e)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("SearchAndFetch_NoEvents" + suffix).c_str(),
                                     SearchAndFetchWithoutEvents, e)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("EngineScanOnly/first", EngineScanOnly)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Exclusions", Exclusions)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SQLiteFts5", SQLiteFts5)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Memmem", Memmem)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
