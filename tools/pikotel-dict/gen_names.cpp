#include "gen_names.h"

#include "gen_text.h"
#include "jtext/csv.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <utility>

namespace pikotel::gen {

namespace {

enum Column { Kind, Reading, Written, Source, Cost, Rank, ColumnCount };

// gimei's order has a few names far above their place: 林 and 清水 come second and third.
// They go where the published counts put them, after 井上 and 木村 (gimei's 19th and 20th).
// A sort key is twice the gimei rank, so a corrected name can sit between two others.
const std::map<QString, int> kRankKeyCorrections = {
    {QStringLiteral("林"), 41},
    {QStringLiteral("清水"), 42},
};

// Written forms whose usual reading the ipadic costs do not tell apart.
const std::map<QString, QString> kUsualReadings = {
    {QStringLiteral("反町"), QStringLiteral("ソリマチ")},
};

// Region and former municipality names that ipadic lists as surnames but nobody carries.
const std::set<QString> kNotSurnames = {
    QStringLiteral("胆振"), QStringLiteral("後志"), QStringLiteral("空知"),
    QStringLiteral("宗谷"), QStringLiteral("鹿西"), QStringLiteral("金砂郷"),
};

// Share of a surname at its position p among the ranked ones: 1 / (p + 2.8)^0.78, scaled.
// Fitted to the published counts: the first about 1.6 %, the first ten about 10 %, the
// first hundred about 30 % of all people, with the ranked names 55 % in all.
std::uint64_t rankWeight(std::size_t position) {
    return static_cast<std::uint64_t>(
        std::llround(1e9 / std::pow(static_cast<double>(position) + 2.8, 0.78)));
}
constexpr std::uint64_t kRankedPercent = 55;

// A tail name that is a place name counts a quarter.
constexpr std::uint64_t kTailUnits = 8;
constexpr std::uint64_t kPlaceUnits = 2;

// The usual reading of a written form takes this share; the others split the rest.
constexpr std::uint64_t kUsualPercent = 85;

// Given names: both sources know it, gimei only, ipadic only.
constexpr std::uint64_t kGivenBoth = 128;
constexpr std::uint64_t kGivenGimei = 6;
constexpr std::uint64_t kGivenIpadic = 1;
// A reading of a given name that fewer sources confirm than another of the same form.
constexpr std::uint64_t kGivenUnusualDivisor = 4;

struct ReadingInfo {
    int cost = INT_MAX; // the lowest ipadic cost; INT_MAX for gimei only
    bool ipadic = false;
    bool gimei = false;
    int rank = 0; // gimei_rank, 0 when unranked
    int sources() const { return (ipadic ? 1 : 0) + (gimei ? 1 : 0); }
};
// Written form → reading → what the rows say, both in a stable order.
using Forms = std::map<QString, std::map<QString, ReadingInfo>>;

// Splits a form's weight between its readings: the usual ones (equal) take kUsualPercent.
void splitByReading(const std::map<QString, ReadingInfo>& readings, const std::set<QString>& usual,
                    std::uint64_t weight, std::vector<std::uint64_t>* out) {
    const std::size_t others = readings.size() - usual.size();
    const std::uint64_t usualShare = others == 0 ? weight : weight * kUsualPercent / 100;
    for (const auto& [reading, info] : readings) {
        if (usual.contains(reading))
            out->push_back(usualShare / usual.size());
        else
            out->push_back((weight - usualShare) / others);
    }
}

std::set<QString> usualSurnameReadings(const QString& written,
                                       const std::map<QString, ReadingInfo>& readings) {
    if (const auto it = kUsualReadings.find(written);
        it != kUsualReadings.end() && readings.contains(it->second))
        return {it->second};
    int best = INT_MAX;
    for (const auto& [reading, info] : readings)
        best = std::min(best, info.cost);
    std::set<QString> usual;
    for (const auto& [reading, info] : readings) {
        // Without any ipadic cost, gimei's readings are the usual ones.
        if (best == INT_MAX ? info.gimei : info.cost == best)
            usual.insert(reading);
    }
    return usual.empty() ? std::set<QString>{readings.begin()->first} : usual;
}

} // namespace

bool NameBook::load(const QString& namesPath, const std::set<std::string>& placeNames,
                    QString* error) {
    QFile file(namesPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("cannot read the name data %1: %2").arg(namesPath, file.errorString());
        return false;
    }
    Forms sei;
    Forms mei;
    const QByteArray text = file.readAll();
    jtext::CsvReader reader(std::string_view(text.constData(), std::size_t(text.size())),
                            jtext::kTabSeparated);
    jtext::CsvRow row;
    const auto fail = [&](const QString& why) {
        *error = QStringLiteral("%1:%2: %3").arg(namesPath).arg(row.line).arg(why);
        return false;
    };
    reader.next(row); // the header
    while (reader.next(row)) {
        if (row.blank())
            continue;
        const QStringList f = row.texts();
        if (f.size() != ColumnCount)
            return fail(QStringLiteral("expected %1 tab-separated fields, found %2")
                            .arg(int(ColumnCount))
                            .arg(f.size()));
        if (f[Kind] != u"sei" && f[Kind] != u"mei")
            return fail(QStringLiteral("kind must be sei or mei"));
        if (!isKatakanaReading(f[Reading]))
            return fail(
                QStringLiteral("the reading %1 is not full-width katakana").arg(f[Reading]));
        int rank = 0;
        if (!f[Rank].isEmpty()) {
            bool ok = false;
            rank = f[Rank].toInt(&ok);
            if (!ok || rank < 1)
                return fail(QStringLiteral("gimei_rank must be a positive number"));
        }
        // Forms with Latin letters or digits ("Ａ子") read oddly inside other names.
        if (!isKanjiOrKana(f[Written]))
            continue;
        ReadingInfo& info = (f[Kind] == u"sei" ? sei : mei)[f[Written]][f[Reading]];
        if (f[Source] == u"ipadic") {
            info.ipadic = true;
            bool costOk = false;
            const int cost = f[Cost].toInt(&costOk);
            if (costOk)
                info.cost = std::min(info.cost, cost);
        } else {
            info.gimei = true;
        }
        if (rank > 0)
            info.rank = info.rank == 0 ? rank : std::min(info.rank, rank);
    }
    if (!reader.error().empty())
        return fail(QString::fromStdString(reader.error()));

    // Surnames: ranked forms by their corrected position, the rest as the tail.
    std::vector<std::pair<int, QString>> ranked;
    std::uint64_t tailUnits = 0;
    const auto rankOf = [](const std::map<QString, ReadingInfo>& readings) {
        int rank = 0;
        for (const auto& [reading, info] : readings) {
            if (info.rank > 0)
                rank = rank == 0 ? info.rank : std::min(rank, info.rank);
        }
        return rank;
    };
    const auto units = [&](const QString& written) {
        if (kNotSurnames.contains(written))
            return std::uint64_t{0};
        return placeNames.contains(written.toStdString()) ? kPlaceUnits : kTailUnits;
    };
    for (const auto& [written, readings] : sei) {
        const int rank = rankOf(readings);
        if (rank == 0) {
            tailUnits += units(written);
            continue;
        }
        const auto corrected = kRankKeyCorrections.find(written);
        ranked.emplace_back(corrected != kRankKeyCorrections.end() ? corrected->second : 2 * rank,
                            written);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::map<QString, std::uint64_t> formWeight;
    std::uint64_t rankedTotal = 0;
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        const std::uint64_t w = rankWeight(i + 1);
        formWeight[ranked[i].second] = w;
        rankedTotal += w;
    }
    const std::uint64_t perUnit =
        tailUnits == 0 || ranked.empty()
            ? 1
            : rankedTotal * (100 - kRankedPercent) / kRankedPercent / tailUnits;
    std::vector<std::uint64_t> weights;
    for (const auto& [written, readings] : sei) {
        const auto ranks = formWeight.find(written);
        const std::uint64_t w =
            ranks != formWeight.end() ? ranks->second : units(written) * perUnit;
        weights.clear();
        splitByReading(readings, usualSurnameReadings(written, readings), w, &weights);
        std::size_t k = 0;
        for (const auto& [reading, info] : readings) {
            surnames_.push_back({written.toStdString(), reading.toStdString()});
            surnamePicker_.add(weights[k++]);
        }
    }

    for (const auto& [written, readings] : mei) {
        int most = 0;
        for (const auto& [reading, info] : readings)
            most = std::max(most, info.sources());
        for (const auto& [reading, info] : readings) {
            std::uint64_t w = info.ipadic && info.gimei ? kGivenBoth
                              : info.gimei              ? kGivenGimei
                                                        : kGivenIpadic;
            if (info.sources() < most)
                w /= kGivenUnusualDivisor;
            givenNames_.push_back({written.toStdString(), reading.toStdString()});
            givenPicker_.add(w);
        }
    }
    if (surnamePicker_.empty() || givenPicker_.empty()) {
        *error = QStringLiteral("the name data %1 holds no usable names").arg(namesPath);
        return false;
    }
    return true;
}

} // namespace pikotel::gen
