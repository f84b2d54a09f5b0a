// pikotel-dict: builds directory dictionaries, shows what a dictionary file holds, and
// searches one through the engine that reads it, as the program would.

#include "builder.h"
#include "dxs4.h"
#include "generator.h"
#include "jtext/cp932.h"
#include "mappedfile.h"
#include "reader.h"
#include "xchdb.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <map>
#include <optional>

namespace {

using pikotel::jtext::toCp932;

constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;

const char* const kUsage =
    "usage:\n"
    "  pikotel-dict generate --listings N --seed S --out FILE.csv [--areas-out AREAS.csv]\n"
    "      [--exchange-out EXCHANGE.tsv] [--data SOURCE_DATA_DIR]\n"
    "      writes N sample listings (same seed, same file), the area table and the\n"
    "      exchange-code table (by default areas.csv and exchange.tsv beside FILE.csv)\n"
    "  pikotel-dict build [--engine dxs|xch] [--delta DELTA.csv] [--areas AREAS.csv] FILE.csv "
    "OUTFILE\n"
    "      FILE.csv is the listing CSV; with --delta, OUTFILE is a delta dictionary built from\n"
    "      DELTA.csv (op,number,... with op add, replace or remove) for the listings of FILE.csv\n"
    "  pikotel-dict info FILE\n"
    "  pikotel-dict search --engine dxs|xch FILE [--delta DELTAFILE]\n"
    "      (--number DIGITS | --city CODE --kind 1|2 --name PATTERN [--town PATTERN] [--limit N])\n"
    "      prints number, name, postal code, prefecture, city, town and block of each hit,\n"
    "      tab-separated; the town matches PATTERN followed by anything, as the program asks\n";

void print(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
}

void printError(const QString& text) {
    const QByteArray utf8 = (QStringLiteral("pikotel-dict: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stderr);
}

int usage(const QString& problem) {
    printError(problem);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

// Options of the form --name VALUE; everything else is positional.
struct Arguments {
    std::map<QString, QString> options;
    QStringList positional;
    QString problem;
};

Arguments parseArguments(const QStringList& args, const QStringList& known) {
    Arguments parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a.startsWith(QLatin1String("--"))) {
            const QString name = a.mid(2);
            if (!known.contains(name)) {
                parsed.problem = QStringLiteral("unknown option %1").arg(a);
                return parsed;
            }
            if (i + 1 >= args.size()) {
                parsed.problem = QStringLiteral("%1 needs a value").arg(a);
                return parsed;
            }
            parsed.options[name] = args.at(++i);
        } else {
            parsed.positional << a;
        }
    }
    return parsed;
}

std::optional<pikotel::dict::Engine> engineNamed(const QString& name) {
    if (name == QLatin1String("dxs"))
        return pikotel::dict::Engine::Dxs;
    if (name == QLatin1String("xch"))
        return pikotel::dict::Engine::Xch;
    return std::nullopt;
}

int runGenerate(const QStringList& args) {
    const Arguments a =
        parseArguments(args, {QStringLiteral("listings"), QStringLiteral("seed"),
                              QStringLiteral("out"), QStringLiteral("areas-out"),
                              QStringLiteral("exchange-out"), QStringLiteral("data")});
    if (!a.problem.isEmpty())
        return usage(a.problem);
    if (!a.positional.isEmpty())
        return usage(QStringLiteral("generate takes options only"));
    const auto value = [&a](const char* name) {
        const auto it = a.options.find(QString::fromLatin1(name));
        return it == a.options.end() ? QString() : it->second;
    };
    pikotel::gen::GeneratorOptions options;
    bool okCount = false;
    bool okSeed = false;
    options.listings = value("listings").toLongLong(&okCount);
    options.seed = value("seed").toULongLong(&okSeed);
    options.outCsv = value("out");
    if (!okCount || options.listings < 0 || !okSeed || options.outCsv.isEmpty())
        return usage(QStringLiteral("generate needs --listings N, --seed S and --out FILE.csv"));
    options.areasOut = value("areas-out");
    options.exchangeOut = value("exchange-out");
    options.sourceDataDir =
        value("data").isEmpty() ? QStringLiteral(PIKOTEL_SOURCE_DATA_DIR) : value("data");
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!pikotel::gen::generateListings(options, &error)) {
        printError(error);
        return kExitFailed;
    }
    print(QStringLiteral("%1: %2 listings, %3 s\n")
              .arg(options.outCsv)
              .arg(options.listings)
              .arg(static_cast<double>(timer.elapsed()) / 1000.0, 0, 'f', 2));
    return 0;
}

// The alternate engine's records hold texts in fixed fields (xchdb.h) and cut longer ones:
// a build says which listings will not be shown whole rather than let them be cut unseen.
void reportXchCuts(const QString& path) {
    struct Field {
        const char* name;
        qsizetype width;
        std::string_view pikotel::dict::ListingView::*text;
    };
    static const Field fields[] = {
        {"number", 16, &pikotel::dict::ListingView::number},
        {"zip", 12, &pikotel::dict::ListingView::zip},
        {"name", 120, &pikotel::dict::ListingView::name},
        {"town", 48, &pikotel::dict::ListingView::town},
        {"block", 48, &pikotel::dict::ListingView::block},
    };
    pikotel::dict::MappedFile file;
    pikotel::dict::Dictionary dict;
    if (!file.open(path) || dict.open(file.bytes()) != pikotel::dict::OpenError::None)
        return;
    std::uint64_t cut = 0;
    pikotel::dict::ListingView view;
    for (std::uint32_t id = 0; id < dict.listingCount(); ++id) {
        if (!dict.listing(id, view))
            continue;
        for (const Field& f : fields) {
            const std::string_view text = view.*f.text;
            const qsizetype bytes =
                toCp932(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))).size();
            if (bytes <= f.width)
                continue;
            if (++cut <= 10)
                printError(QStringLiteral("warning: %1 %2: %3 is %4 bytes; the xch engine shows "
                                          "the first %5")
                               .arg(QString::fromUtf8(view.number.data(),
                                                      static_cast<qsizetype>(view.number.size())),
                                    QString::fromUtf8(view.name.data(),
                                                      static_cast<qsizetype>(view.name.size())),
                                    QLatin1String(f.name))
                               .arg(bytes)
                               .arg(f.width));
        }
    }
    if (cut > 10)
        printError(
            QStringLiteral("warning: %1 texts in all are longer than their xch fields").arg(cut));
}

int runBuild(const QStringList& args) {
    const Arguments a = parseArguments(
        args, {QStringLiteral("engine"), QStringLiteral("delta"), QStringLiteral("areas")});
    if (!a.problem.isEmpty())
        return usage(a.problem);
    if (a.positional.size() != 2)
        return usage(QStringLiteral("build needs FILE.csv and OUTFILE"));
    pikotel::dict::BuildOptions options;
    const auto engine = engineNamed(a.options.count(QStringLiteral("engine"))
                                        ? a.options.at(QStringLiteral("engine"))
                                        : QStringLiteral("dxs"));
    if (!engine)
        return usage(QStringLiteral("--engine must be dxs or xch"));
    options.engine = *engine;
    options.listingsCsv = a.positional.at(0);
    options.output = a.positional.at(1);
    if (a.options.count(QStringLiteral("delta")))
        options.deltaCsv = a.options.at(QStringLiteral("delta"));
    if (a.options.count(QStringLiteral("areas")))
        options.areasCsv = a.options.at(QStringLiteral("areas"));
    QElapsedTimer timer;
    timer.start();
    pikotel::dict::BuildReport report;
    QString error;
    if (!pikotel::dict::buildDictionary(options, &report, &error)) {
        printError(error);
        return kExitFailed;
    }
    if (options.engine == pikotel::dict::Engine::Xch)
        reportXchCuts(options.output);
    print(
        QStringLiteral("%1: %2 listings, %3 areas, %4 groups, %5 masked numbers, %6 bytes, %7 s\n")
            .arg(options.output)
            .arg(report.listings)
            .arg(report.areas)
            .arg(report.groups)
            .arg(report.maskedNumbers)
            .arg(report.fileSize)
            .arg(static_cast<double>(timer.elapsed()) / 1000.0, 0, 'f', 2));
    return 0;
}

const char* sectionName(pikotel::dict::SectionId id) {
    using pikotel::dict::SectionId;
    switch (id) {
    case SectionId::Areas:
        return "Areas";
    case SectionId::AreaText:
        return "AreaText";
    case SectionId::Groups:
        return "Groups";
    case SectionId::Listings:
        return "Listings";
    case SectionId::ScanText:
        return "ScanText";
    case SectionId::Details:
        return "Details";
    case SectionId::NumberKeys:
        return "NumberKeys";
    case SectionId::NumberIds:
        return "NumberIds";
    case SectionId::NumberSparse:
        return "NumberSparse";
    case SectionId::Mask:
        return "Mask";
    case SectionId::NameIndex:
        return "NameIndex";
    }
    return "?";
}

int runInfo(const QStringList& args) {
    if (args.size() != 1)
        return usage(QStringLiteral("info needs FILE"));
    const QString path = args.at(0);
    pikotel::dict::MappedFile file;
    if (!file.open(path)) {
        printError(QStringLiteral("%1: cannot read the file").arg(path));
        return kExitFailed;
    }
    pikotel::dict::Dictionary dict;
    const pikotel::dict::OpenError error = dict.open(file.bytes());
    // A file that fails only its checksums still shows its header and which sections changed.
    pikotel::dict::OpenOptions lenient;
    lenient.verifyChecksums = false;
    if (error != pikotel::dict::OpenError::None &&
        dict.open(file.bytes(), lenient) != pikotel::dict::OpenError::None) {
        printError(QStringLiteral("%1: %2").arg(
            path, QString::fromLatin1(pikotel::dict::describe(error))));
        return kExitFailed;
    }
    const pikotel::dict::Header& h = dict.header();
    QString checksums = QStringLiteral("ok");
    if (error != pikotel::dict::OpenError::None) {
        QStringList damaged;
        for (const auto id : dict.damagedSections())
            damaged << QString::fromLatin1(sectionName(id));
        checksums = QStringLiteral("DAMAGED (%1)")
                        .arg(damaged.isEmpty() ? QStringLiteral("header")
                                               : damaged.join(QStringLiteral(", ")));
    }
    print(
        QStringLiteral("file: %1\nformat: PKTLDICT version %2\nengine: %3\nrole: %4\n"
                       "build date: %5\nlistings: %6\nareas: %7\ngroups: %8\nmasked numbers: %9\n")
            .arg(path)
            .arg(h.version)
            .arg(h.engine == pikotel::dict::Engine::Dxs ? QStringLiteral("dxs")
                                                        : QStringLiteral("xch"))
            .arg(h.role == pikotel::dict::Role::Main ? QStringLiteral("main")
                                                     : QStringLiteral("delta"))
            .arg(QDateTime::fromSecsSinceEpoch(h.buildTime, Qt::UTC)
                     .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss 'UTC'")))
            .arg(h.listingCount)
            .arg(h.areaCount)
            .arg(h.groupCount)
            .arg(h.maskCount));
    print(
        QStringLiteral("file size: %1\nchecksums: %2\nsections:\n").arg(h.fileSize).arg(checksums));
    for (std::uint32_t i = 1; i <= pikotel::dict::kSectionCount; ++i) {
        const auto& s = dict.section(static_cast<pikotel::dict::SectionId>(i));
        print(QStringLiteral("  %1 %2 offset %3 size %4 hash %5\n")
                  .arg(i, 2)
                  .arg(QString::fromLatin1(sectionName(s.id)), -12)
                  .arg(s.offset)
                  .arg(s.size)
                  .arg(s.hash, 16, 16, QLatin1Char('0')));
    }
    return error == pikotel::dict::OpenError::None ? 0 : kExitFailed;
}

// What a search asks, as typed on the command line.
struct SearchRequest {
    bool byNumber = false;
    QByteArray number;
    int cityCode = 0;
    int kind = 0;
    QByteArray name;
    QByteArray town;
    int limit = 0;
};

struct Hit {
    QString fields[7];
};

QString fromCp932(const char* data, qsizetype size) {
    if (!data)
        return {};
    if (size < 0)
        size = static_cast<qsizetype>(std::strlen(data));
    return pikotel::jtext::fromCp932(QByteArrayView(data, size));
}

// The engines look for their files by fixed names in a folder: link the given files there.
bool placeFile(const QString& file, const QString& folder, const QString& name) {
    if (!QDir().mkpath(folder))
        return false;
    return QFile::link(QFileInfo(file).absoluteFilePath(), folder + QLatin1Char('/') + name);
}

int searchDxs(const QString& folder, const QString& deltaFolder, const SearchRequest& r,
              QList<Hit>& hits) {
    const QByteArray hdd = QFile::encodeName(folder);
    const QByteArray delta = QFile::encodeName(deltaFolder);
    const DxsOpenRec open{static_cast<int32_t>(hdd.size()),   hdd.constData(),  0, "",
                          static_cast<int32_t>(delta.size()), delta.constData()};
    DxsDicHandle dic{};
    DxsSearchHandle search{};
    DxsDicInfo info{};
    if (const int32_t rc = Dxs4_OpenDic(&open, &dic, &info); rc != 0) {
        printError(QStringLiteral("Dxs4_OpenDic failed: %1").arg(rc));
        return kExitFailed;
    }
    int32_t rc = Dxs4_AssignSearchHandle(&dic, &search);
    // Every text the program leaves unset is an empty text, never a null pointer.
    DxsCondRec cond{};
    cond.number = cond.townPattern = cond.unused1 = cond.namePattern = cond.unused2 = "";
    const QByteArray town = r.town + '*';
    if (r.byNumber) {
        cond.searchKind = 1;
        cond.numberLength = static_cast<int32_t>(r.number.size());
        cond.number = r.number.constData();
    } else {
        cond.searchKind = 2;
        cond.hitLimit = r.limit;
        cond.cityCode = r.cityCode;
        cond.townPatternLength = static_cast<int32_t>(town.size());
        cond.townPattern = town.constData();
        cond.personKind = r.kind;
        cond.namePatternLength = static_cast<int32_t>(r.name.size());
        cond.namePattern = r.name.constData();
    }
    int32_t count = 0;
    if (rc == 0)
        rc = Dxs4_Search(&search, &cond, &count);
    if (rc != 0) {
        printError(QStringLiteral("Dxs4_Search failed: %1").arg(rc));
    } else {
        for (int32_t i = 0; i < count; ++i) {
            DxsResultRec rec{};
            if (Dxs4_GetRec(&search, i, &rec) != 0)
                continue;
            hits.append(
                Hit{{fromCp932(rec.number, -1), fromCp932(rec.name, -1), fromCp932(rec.zip, -1),
                     fromCp932(rec.prefName, -1), fromCp932(rec.cityName, -1),
                     fromCp932(rec.town, -1), fromCp932(rec.block, -1)}});
        }
        Dxs4_ReleaseResultMem(&search);
    }
    Dxs4_ReleaseSearchHandle(&search);
    Dxs4_CloseDic(&dic);
    return rc == 0 ? 0 : kExitFailed;
}

void putFixed(char* field, std::size_t width, int32_t& length, const QByteArray& text) {
    const std::size_t n = std::min(width, static_cast<std::size_t>(text.size()));
    std::memset(field, ' ', width);
    std::memcpy(field, text.constData(), n);
    length = static_cast<int32_t>(n);
}

int searchXch(const QString& folder, const QString& deltaFolder, const SearchRequest& r,
              QList<Hit>& hits) {
    XchOpenRec open{};
    putFixed(open.dictPath, sizeof open.dictPath, open.dictPathLength, QFile::encodeName(folder));
    putFixed(open.deltaPath, sizeof open.deltaPath, open.deltaPathLength,
             QFile::encodeName(deltaFolder));
    XchHandle handle = 0;
    if (const int16_t rc = hXchDB_Open(&open, &handle); rc != 0) {
        printError(QStringLiteral("hXchDB_Open failed: %1").arg(rc));
        return kExitFailed;
    }
    // Prefecture and city names come from the area table, as in the program.
    std::map<int32_t, std::pair<QString, QString>> areas;
    for (int32_t i = 0; i < open.areaCount; ++i) {
        XchAreaRec area{};
        if (hXchDB_GetL12(handle, static_cast<int16_t>(i), &area) == 0)
            areas.emplace(area.cityCode, std::pair(fromCp932(area.prefName, area.prefNameLength),
                                                   fromCp932(area.cityName, area.cityNameLength)));
    }
    XchCondRec cond{};
    if (r.byNumber) {
        cond.searchKind = 2;
        cond.personKind = 3;
        putFixed(cond.number, sizeof cond.number, cond.numberLength, r.number);
    } else {
        cond.searchKind = 1;
        cond.personKind = r.kind;
        cond.cityCode = r.cityCode;
        putFixed(cond.town, sizeof cond.town, cond.townLength, r.town);
        putFixed(cond.namePattern, sizeof cond.namePattern, cond.namePatternLength, r.name);
    }
    int32_t count = 0;
    const int16_t rc = hXchDB_Search(handle, &cond, &count);
    if (rc != 0) {
        printError(QStringLiteral("hXchDB_Search failed: %1").arg(rc));
    } else {
        for (int32_t i = 0; i < count; ++i) {
            XchResultRec rec{};
            if (hXchDB_Getrec(handle, i, &rec) != 0)
                continue;
            const auto area = areas.find(rec.cityCode);
            hits.append(
                Hit{{fromCp932(rec.number, rec.numberLength), fromCp932(rec.name, rec.nameLength),
                     fromCp932(rec.zip, rec.zipLength),
                     area == areas.end() ? QString() : area->second.first,
                     area == areas.end() ? QString() : area->second.second,
                     fromCp932(rec.town, rec.townLength), fromCp932(rec.block, rec.blockLength)}});
        }
        hXchDB_Release(handle);
    }
    hXchDB_Close(handle);
    return rc == 0 ? 0 : kExitFailed;
}

int runSearch(const QStringList& args) {
    const Arguments a = parseArguments(args, {QStringLiteral("engine"), QStringLiteral("delta"),
                                              QStringLiteral("number"), QStringLiteral("city"),
                                              QStringLiteral("kind"), QStringLiteral("name"),
                                              QStringLiteral("town"), QStringLiteral("limit")});
    if (!a.problem.isEmpty())
        return usage(a.problem);
    const auto option = [&a](const char* name) {
        const auto it = a.options.find(QString::fromLatin1(name));
        return it == a.options.end() ? std::optional<QString>()
                                     : std::optional<QString>(it->second);
    };
    const auto engine = engineNamed(option("engine").value_or(QString()));
    if (!engine)
        return usage(QStringLiteral("search needs --engine dxs or --engine xch"));
    if (a.positional.size() != 1)
        return usage(QStringLiteral("search needs one dictionary FILE"));
    SearchRequest r;
    if (const auto number = option("number")) {
        if (option("city") || option("name") || option("kind"))
            return usage(QStringLiteral("--number excludes --city, --kind and --name"));
        r.byNumber = true;
        r.number = toCp932(QString(*number).remove(QLatin1Char('-')));
    } else {
        bool okCity = false;
        bool okKind = false;
        bool okLimit = true;
        r.cityCode = option("city").value_or(QString()).toInt(&okCity);
        r.kind = option("kind").value_or(QString()).toInt(&okKind);
        if (const auto limit = option("limit"))
            r.limit = limit->toInt(&okLimit);
        if (!okCity || !okKind || !okLimit || !option("name"))
            return usage(QStringLiteral(
                "search needs --number, or --city, --kind and --name (numbers where numbers go)"));
        r.name = toCp932(*option("name"));
        r.town = toCp932(option("town").value_or(QString()));
    }

    const QTemporaryDir place;
    if (!place.isValid()) {
        printError(QStringLiteral("cannot create a temporary folder"));
        return kExitFailed;
    }
    const QString folder = place.path() + QStringLiteral("/DIC");
    const QString deltaFolder =
        option("delta") ? place.path() + QStringLiteral("/delta") : QString();
    const bool dxs = *engine == pikotel::dict::Engine::Dxs;
    if (!placeFile(a.positional.at(0), folder,
                   dxs ? QStringLiteral("dxs9999.dct") : QStringLiteral("XCHDB.DIC")) ||
        (option("delta") &&
         !placeFile(*option("delta"), deltaFolder,
                    dxs ? QStringLiteral("DXS5001.dct") : QStringLiteral("xchdbad.dic")))) {
        printError(QStringLiteral("cannot place the dictionary in %1").arg(place.path()));
        return kExitFailed;
    }
    QList<Hit> hits;
    const int rc =
        dxs ? searchDxs(folder, deltaFolder, r, hits) : searchXch(folder, deltaFolder, r, hits);
    for (const Hit& hit : hits) {
        QStringList fields;
        for (const QString& f : hit.fields)
            fields << f;
        print(fields.join(QLatin1Char('\t')) + QLatin1Char('\n'));
    }
    return rc;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("generate"))
        return runGenerate(args);
    if (command == QLatin1String("build"))
        return runBuild(args);
    if (command == QLatin1String("info"))
        return runInfo(args);
    if (command == QLatin1String("search"))
        return runSearch(args);
    return usage(QStringLiteral("unknown command %1").arg(command));
}
