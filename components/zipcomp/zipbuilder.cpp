#include "zipcomp/zipbuilder.h"

#include "jtext/cp932.h"
#include "jtext/csv.h"
#include "zipcomp/zipformat.h"
#include "zipcomp/ziptext.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <tuple>

namespace pikotel::zipcomp {

using namespace format;
using jtext::withCp932Forms;

namespace {

const QString kIkani = QStringLiteral("以下に掲載がない場合");
const QString kIkaniReading = QStringLiteral("イカニケイサイガナイバアイ");
// Japan Post's town for a municipality with one code as a whole ("粟島浦村一円",
// "直島町一円"); a bare "一円" is a town's name (多賀町 has one).
const QString kWholeVillage = QStringLiteral("村一円");
const QString kWholeTown = QStringLiteral("町一円");
const QString kSecondSource = QStringLiteral("jpostal");
const QString kNextBuildings = QStringLiteral("次のビル");
const QString kOthers = QStringLiteral("その他");
const QString kOpen = QStringLiteral("（");
const QString kClose = QStringLiteral("）");
const QChar kComma(0x3001); // 、
// No field of the sources comes near this; the string pool stores lengths in 16 bits and a
// character takes at most 2 bytes of cp932.
constexpr qsizetype kMaxFieldChars = 10000;

bool readWhole(const QString& path, QByteArray& out, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    out = file.readAll();
    return true;
}

bool allDigits(const QString& s, qsizetype length) {
    return s.size() == length &&
           std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString where(const QString& path, std::uint64_t line) {
    return QStringLiteral("%1:%2").arg(path).arg(line);
}

// Reads every non-blank row of a source file with the given number of columns and hands it,
// with its place ("path:line") for messages, to row; the first refusal ends the reading.
template <typename RowFn>
bool readRows(const QString& path, jtext::CsvFormat format, qsizetype columns, QString& error,
              RowFn&& row) {
    QByteArray text;
    if (!readWhole(path, text, error))
        return false;
    jtext::CsvReader reader(std::string_view(text.constData(), std::size_t(text.size())), format);
    jtext::CsvRow r;
    while (reader.next(r)) {
        if (r.blank())
            continue;
        const QString at = where(path, r.line);
        if (qsizetype(r.fields.size()) != columns) {
            error = QStringLiteral("%1: %2 列のはずが %3 列です")
                        .arg(at)
                        .arg(columns)
                        .arg(r.fields.size());
            return false;
        }
        if (!row(r.texts(), at, error))
            return false;
    }
    if (!reader.error().empty()) {
        error = QStringLiteral("%1: %2").arg(where(path, r.line),
                                             QString::fromStdString(reader.error()));
        return false;
    }
    return true;
}

bool fieldsFit(const QStringList& f, const QString& at, QString& error) {
    if (std::any_of(f.begin(), f.end(),
                    [](const QString& x) { return x.size() > kMaxFieldChars; })) {
        error = QStringLiteral("%1: 項目が長すぎます").arg(at);
        return false;
    }
    return true;
}

class StringPool {
public:
    StringPool() { bytes_.append(2, '\0'); } // offset 0: the empty text

    std::uint32_t add(const QString& text) {
        if (text.isEmpty())
            return 0;
        const QByteArray bytes = codec_.encode(text);
        const auto found = offsets_.constFind(bytes);
        if (found != offsets_.constEnd())
            return *found;
        const auto at = std::uint32_t(bytes_.size());
        const auto length = std::uint16_t(std::min<qsizetype>(bytes.size(), 0xFFFF));
        bytes_.append(char(length & 0xFF));
        bytes_.append(char(length >> 8));
        bytes_.append(bytes.left(length));
        offsets_.insert(bytes, at);
        return at;
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    jtext::Cp932Codec codec_;
    QByteArray bytes_;
    QHash<QByteArray, std::uint32_t> offsets_;
};

// One table under construction: rows of 32-bit words.
struct Table {
    std::uint32_t tag;
    std::size_t words;
    std::vector<std::uint32_t> data;
    std::uint32_t rows() const { return std::uint32_t(data.size() / words); }
    void add(std::initializer_list<std::uint32_t> row) { data.insert(data.end(), row); }
};

void putU16(QByteArray& b, std::size_t at, std::uint16_t v) {
    b[qsizetype(at)] = char(v & 0xFF);
    b[qsizetype(at + 1)] = char(v >> 8);
}
void putU32(QByteArray& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[qsizetype(at) + i] = char((v >> (8 * i)) & 0xFF);
}
void putU64(QByteArray& b, std::size_t at, std::uint64_t v) {
    putU32(b, at, std::uint32_t(v));
    putU32(b, at + 4, std::uint32_t(v >> 32));
}

int digitAt(const QString& s, qsizetype i) {
    const char16_t c = s.at(i).unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= 0xFF10 && c <= 0xFF19)
        return c - 0xFF10;
    return -1;
}

// A town of one city while it is being built.
struct TownEntry {
    std::uint32_t code;
    QString reading, part, partReading;
    bool cleaned; // from the second source, whose town texts lost their notes
};
struct TownGroup {
    QString name, reading;
    std::vector<TownEntry> entries;
    bool sharesItsName = false; // another town of the city has the same name
};
struct BlockOut {
    std::uint32_t code;
    QString name, reading;
};
struct TownOut {
    std::uint32_t code = 0;
    QString name, reading, note, noteReading;
    std::vector<BlockOut> blocks;
};

QString codeLabel(std::uint32_t code) {
    return QStringLiteral("%1-%2")
        .arg(code / 10000, 3, 10, QLatin1Char('0'))
        .arg(code % 10000, 4, 10, QLatin1Char('0'));
}

// One name for towns that are not one: every row note-less, each reading with a code of its
// own (新潟市北区 東栄町, ヒガシサカエマチ 950-3104 and トウエイチョウ 950-3323). Each reading
// is then a town; any other group stays whole.
std::vector<TownGroup> splitByReading(const TownGroup& group) {
    std::map<QString, std::set<std::uint32_t>> codes;
    for (const TownEntry& e : group.entries) {
        if (!e.part.isEmpty())
            return {group};
        codes[e.reading].insert(e.code);
    }
    std::set<std::uint32_t> distinct;
    for (const auto& [reading, codesOfReading] : codes) {
        if (codesOfReading.size() != 1)
            return {group};
        distinct.insert(*codesOfReading.begin());
    }
    if (codes.size() < 2 || distinct.size() != codes.size())
        return {group};
    std::vector<TownGroup> towns;
    for (const auto& [reading, codesOfReading] : codes) {
        TownGroup town{group.name, reading, {}, true};
        std::copy_if(group.entries.begin(), group.entries.end(), std::back_inserter(town.entries),
                     [&](const TownEntry& e) { return e.reading == reading; });
        towns.push_back(std::move(town));
    }
    return towns;
}

// The rules of RULES.md: one town per name, with a code of its own when the whole town
// has one, else divided into blocks.
TownOut resolveTown(const TownGroup& group) {
    std::vector<TownEntry> distinct;
    for (const TownEntry& e : group.entries) {
        const auto same = std::find_if(distinct.begin(), distinct.end(), [&](const TownEntry& d) {
            return d.code == e.code && d.part == e.part;
        });
        if (same == distinct.end())
            distinct.push_back(e);
        else
            same->cleaned = same->cleaned && e.cleaned;
    }
    std::set<std::uint32_t> codesWithPart;
    for (const TownEntry& e : distinct) {
        if (!e.part.isEmpty())
            codesWithPart.insert(e.code);
    }
    std::vector<TownEntry> kept;
    for (const TownEntry& e : distinct) {
        if (!e.part.isEmpty() || !e.cleaned || !codesWithPart.contains(e.code))
            kept.push_back(e);
    }
    std::set<std::uint32_t> codes;
    bool plain = false;
    // "（次のビルを除く）" and "（その他）" say the code holds only where no other entry
    // applies: the town's code depends on the address even when it has one code.
    bool coversTheRest = false;
    for (const TownEntry& e : kept) {
        codes.insert(e.code);
        plain = plain || e.part.isEmpty();
        coversTheRest = coversTheRest || e.part.contains(kNextBuildings) || e.part == kOthers;
    }

    TownOut out;
    out.name = group.name;
    out.reading = group.reading;
    if (codes.size() == 1 && !coversTheRest) {
        out.code = *codes.begin();
        if (group.sharesItsName) {
            out.note = kOpen + group.reading + kClose;
            out.noteReading = out.note;
        } else if (!plain) {
            QStringList parts, readings;
            for (const TownEntry& e : kept) {
                if (!parts.contains(e.part))
                    parts.append(e.part);
                if (!e.partReading.isEmpty() && !readings.contains(e.partReading))
                    readings.append(e.partReading);
            }
            out.note = kOpen + parts.join(kComma) + kClose;
            if (!readings.isEmpty())
                out.noteReading = kOpen + readings.join(kComma) + kClose;
        }
        return out;
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const TownEntry& a, const TownEntry& b) { return a.code < b.code; });
    for (const TownEntry& e : kept) {
        if (e.part.isEmpty())
            out.blocks.push_back({e.code, group.name, group.reading});
        else
            out.blocks.push_back({e.code, e.part, e.partReading});
    }
    // One name with several codes: the second source's rows that lost their notes (長野市
    // 鶴賀 six times). Their code tells them apart.
    std::map<QString, std::set<std::uint32_t>> codesByName;
    for (const BlockOut& b : out.blocks)
        codesByName[b.name].insert(b.code);
    for (BlockOut& b : out.blocks) {
        if (codesByName[b.name].size() > 1)
            b.name += kOpen + codeLabel(b.code) + kClose;
    }
    return out;
}

bool townBefore(const TownOut& a, const TownOut& b) {
    const bool ikaniA = a.name == kIkani;
    const bool ikaniB = b.name == kIkani;
    if (ikaniA != ikaniB)
        return ikaniA;
    if (const int r = naturalCompare(a.reading, b.reading))
        return r < 0;
    return naturalCompare(a.name, b.name) < 0;
}

} // namespace

int naturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (digitAt(a, i) >= 0 && digitAt(b, j) >= 0) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && digitAt(a, ei) >= 0)
                ++ei;
            while (ej < b.size() && digitAt(b, ej) >= 0)
                ++ej;
            while (i < ei - 1 && digitAt(a, i) == 0)
                ++i;
            while (j < ej - 1 && digitAt(b, j) == 0)
                ++j;
            if (ei - i != ej - j)
                return ei - i < ej - j ? -1 : 1;
            for (; i < ei; ++i, ++j) {
                if (digitAt(a, i) != digitAt(b, j))
                    return digitAt(a, i) < digitAt(b, j) ? -1 : 1;
            }
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i) < b.at(j) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool ZipDictionaryBuilder::readAddresses(const QString& path, QString& error) {
    return readRows(
        path, jtext::CsvFormat{}, 14, error,
        [this](const QStringList& f, const QString& at, QString& error) {
            if (!allDigits(f[0], 5) || !allDigits(f[2], 7)) {
                error =
                    QStringLiteral("%1: 市区町村コードまたは郵便番号が数字ではありません").arg(at);
                return false;
            }
            if (!f[1].isEmpty() && !allDigits(f[1], 3) && !allDigits(f[1], 5)) {
                error =
                    QStringLiteral("%1: 旧郵便番号が３桁または５桁の数字ではありません").arg(at);
                return false;
            }
            if (f[6].isEmpty() || f[7].isEmpty()) {
                error = QStringLiteral("%1: 都道府県名または市区町村名が空です").arg(at);
                return false;
            }
            if (!fieldsFit(f, at, error))
                return false;
            AddressRow row{f[0].toUInt(),         f[2].toUInt(),        withCp932Forms(f[3]),
                           withCp932Forms(f[4]),  withCp932Forms(f[5]), withCp932Forms(f[6]),
                           withCp932Forms(f[7]),  withCp932Forms(f[8]), f[1],
                           f[13] == kSecondSource};
            // The second source blanked Japan Post's catch-all town; it is put back so both
            // sources read alike.
            if (row.town.isEmpty()) {
                row.town = kIkani;
                row.townReading = kIkaniReading;
            }
            addresses_.push_back(std::move(row));
            return true;
        });
}

bool ZipDictionaryBuilder::readBusinesses(const QString& path, QString& error) {
    return readRows(
        path, jtext::CsvFormat{}, 11, error,
        [this](const QStringList& f, const QString& at, QString& error) {
            if (!allDigits(f[0], 5) || !allDigits(f[2], 7)) {
                error =
                    QStringLiteral("%1: 市区町村コードまたは郵便番号が数字ではありません").arg(at);
                return false;
            }
            if (f[3].isEmpty() || f[4].isEmpty() || f[7].isEmpty()) {
                error = QStringLiteral("%1: 都道府県名、市区町村名または事業所名が空です").arg(at);
                return false;
            }
            if (!fieldsFit(f, at, error))
                return false;
            businesses_.push_back({f[0].toUInt(), f[2].toUInt(), withCp932Forms(f[3]),
                                   withCp932Forms(f[4]), withCp932Forms(f[5]), withCp932Forms(f[6]),
                                   withCp932Forms(f[7]), withCp932Forms(f[8])});
            return true;
        });
}

bool ZipDictionaryBuilder::readExchanges(const QString& path, QString& error) {
    const bool read = readRows(
        path, jtext::kTabSeparated, 6, error,
        [this](const QStringList& f, const QString& at, QString& error) {
            if (f[0].isEmpty() || f[0].size() > 15 || !allDigits(f[0], f[0].size()) ||
                !allDigits(f[1], 5)) {
                error = QStringLiteral("%1: 局番または市区町村コードが数字ではありません").arg(at);
                return false;
            }
            if (!fieldsFit(f, at, error))
                return false;
            exchanges_.push_back(
                {f[0].toLatin1(), f[1].toUInt(), withCp932Forms(f[4]), withCp932Forms(f[5]), at});
            return true;
        });
    if (read)
        haveExchanges_ = true;
    return read;
}

QByteArray ZipDictionaryBuilder::build(std::uint32_t buildDate, const LicenceId& licence) {
    warnings_.clear();
    StringPool pool;

    // Cities and prefectures, named as their first address row names them.
    struct CityInfo {
        QString name, reading, pref, prefReading;
        std::map<QString, std::size_t> groupIndex;
        std::vector<TownGroup> groups;
    };
    std::map<std::uint32_t, CityInfo> cityInfo;
    for (const AddressRow& r : addresses_) {
        CityInfo& c = cityInfo[r.city];
        if (c.name.isEmpty())
            c = {r.cityName, r.cityReading, r.pref, r.prefReading, {}, {}};
        const TownText name = splitTownText(r.town);
        const TownText reading = splitTownText(r.townReading);
        auto [it, added] = c.groupIndex.try_emplace(name.name, c.groups.size());
        if (added)
            c.groups.push_back({name.name, reading.name, {}});
        c.groups[it->second].entries.push_back(
            {r.code, reading.name, name.part(), reading.part(), r.cleaned});
    }
    for (const BusinessRow& r : businesses_) {
        CityInfo& c = cityInfo[r.city];
        if (c.name.isEmpty())
            c = {r.cityName, QString(), r.pref, QString(), {}, {}};
    }

    Table prefs{pref::kTag, pref::Words, {}};
    Table cities{city::kTag, city::Words, {}};
    Table towns{town::kTag, town::Words, {}};
    Table blocks{block::kTag, block::Words, {}};
    std::map<std::uint32_t, std::uint32_t> cityIndex;
    // Per city: town name → its towns, for placing exchange rows.
    std::map<std::uint32_t, std::multimap<QString, std::uint32_t>> townIndex;
    // Per city: the town that stands for the whole city, for exchange rows without a town.
    std::map<std::uint32_t, std::uint32_t> wholeCityTown;

    std::uint32_t currentPref = 0;
    for (auto& [code, info] : cityInfo) {
        const std::uint32_t prefCode = code / 1000;
        if (prefs.rows() == 0 || prefCode != currentPref) {
            currentPref = prefCode;
            prefs.add(
                {prefCode, pool.add(info.pref), pool.add(info.prefReading), cities.rows(), 0});
        }
        prefs.data[prefs.data.size() - pref::Words + pref::CityCount] += 1;

        std::vector<TownOut> resolved;
        for (const TownGroup& g : info.groups) {
            for (const TownGroup& town : splitByReading(g))
                resolved.push_back(resolveTown(town));
        }
        std::stable_sort(resolved.begin(), resolved.end(), townBefore);

        const std::uint32_t c = cities.rows();
        cityIndex[code] = c;
        cities.add({code, prefs.rows() - 1, pool.add(info.name), pool.add(info.reading),
                    towns.rows(), std::uint32_t(resolved.size())});
        for (const TownOut& t : resolved) {
            const std::uint32_t ti = towns.rows();
            townIndex[code].emplace(t.name, ti);
            if (!wholeCityTown.contains(code) &&
                (t.name == kIkani || t.name.endsWith(kWholeVillage) || t.name.endsWith(kWholeTown)))
                wholeCityTown[code] = ti;
            towns.add({t.code, c, pool.add(t.name), pool.add(t.reading), pool.add(t.note),
                       pool.add(t.noteReading), blocks.rows(), std::uint32_t(t.blocks.size())});
            for (const BlockOut& b : t.blocks)
                blocks.add({b.code, ti, pool.add(b.name), pool.add(b.reading)});
        }
    }

    // Forward-search records: every distinct source row, in code order, addresses first. An
    // address row that repeats the code, city and town of an earlier one adds nothing a
    // reader could see; the first, Japan Post's own where there is one, stands.
    struct RecordOut {
        std::uint32_t code, kind, order;
        std::array<std::uint32_t, record::Words> words;
        QString oldCode;
    };
    std::vector<RecordOut> recordRows;
    std::set<std::tuple<std::uint32_t, std::uint32_t, QString>> addressesSeen;
    for (const AddressRow& r : addresses_) {
        if (!addressesSeen.insert({r.code, r.city, r.town}).second)
            continue;
        const TownText name = splitTownText(r.town);
        const TownText reading = splitTownText(r.townReading);
        recordRows.push_back(
            {r.code,
             record::Address,
             std::uint32_t(recordRows.size()),
             {r.code, cityIndex.at(r.city), record::Address, pool.add(name.name),
              pool.add(reading.name), pool.add(name.note), pool.add(reading.note), 0, 0},
             r.oldCode});
    }
    for (const BusinessRow& r : businesses_) {
        recordRows.push_back(
            {r.code,
             record::Business,
             std::uint32_t(recordRows.size()),
             {r.code, cityIndex.at(r.city), record::Business, pool.add(r.town), 0,
              pool.add(r.street), 0, pool.add(r.office), pool.add(r.officeReading)},
             QString()});
    }
    std::sort(recordRows.begin(), recordRows.end(), [](const RecordOut& a, const RecordOut& b) {
        return std::tie(a.code, a.kind, a.order) < std::tie(b.code, b.kind, b.order);
    });
    Table records{record::kTag, record::Words, {}};
    for (const RecordOut& r : recordRows)
        records.data.insert(records.data.end(), r.words.begin(), r.words.end());

    // Old codes: the address records under each, in record order.
    std::vector<std::pair<QString, std::uint32_t>> byOldCode;
    for (std::uint32_t i = 0; i < recordRows.size(); ++i) {
        if (!recordRows[i].oldCode.isEmpty())
            byOldCode.emplace_back(recordRows[i].oldCode, i);
    }
    std::sort(byOldCode.begin(), byOldCode.end());
    Table oldCodes{oldCode::kTag, oldCode::Words, {}};
    for (const auto& [digits, index] : byOldCode)
        oldCodes.add({pool.add(digits), index});

    // Exchanges: each distinct (city, town, chōme) once, in dictionary order.
    std::map<QByteArray, std::set<std::tuple<std::uint32_t, std::uint32_t, QString>>> byExchange;
    for (const ExchangeRow& x : exchanges_) {
        const auto c = cityIndex.find(x.city);
        if (c == cityIndex.end()) {
            warnings_.append(QStringLiteral("%1: 市区町村コード %2 は郵便番号データにありません")
                                 .arg(x.where)
                                 .arg(x.city, 5, 10, QLatin1Char('0')));
            continue;
        }
        // Every town of the name: one name can stand for two towns (rule 3).
        std::vector<std::uint32_t> placed;
        if (x.town.isEmpty()) {
            if (const auto whole = wholeCityTown.find(x.city); whole != wholeCityTown.end())
                placed.push_back(whole->second);
        } else {
            const auto& names = townIndex[x.city];
            auto [from, to] = names.equal_range(x.town);
            if (from == to) {
                const QString bare = withoutNotes(x.town);
                const auto first = std::find_if(names.begin(), names.end(), [&](const auto& n) {
                    return withoutNotes(n.first) == bare;
                });
                if (first != names.end())
                    std::tie(from, to) = names.equal_range(first->first);
            }
            for (auto town = from; town != to; ++town)
                placed.push_back(town->second);
            if (placed.empty())
                warnings_.append(QStringLiteral("%1: 町域 %2 は郵便番号データにありません")
                                     .arg(x.where, x.town));
        }
        if (placed.empty())
            placed.push_back(kNoIndex);
        for (const std::uint32_t t : placed)
            byExchange[x.digits].insert({c->second, t, x.chome});
    }
    Table exchangeKeys{exchange::kTag, exchange::Words, {}};
    Table exchangeRows{exchangeRow::kTag, exchangeRow::Words, {}};
    for (const auto& [digits, rows] : byExchange) {
        exchangeKeys.add({pool.add(QString::fromLatin1(digits)), exchangeRows.rows(),
                          std::uint32_t(rows.size())});
        for (const auto& [c, t, chome] : rows)
            exchangeRows.add({c, t, pool.add(chome)});
    }

    // Layout: header, section table, the tables, the string pool.
    const std::vector<const Table*> tables = {&prefs,   &cities,       &towns,        &blocks,
                                              &records, &exchangeKeys, &exchangeRows, &oldCodes};
    const std::size_t tableEnd = kHeaderSize + kSectionCount * kSectionEntrySize;
    std::size_t size = align8(tableEnd);
    std::vector<std::size_t> starts;
    for (const Table* t : tables) {
        starts.push_back(size);
        size = align8(size + t->data.size() * 4);
    }
    const std::size_t poolStart = size;
    size = poolStart + std::size_t(pool.bytes().size());

    QByteArray image(qsizetype(size), '\0');
    std::copy(kMagic.begin(), kMagic.end(), image.begin());
    putU16(image, offset::versionMajor, kVersionMajor);
    putU16(image, offset::versionMinor, kVersionMinor);
    putU32(image, offset::headerSize, kHeaderSize);
    putU32(image, offset::buildDate, buildDate);
    putU32(image, offset::sectionCount, kSectionCount);
    putU64(image, offset::fileSize, size);
    std::copy(licence.begin(), licence.end(), image.begin() + offset::licenceId);
    const std::uint32_t business = std::uint32_t(businesses_.size());
    const std::uint32_t counts[] = {prefs.rows(),
                                    cities.rows(),
                                    towns.rows(),
                                    blocks.rows(),
                                    records.rows() - business,
                                    business,
                                    exchangeKeys.rows(),
                                    exchangeRows.rows(),
                                    oldCodes.rows()};
    for (std::size_t i = 0; i < std::size(counts); ++i)
        putU32(image, offset::counts + i * 4, counts[i]);
    putU32(image, offset::flags, haveExchanges_ ? kFlagExchangeData : 0);

    auto section = [&](std::size_t slot, std::uint32_t tagValue, std::uint32_t elementSize,
                       std::uint32_t count, std::size_t start, std::size_t length) {
        const std::size_t at = kHeaderSize + slot * kSectionEntrySize;
        putU32(image, at, tagValue);
        putU32(image, at + 4, elementSize);
        putU32(image, at + 8, count);
        putU64(image, at + 16, start);
        putU64(image, at + 24, length);
    };
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const Table& t = *tables[i];
        section(i, t.tag, std::uint32_t(t.words * 4), t.rows(), starts[i], t.data.size() * 4);
        for (std::size_t w = 0; w < t.data.size(); ++w)
            putU32(image, starts[i] + w * 4, t.data[w]);
    }
    section(tables.size(), kStringsTag, 1, std::uint32_t(pool.bytes().size()), poolStart,
            std::size_t(pool.bytes().size()));
    std::copy(pool.bytes().begin(), pool.bytes().end(), image.begin() + qsizetype(poolStart));

    const auto bytes = std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(image.constData()), std::size_t(image.size()));
    putU32(image, offset::checksum, imageChecksum(bytes));
    return image;
}

bool ZipDictionaryBuilder::write(const QByteArray& image, const QString& folder, QString& error) {
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("%1: フォルダを作れません").arg(folder);
        return false;
    }
    QSaveFile file(QDir(folder).filePath(QLatin1String(kDictionaryFileName)));
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit()) {
        error = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

} // namespace pikotel::zipcomp
