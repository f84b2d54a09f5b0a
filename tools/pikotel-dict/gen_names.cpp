#include "gen_names.h"

#include "gen_text.h"
#include "jtext/csv.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <map>
#include <utility>

namespace pikotel::gen {

namespace {

// Doubling per 750 of cost below 10000, capped at 3500: 渡辺 (1650) and 佐藤 (4579) are
// drawn a hundred times as often as a rare name (9500 and up), yet no name takes more than
// a fraction of a percent.
std::uint64_t costWeight(int cost) {
    const int clamped = std::clamp(cost, 3500, 10000);
    return std::uint64_t{1} << ((10000 - clamped) / 750);
}

// A name on gimei's lists of common names counts like an ipadic cost of about 5500.
constexpr std::uint64_t kGimeiWeight = std::uint64_t{1} << 6;

} // namespace

bool NameBook::load(const QString& namesPath, QString* error) {
    QFile file(namesPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("cannot read the name data %1: %2").arg(namesPath, file.errorString());
        return false;
    }
    struct Weight {
        std::uint64_t ipadic = 0;
        bool gimei = false; // gimei lists repeat names; they count once
        std::uint64_t total() const { return ipadic + (gimei ? kGimeiWeight : 0); }
    };
    // (written, reading) → weight, kept in a stable order.
    std::map<std::pair<QString, QString>, Weight> sei;
    std::map<std::pair<QString, QString>, Weight> mei;
    const QByteArray text = file.readAll();
    jtext::CsvReader reader(std::string_view(text.constData(), std::size_t(text.size())),
                            jtext::kTabSeparated);
    jtext::CsvRow row;
    reader.next(row); // the header
    while (reader.next(row)) {
        const QStringList f = row.texts();
        if (f.size() < 4 || !isKatakanaReading(f[1]) || !isKanjiOrKana(f[2]))
            continue;
        Weight& weight = (f[0] == u"sei" ? sei : mei)[{f[2], f[1]}];
        if (f[3] == u"ipadic") {
            bool costOk = false;
            const int cost = f.size() > 4 ? f[4].toInt(&costOk) : 0;
            if (costOk)
                weight.ipadic += costWeight(cost);
        } else {
            weight.gimei = true;
        }
    }
    for (const auto& [name, weight] : sei) {
        surnames_.push_back({name.first.toStdString(), name.second.toStdString()});
        surnamePicker_.add(weight.total());
    }
    for (const auto& [name, weight] : mei) {
        givenNames_.push_back({name.first.toStdString(), name.second.toStdString()});
        givenPicker_.add(weight.total());
    }
    if (surnamePicker_.empty() || givenPicker_.empty()) {
        *error = QStringLiteral("the name data %1 holds no usable names").arg(namesPath);
        return false;
    }
    return true;
}

} // namespace pikotel::gen
