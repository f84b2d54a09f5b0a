#include "generator.h"

#include "gen_address.h"
#include "gen_business.h"
#include "gen_names.h"
#include "gen_numbers.h"
#include "gen_random.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

namespace pikotel::gen {

namespace {

constexpr std::size_t kFlushBytes = 4 << 20;

// Far beyond a national directory; keeps the quota arithmetic within 64 bits.
constexpr qint64 kMaxListings = 1'000'000'000;

// Per mille of households that are businesses.
constexpr std::uint32_t kBusinessPerMille = 400;
// Per mille of addresses in a building, with its name after the block.
constexpr std::uint32_t kBuildingPerMille = 100;
// Every n-th number is shared by two to four listings.
constexpr std::uint64_t kSharedEvery = 97;
constexpr std::uint64_t kSharedPhase = 3;

const char* const kFullWidthDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

void appendFullWidth(std::string* out, std::uint64_t value) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>(value % 10);
        value /= 10;
    } while (value > 0);
    while (n-- > 0)
        out->append(kFullWidthDigits[static_cast<int>(digits[n])]);
}

// RFC 4180: a field with a comma, quote or line break is quoted, inner quotes doubled.
void appendCsv(std::string* out, const std::string& field) {
    const bool plain = std::none_of(field.begin(), field.end(), [](char c) {
        return c == ',' || c == '"' || c == '\n' || c == '\r';
    });
    if (plain) {
        out->append(field);
        return;
    }
    out->push_back('"');
    for (const char c : field) {
        if (c == '"')
            out->push_back('"');
        out->push_back(c);
    }
    out->push_back('"');
}

class Output {
public:
    explicit Output(const QString& path) : file_(path) {}

    bool open(QString* error) {
        if (file_.open(QIODevice::WriteOnly))
            return true;
        *error = QStringLiteral("cannot write %1: %2").arg(file_.fileName(), file_.errorString());
        return false;
    }
    std::string& buffer() { return buffer_; }
    bool flushIfFull(QString* error) { return buffer_.size() < kFlushBytes || flush(error); }
    bool flush(QString* error) {
        if (!buffer_.empty() && file_.write(buffer_.data(), static_cast<qint64>(buffer_.size())) !=
                                    static_cast<qint64>(buffer_.size())) {
            *error =
                QStringLiteral("cannot write %1: %2").arg(file_.fileName(), file_.errorString());
            return false;
        }
        buffer_.clear();
        return true;
    }
    bool commit(QString* error) {
        if (!flush(error))
            return false;
        if (file_.commit())
            return true;
        *error = QStringLiteral("cannot write %1: %2").arg(file_.fileName(), file_.errorString());
        return false;
    }

private:
    QSaveFile file_;
    std::string buffer_;
};

// The exchange rows seen so far: per town the chōme (bit 0: none) met with its current
// exchange. A town's group moves on to a new exchange only when the old one is full, so a
// finished pair never comes back. The rows grow with the towns and exchanges in use, not
// with the number of listings.
class ExchangeAreas {
public:
    struct Entry {
        std::uint32_t exchange = 0;
        std::uint32_t town = 0;
        std::uint64_t chome = 0;
    };

    explicit ExchangeAreas(std::size_t towns) : current_(towns) {}

    void add(std::uint32_t exchange, std::uint32_t town, int chome) {
        Entry& e = current_[town];
        if (e.exchange != exchange) {
            if (e.chome != 0)
                finished_.push_back(e);
            e = {exchange, town, 0};
        }
        e.chome |= std::uint64_t{1} << chome;
    }

    std::vector<Entry> entries() const {
        std::vector<Entry> all = finished_;
        for (const Entry& e : current_) {
            if (e.chome != 0)
                all.push_back(e);
        }
        return all;
    }

private:
    std::vector<Entry> current_;
    std::vector<Entry> finished_;
};

// Listings per prefecture by population; every prefecture at least one once there are
// enough listings for all of them.
std::vector<qint64> prefectureQuotas(const AddressBook& book, qint64 listings) {
    const std::size_t n = book.prefectures.size();
    std::uint64_t total = 0;
    for (const Prefecture& p : book.prefectures)
        total += p.population;
    std::vector<qint64> quotas(n, 0);
    std::vector<std::pair<std::uint64_t, std::size_t>> remainders;
    qint64 given = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t share =
            static_cast<std::uint64_t>(listings) * book.prefectures[i].population;
        quotas[i] = static_cast<qint64>(share / total);
        remainders.push_back({static_cast<std::uint64_t>(share % total), i});
        given += quotas[i];
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t k = 0; given < listings; ++k, ++given)
        ++quotas[remainders[k % n].second];
    if (listings >= static_cast<qint64>(n)) {
        for (std::size_t i = 0; i < n; ++i) {
            if (quotas[i] > 0)
                continue;
            const auto largest = std::max_element(quotas.begin(), quotas.end());
            --*largest;
            ++quotas[i];
        }
    }
    return quotas;
}

struct CityPickers {
    WeightedPicker any;
    WeightedPicker city; // cities and wards
    WeightedPicker townOrVillage;
    std::vector<std::uint32_t> anyIndex;
    std::vector<std::uint32_t> cityIndex;
    std::vector<std::uint32_t> townOrVillageIndex;
};

class Generator {
public:
    Generator(const GeneratorOptions& options, AddressBook& book, const NameBook& names)
        : options_(options), book_(book), names_(names), namer_(book, names), random_(options.seed),
          exchanges_(book.towns.size()) {}

    bool run(QString* error);

private:
    // One number with its listings, at most `rows` of them; the count written in *written.
    bool household(std::size_t pref, qint64 rows, Output& csv, qint64* written, QString* error);
    std::uint32_t pickCity(std::size_t pref, CityNeed need);
    int appendBlock(std::string* block, const Address& address);
    void appendPerson(std::string* name, std::string* reading, const PersonName& surname,
                      const PersonName& given);
    bool writeAreas(QString* error);
    bool writeExchanges(QString* error);

    const GeneratorOptions& options_;
    AddressBook& book_;
    const NameBook& names_;
    BusinessNamer namer_;
    NumberPlan plan_;
    Random random_;
    std::vector<CityPickers> pickers_;
    ExchangeAreas exchanges_;
    std::uint64_t households_ = 0;

    // Reused per listing.
    PhoneNumber number_;
    std::string block_;
    std::string name_;
    std::string reading_;
};

std::uint32_t Generator::pickCity(std::size_t pref, CityNeed need) {
    CityPickers& p = pickers_[pref];
    if (need == CityNeed::City && !p.city.empty())
        return p.cityIndex[p.city.pick(random_)];
    if (need == CityNeed::TownOrVillage && !p.townOrVillage.empty())
        return p.townOrVillageIndex[p.townOrVillage.pick(random_)];
    return p.anyIndex[p.any.pick(random_)];
}

// "３丁目１２－５", "３－１２－５", "１２３４番地", now and then a building after it.
// Returns the chōme, 0 for none.
int Generator::appendBlock(std::string* block, const Address& address) {
    const Town& town = book_.towns[address.town];
    block->clear();
    int chome = 0;
    if (address.chome != 0) {
        const int count = std::popcount(address.chome);
        int k = static_cast<int>(random_.below(static_cast<std::uint64_t>(count)));
        for (int bit = 1; bit < 64; ++bit) {
            if ((address.chome >> bit & 1) != 0 && k-- == 0) {
                chome = bit;
                break;
            }
        }
        const std::uint64_t ban = random_.between(1, random_.chance(800) ? 25 : 60);
        const std::uint64_t go = random_.between(1, 30);
        appendFullWidth(block, static_cast<std::uint64_t>(chome));
        switch (random_.below(20)) {
        case 0:
        case 1:
        case 2:
            block->append("丁目");
            appendFullWidth(block, ban);
            block->append("番");
            appendFullWidth(block, go);
            block->append("号");
            break;
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
            block->append("－");
            appendFullWidth(block, ban);
            block->append("－");
            appendFullWidth(block, go);
            break;
        default:
            block->append("丁目");
            appendFullWidth(block, ban);
            block->append("－");
            appendFullWidth(block, go);
            break;
        }
    } else {
        const std::uint64_t lot = random_.between(1, random_.chance(700) ? 400 : 3500);
        const std::uint64_t sub = random_.between(1, 30);
        appendFullWidth(block, lot);
        switch (random_.below(4)) {
        case 0:
            block->append("番地");
            break;
        case 1:
            block->append("－");
            appendFullWidth(block, sub);
            break;
        case 2:
            block->append("番地");
            appendFullWidth(block, sub);
            break;
        default:
            break;
        }
    }
    if (random_.chance(kBuildingPerMille)) {
        block->append("　");
        const std::uint64_t floor = random_.between(1, 9);
        switch (random_.below(4)) {
        case 0:
            block->append(names_.surname(random_).written);
            block->append("ビル");
            appendFullWidth(block, floor);
            block->append("Ｆ");
            break;
        case 1:
            block->append("第");
            appendFullWidth(block, random_.between(1, 5));
            block->append(names_.surname(random_).written);
            block->append("ビル");
            appendFullWidth(block, floor);
            block->append("階");
            break;
        case 2:
            // Named after the town where it makes a name, else after its owner's family.
            block->append(town.nameKana.empty() ? names_.surname(random_).written : town.name);
            block->append("マンション");
            appendFullWidth(block, floor * 100 + random_.between(1, 12));
            block->append("号");
            break;
        default:
            block->append("ハイツ");
            block->append(names_.surname(random_).written);
            appendFullWidth(block, random_.between(1, 3) * 100 + random_.between(1, 8));
            break;
        }
    }
    return chome;
}

void Generator::appendPerson(std::string* name, std::string* reading, const PersonName& surname,
                             const PersonName& given) {
    name->assign(surname.written).append("　").append(given.written);
    reading->assign(surname.reading).append("　").append(given.reading);
}

bool Generator::household(std::size_t pref, qint64 rows, Output& csv, qint64* written,
                          QString* error) {
    const bool business = random_.chance(kBusinessPerMille);
    const std::size_t templateIndex = business ? namer_.pickTemplate(random_) : 0;
    const std::uint32_t cityIndex =
        pickCity(pref, business ? namer_.cityNeed(templateIndex) : CityNeed::Any);
    const City& city = book_.cities[cityIndex];
    const Address& address = book_.addresses[city.addresses[random_.below(city.addresses.size())]];
    const Town& town = book_.towns[address.town];
    if (!plan_.next(town, &number_, error))
        return false;
    const int chome = appendBlock(&block_, address);
    exchanges_.add(number_.exchange, address.town, chome);

    // A shared number: a family under one number, or a shop with its owner's family.
    qint64 size = 1;
    if (households_++ % kSharedEvery == kSharedPhase)
        size = static_cast<qint64>(random_.between(2, 4));
    size = std::min(size, rows);
    *written = size;
    const PersonName& familyName = names_.surname(random_);
    std::array<const PersonName*, 4> givenNames{};
    for (qint64 i = 0; i < size; ++i) {
        int kind = 1;
        if (i == 0 && business) {
            namer_.compose(templateIndex, cityIndex, address.town, random_, &name_, &reading_);
            kind = 2;
        } else {
            // Members of one family have different given names, so no two rows are the same
            // (the dictionary builder refuses a repeated row).
            const PersonName* given = &names_.givenName(random_);
            while (std::find(givenNames.begin(), givenNames.end(), given) != givenNames.end())
                given = &names_.givenName(random_);
            givenNames[static_cast<std::size_t>(i)] = given;
            appendPerson(&name_, &reading_, familyName, *given);
        }
        std::string& out = csv.buffer();
        out.append(number_.display).push_back(',');
        appendCsv(&out, name_);
        out.push_back(',');
        appendCsv(&out, reading_);
        out.push_back(',');
        out.push_back(static_cast<char>('0' + kind));
        out.push_back(',');
        out.append(address.zip).push_back(',');
        appendCsv(&out, city.pref);
        out.push_back(',');
        appendCsv(&out, city.name);
        out.push_back(',');
        out.append(city.code).push_back(',');
        appendCsv(&out, town.name);
        out.push_back(',');
        appendCsv(&out, block_);
        out.push_back('\n');
    }
    return csv.flushIfFull(error);
}

bool Generator::writeAreas(QString* error) {
    const QString path =
        options_.areasOut.isEmpty()
            ? QFileInfo(options_.outCsv).dir().filePath(QStringLiteral("areas.csv"))
            : options_.areasOut;
    Output out(path);
    if (!out.open(error))
        return false;
    std::string& b = out.buffer();
    b.append("city_code,pref,city\n");
    for (const City& city : book_.cities) {
        b.append(city.code).push_back(',');
        appendCsv(&b, city.pref);
        b.push_back(',');
        appendCsv(&b, city.name);
        b.push_back('\n');
    }
    return out.commit(error);
}

bool Generator::writeExchanges(QString* error) {
    const QString path =
        options_.exchangeOut.isEmpty()
            ? QFileInfo(options_.outCsv).dir().filePath(QStringLiteral("exchange.tsv"))
            : options_.exchangeOut;
    Output out(path);
    if (!out.open(error))
        return false;
    struct Row {
        std::uint32_t exchange;
        const City* city;
        const Town* town;
        std::string block;
    };
    std::vector<Row> rows;
    for (const ExchangeAreas::Entry& e : exchanges_.entries()) {
        const Town& town = book_.towns[e.town];
        for (int chome = 0; chome < 64; ++chome) {
            if ((e.chome >> chome & 1) == 0)
                continue;
            Row row{e.exchange, &book_.cities[town.city], &town, {}};
            if (chome != 0) {
                appendFullWidth(&row.block, static_cast<std::uint64_t>(chome));
                row.block.append("丁目");
            }
            rows.push_back(std::move(row));
        }
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (a.exchange != b.exchange)
            return a.exchange < b.exchange;
        if (a.city->code != b.city->code)
            return a.city->code < b.city->code;
        if (a.town->name != b.town->name)
            return a.town->name < b.town->name;
        return a.block < b.block;
    });
    std::string& b = out.buffer();
    for (const Row& row : rows) {
        char exchange[6];
        for (std::uint32_t i = 6, v = row.exchange; i-- > 0; v /= 10)
            exchange[i] = static_cast<char>('0' + v % 10);
        b.append(exchange, 6).push_back('\t');
        b.append(row.city->code).push_back('\t');
        b.append(row.city->pref).push_back('\t');
        b.append(row.city->name).push_back('\t');
        b.append(row.town->name).push_back('\t');
        b.append(row.block).push_back('\n');
        if (!out.flushIfFull(error))
            return false;
    }
    return out.commit(error);
}

bool Generator::run(QString* error) {
    if (!namer_.init(error) || !plan_.init(book_, error))
        return false;
    pickers_.resize(book_.prefectures.size());
    for (std::size_t p = 0; p < book_.prefectures.size(); ++p) {
        CityPickers& pick = pickers_[p];
        for (const std::uint32_t c : book_.prefectures[p].cities) {
            const City& city = book_.cities[c];
            pick.any.add(city.weight);
            pick.anyIndex.push_back(c);
            if (city.callName.empty())
                continue;
            if (city.kind == CityKind::Town || city.kind == CityKind::Village) {
                pick.townOrVillage.add(city.weight);
                pick.townOrVillageIndex.push_back(c);
            } else {
                pick.city.add(city.weight);
                pick.cityIndex.push_back(c);
            }
        }
    }

    Output csv(options_.outCsv);
    if (!csv.open(error))
        return false;
    csv.buffer().append("number,name,reading,kind,zip,pref,city,city_code,town,block\n");
    const std::vector<qint64> quotas = prefectureQuotas(book_, options_.listings);
    for (std::size_t p = 0; p < quotas.size(); ++p) {
        for (qint64 left = quotas[p]; left > 0;) {
            qint64 written = 0;
            if (!household(p, left, csv, &written, error))
                return false;
            left -= written;
        }
    }
    return csv.commit(error) && writeAreas(error) && writeExchanges(error);
}

} // namespace

bool generateListings(const GeneratorOptions& options, QString* error) {
    QString message;
    QString* err = error != nullptr ? error : &message;
    if (options.listings < 0 || options.listings > kMaxListings) {
        *err = QStringLiteral("the number of listings must be between 0 and %1").arg(kMaxListings);
        return false;
    }
    if (options.outCsv.isEmpty()) {
        *err = QStringLiteral("no output file given");
        return false;
    }
    if (options.sourceDataDir.isEmpty()) {
        *err = QStringLiteral("no source data folder given");
        return false;
    }
    // Before the source data is read: a missing folder is the commonest mistake.
    for (const QString& path : {options.outCsv, options.areasOut, options.exchangeOut}) {
        if (!path.isEmpty() && !QFileInfo(path).dir().exists()) {
            *err = QStringLiteral("the folder of %1 does not exist").arg(path);
            return false;
        }
    }
    const QDir source(options.sourceDataDir);
    AreaCodeTable areaCodes;
    if (!areaCodes.load(source.filePath(QStringLiteral("areacodes.tsv")), err))
        return false;
    AddressBook book;
    if (!book.load(source.filePath(QStringLiteral("ken_all_merged.utf8.csv")), areaCodes, err))
        return false;
    NameBook names;
    if (!names.load(source.filePath(QStringLiteral("names_ipadic_gimei.tsv")), book.placeNames(),
                    err))
        return false;
    Generator generator(options, book, names);
    return generator.run(err);
}

} // namespace pikotel::gen
