#include "gen_areacodes.h"

#include "jtext/csv.h"

#include <QFile>

#include <algorithm>

namespace pikotel::gen {

namespace {

enum Column { Jis5, Pref, City, Code, Note, ColumnCount };

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool AreaCodeTable::load(const QString& path, QString* error) {
    entries_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("cannot read the area-code table %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray text = file.readAll();
    jtext::CsvReader reader(std::string_view(text.constData(), std::size_t(text.size())),
                            jtext::kTabSeparated);
    jtext::CsvRow row;
    bool header = true;
    const auto fail = [&](const QString& why) {
        *error = QStringLiteral("%1:%2: %3").arg(path).arg(row.line).arg(why);
        return false;
    };
    while (reader.next(row)) {
        if (row.blank() || row.fields.front().starts_with('#'))
            continue;
        if (header) {
            header = false;
            if (row.fields.size() != ColumnCount || row.fields[Jis5] != "jis5" ||
                row.fields[Code] != "area_code")
                return fail(
                    QStringLiteral("expected the header jis5, pref, city, area_code, note"));
            continue;
        }
        if (row.fields.size() != ColumnCount)
            return fail(QStringLiteral("expected %1 tab-separated fields, found %2")
                            .arg(int(ColumnCount))
                            .arg(row.fields.size()));
        const std::string_view jis5 = row.fields[Jis5];
        const std::string_view code = row.fields[Code];
        if (jis5.size() != 5 || !allDigits(jis5))
            return fail(QStringLiteral("not a 5-digit municipality code"));
        // Two to five digits with the leading 0: the exchange and four subscriber digits
        // make up the rest of ten.
        if (code.size() < 2 || code.size() > 5 || code[0] != '0' || code[1] == '0' ||
            !allDigits(code))
            return fail(QStringLiteral("%1 is not an area code")
                            .arg(QString::fromUtf8(code.data(), qsizetype(code.size()))));
        if (row.fields[Pref].empty() || row.fields[City].empty())
            return fail(QStringLiteral("the prefecture or the municipality is empty"));
        const auto [it, added] = entries_.emplace(
            std::string(jis5), AreaCodeEntry{std::string(row.fields[Pref]),
                                             std::string(row.fields[City]), std::string(code)});
        if (!added)
            return fail(QStringLiteral("municipality %1 is listed twice")
                            .arg(QString::fromUtf8(jis5.data(), qsizetype(jis5.size()))));
    }
    if (!reader.error().empty())
        return fail(QString::fromStdString(reader.error()));
    if (entries_.empty()) {
        *error = QStringLiteral("the area-code table %1 lists no municipality").arg(path);
        return false;
    }
    return true;
}

const AreaCodeEntry* AreaCodeTable::find(std::string_view jis5) const {
    const auto it = entries_.find(jis5);
    return it == entries_.end() ? nullptr : &it->second;
}

std::vector<std::string> areaCodeClaims(const std::string& code) {
    // 所沢・狭山・入間 04-29xx, 柏・流山・我孫子・野田・鴨川 04-71xx.
    if (code == "04")
        return {"0429", "0471"};
    // 弟子屈・標茶 015-48x, 池田・豊頃・浦幌 015-57x.
    if (code == "015")
        return {"01548", "01557"};
    // Tokyo's exchanges begin with 3, 5 or 6, a few with 4; Osaka's with 6, some with 4.
    if (code == "03")
        return {"033", "035", "036", "0345"};
    if (code == "06")
        return {"066", "0647", "0648", "0649"};
    return {code};
}

} // namespace pikotel::gen
