#include "gen_address.h"

#include "gen_areacodes.h"
#include "gen_random.h"
#include "gen_text.h"
#include "jtext/csv.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <array>
#include <map>

namespace pikotel::gen {

namespace {

// Thousands of inhabitants, 2020 census, by prefecture number.
constexpr std::array<std::uint64_t, 47> kPopulation = {
    5225, 1238, 1211, 2302, 960,  1068, 1833, 2867, 1933, 1939, 7345, 6284, 14048, 9237, 2201, 1035,
    1133, 767,  810,  2048, 1979, 3633, 7542, 1770, 1414, 2578, 8838, 5465, 1324,  923,  553,  671,
    1888, 2800, 1342, 720,  950,  1335, 692,  5135, 811,  1312, 1738, 1124, 1070,  1588, 1467};

enum Column {
    Jis5,
    OldZip,
    Zip7,
    PrefKana,
    CityKana,
    TownKana,
    Pref,
    CityName,
    TownName,
    MultiZip,
    Koaza,
    Chome,
    MultiTown,
    Source,
    ColumnCount
};

struct CleanTown {
    QString name;
    QStringList notes; // the parenthesised parts, without their parentheses
};

CleanTown cleanTown(const QString& raw) {
    CleanTown result;
    qsizetype from = 0;
    while (from < raw.size()) {
        const qsizetype open = raw.indexOf(u'（', from);
        if (open < 0) {
            result.name += raw.mid(from);
            break;
        }
        result.name += raw.mid(from, open - from);
        const qsizetype close = raw.indexOf(u'）', open);
        // An unclosed note runs to the end of the text.
        result.notes << raw.mid(open + 1, close < 0 ? -1 : close - open - 1);
        if (close < 0)
            break;
        from = close + 1;
    }
    return result;
}

int fullWidthNumber(const QString& digits) {
    int value = 0;
    for (const QChar c : digits) {
        if (c.unicode() < u'０' || c.unicode() > u'９')
            return -1;
        value = value * 10 + (c.unicode() - u'０');
    }
    return digits.isEmpty() ? -1 : value;
}

// "１〜４丁目", "１、２丁目", "３丁目": the chōme a postal row covers; 0 when the note
// names none.
std::uint64_t chomeFromNote(QString note) {
    if (!note.endsWith(u"丁目"))
        return 0;
    note.remove(QStringLiteral("丁目"));
    std::uint64_t bits = 0;
    for (const QString& part : note.split(u'、')) {
        const QStringList ends = part.split(u'〜');
        const int first = fullWidthNumber(ends.front());
        const int last = fullWidthNumber(ends.back());
        if (ends.size() > 2 || first < 1 || last < first || last > 63)
            return 0;
        for (int n = first; n <= last; ++n)
            bits |= std::uint64_t{1} << n;
    }
    return bits;
}

CityKind cityKind(const QString& name) {
    if (name.endsWith(u'区'))
        return name.contains(u'市') ? CityKind::Ward : CityKind::SpecialWard;
    if (name.endsWith(u'町'))
        return CityKind::Town;
    if (name.endsWith(u'村'))
        return CityKind::Village;
    return CityKind::City;
}

std::uint64_t kindWeight(CityKind kind) {
    switch (kind) {
    case CityKind::SpecialWard:
        return 250;
    case CityKind::Ward:
        return 130;
    case CityKind::City:
        return 80;
    case CityKind::Town:
        return 14;
    case CityKind::Village:
        return 4;
    }
    return 1;
}

std::uint64_t isqrt(std::uint64_t n) {
    std::uint64_t r = 0;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    return r;
}

struct RawRow {
    QString zip7;
    QString townKana;
    QString town;
    bool chomeFlag = false;
};

struct RawCity {
    QString code;
    QString pref;
    QString name;
    QString kana;
    std::vector<RawRow> rows;
};

} // namespace

bool AddressBook::load(const QString& kenAllPath, const AreaCodeTable& areaCodeTable,
                       QString* error) {
    QFile file(kenAllPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the postal data %1: %2")
                     .arg(kenAllPath, file.errorString());
        return false;
    }
    std::map<QString, RawCity> raw; // by jis5: the area table's order
    const QByteArray text = file.readAll();
    jtext::CsvReader reader(std::string_view(text.constData(), std::size_t(text.size())));
    jtext::CsvRow row;
    while (reader.next(row)) {
        if (row.blank())
            continue;
        const QStringList f = row.texts();
        if (f.size() != ColumnCount || f[Jis5].size() != 5 || f[Zip7].size() != 7) {
            *error = QStringLiteral("%1:%2: not a postal data row").arg(kenAllPath).arg(row.line);
            return false;
        }
        RawCity& city = raw[f[Jis5]];
        if (city.code.isEmpty())
            city = {f[Jis5], f[Pref], f[CityName], f[CityKana], {}};
        city.rows.push_back({f[Zip7], f[TownKana], f[TownName], f[Chome] == u"1"});
    }
    if (!reader.error().empty()) {
        *error = QStringLiteral("%1:%2: %3")
                     .arg(kenAllPath)
                     .arg(row.line)
                     .arg(QString::fromStdString(reader.error()));
        return false;
    }
    if (raw.empty()) {
        *error = QStringLiteral("the postal data %1 is empty").arg(kenAllPath);
        return false;
    }

    prefectures.assign(kPopulation.size(), {});
    for (std::size_t i = 0; i < kPopulation.size(); ++i)
        prefectures[i].population = kPopulation[i];

    std::map<std::string, std::uint32_t> codeIndex;
    for (const auto& [code, rc] : raw) {
        const int prefNo = code.left(2).toInt();
        if (prefNo < 1 || prefNo > static_cast<int>(prefectures.size())) {
            *error =
                QStringLiteral("postal data: unknown prefecture in municipality code %1").arg(code);
            return false;
        }
        const auto cityIndex = static_cast<std::uint32_t>(cities.size());
        City city;
        city.code = code.toStdString();
        city.pref = rc.pref.toStdString();
        city.name = rc.name.toStdString();
        city.prefNo = prefNo;
        city.kind = cityKind(rc.name);
        QString callName = rc.name;
        QString callKana = rc.kana;
        const bool townOrVillage = city.kind == CityKind::Town || city.kind == CityKind::Village;
        const qsizetype gun = rc.name.indexOf(u'郡');
        const qsizetype island = rc.name.indexOf(u'島');
        if (townOrVillage && gun > 0) {
            callName = rc.name.mid(gun + 1);
            const qsizetype gunKana = rc.kana.lastIndexOf(u"グン");
            callKana = gunKana < 0 ? QString() : rc.kana.mid(gunKana + 2);
        } else if (townOrVillage && island > 0 &&
                   rc.name.mid(island + 1).startsWith(rc.name.left(island))) {
            // Islands of Tokyo: "三宅島三宅村" is the village of 三宅村, "ミヤケジマミヤケムラ".
            callName = rc.name.mid(island + 1);
            callKana.clear();
            for (qsizetype k = 1; k + 2 < rc.kana.size() && callKana.isEmpty(); ++k) {
                const QString rest = rc.kana.mid(k + 2);
                const QString shima = rc.kana.mid(k, 2);
                if ((shima == u"ジマ" || shima == u"シマ") && rest.startsWith(rc.kana.left(k)))
                    callKana = rest;
            }
        }
        if (isKatakanaReading(callKana)) {
            city.callName = callName.toStdString();
            city.callKana = callKana.toStdString();
        }

        // Rows with a town name first; the municipality-wide rows ("以下に掲載がない場合",
        // "…一円") only where there is nothing else.
        std::vector<Address> named;
        std::vector<Address> unnamed;
        QHash<QString, std::uint32_t> townIndex;
        const auto townFor = [&](const QString& name, const QString& kana) {
            const auto found = townIndex.constFind(name);
            if (found != townIndex.constEnd())
                return *found;
            const auto index = static_cast<std::uint32_t>(towns.size());
            Town town;
            town.city = cityIndex;
            town.name = name.toStdString();
            if (name.size() <= 6 && kana.size() <= 12 && isKanjiOrKana(name) &&
                isKatakanaReading(kana))
                town.nameKana = kana.toStdString();
            towns.push_back(std::move(town));
            townIndex.insert(name, index);
            return index;
        };
        for (const RawRow& row : rc.rows) {
            const CleanTown clean = cleanTown(row.town);
            const bool building =
                std::any_of(clean.notes.begin(), clean.notes.end(), [](const QString& n) {
                    return n.contains(u'階') || n.contains(u"高層棟");
                });
            if (building || clean.name.contains(u'〜') || clean.name.contains(u'、'))
                continue;
            const QString zip = row.zip7.left(3) + u'-' + row.zip7.mid(3);
            const bool special = clean.name.isEmpty() || clean.name.contains(u"場合") ||
                                 clean.name.endsWith(u"一円");
            if (special) {
                unnamed.push_back({townFor(QString(), QString()), zip.toStdString(), 0});
                continue;
            }
            std::uint64_t chome = 0;
            for (const QString& note : clean.notes)
                chome |= chomeFromNote(note);
            if (chome == 0 && row.chomeFlag && !clean.name.contains(u"丁目")) {
                const int count =
                    1 + static_cast<int>(stableHash((rc.name + clean.name).toStdString()) % 6);
                for (int n = 1; n <= count; ++n)
                    chome |= std::uint64_t{1} << n;
            }
            named.push_back(
                {townFor(clean.name, cleanTown(row.townKana).name), zip.toStdString(), chome});
        }
        if (named.empty() && unnamed.empty()) {
            const QString zip = rc.rows.front().zip7;
            unnamed.push_back({townFor(QString(), QString()),
                               (zip.left(3) + u'-' + zip.mid(3)).toStdString(), 0});
        }
        for (Address& a : named.empty() ? unnamed : named) {
            city.addresses.push_back(static_cast<std::uint32_t>(addresses.size()));
            addresses.push_back(std::move(a));
        }
        for (const std::uint32_t t : std::as_const(townIndex)) {
            Town& town = towns[t];
            if (!town.nameKana.empty())
                city.nameTowns.push_back(t);
        }
        std::sort(city.nameTowns.begin(), city.nameTowns.end());
        city.weight = kindWeight(city.kind) *
                      std::clamp<std::uint64_t>(isqrt(500 * city.addresses.size()), 50, 200);
        prefectures[prefNo - 1].name = city.pref;
        prefectures[prefNo - 1].cities.push_back(cityIndex);
        prefectures[prefNo - 1].nameTowns.insert(prefectures[prefNo - 1].nameTowns.end(),
                                                 city.nameTowns.begin(), city.nameTowns.end());
        cities.push_back(std::move(city));
    }

    // Every town of a municipality takes the municipality's code: no fallback, a municipality
    // the table lacks or names otherwise stops the run.
    std::vector<std::uint32_t> cityCode(cities.size());
    for (std::size_t c = 0; c < cities.size(); ++c) {
        const City& city = cities[c];
        const AreaCodeEntry* entry = areaCodeTable.find(city.code);
        const QString where = QString::fromStdString(city.code + ' ' + city.pref + city.name);
        if (entry == nullptr) {
            *error =
                QStringLiteral("the area-code table has no row for municipality %1").arg(where);
            return false;
        }
        if (entry->pref != city.pref || entry->city != city.name) {
            *error = QStringLiteral("the area-code table names municipality %1 %2%3")
                         .arg(where, QString::fromStdString(entry->pref),
                              QString::fromStdString(entry->city));
            return false;
        }
        const auto [it, added] =
            codeIndex.emplace(entry->code, static_cast<std::uint32_t>(areaCodes.size()));
        if (added)
            areaCodes.push_back(entry->code);
        cityCode[c] = it->second;
    }
    for (Town& town : towns)
        town.areaCode = cityCode[town.city];
    for (std::size_t i = 0; i < prefectures.size(); ++i) {
        if (prefectures[i].cities.empty()) {
            *error =
                QStringLiteral("the postal data has no municipality of prefecture %1").arg(i + 1);
            return false;
        }
    }
    return true;
}

std::set<std::string> AddressBook::placeNames() const {
    const auto stem = [](const QString& name, QStringView suffixes) {
        return !name.isEmpty() && suffixes.contains(name.back()) ? name.chopped(1) : name;
    };
    std::set<std::string> names;
    for (const City& city : cities) {
        if (city.kind == CityKind::Ward)
            continue;
        const QString callName =
            QString::fromStdString(city.callName.empty() ? city.name : city.callName);
        names.insert(stem(callName, u"市町村区").toStdString());
    }
    for (const Prefecture& pref : prefectures)
        names.insert(stem(QString::fromStdString(pref.name), u"都府県").toStdString());
    return names;
}

} // namespace pikotel::gen
