#include "search/postal/zipsearch.h"

#include "common/texthelpers.h"
#include "platform/messages.h"
#include "settings/environment.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace pikotel {

namespace {

const QString kMark = QStringLiteral("〒");
// Japan Post's town for a village or town that has one code as a whole.
const QString kWholeVillage = QStringLiteral("村一円");
const QString kWholeTown = QStringLiteral("町一円");
const QString kNotListedPrefix = QStringLiteral("以下に掲載");
const QString kNextBuildings = QStringLiteral("次のビル");
const QString kOthersWord = QStringLiteral("その他");
// A town beginning with this sorts first: it is the catch-all "以下に掲載がない場合".
const QString kBelow = QStringLiteral("以下");
const QString kSortsFirst = QStringLiteral(".");

bool isHalfWidthDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The ending decides: 多賀町 has a town that is named "一円".
bool isWholeMunicipality(const QString& townItem) {
    const QString name = townItem.trimmed();
    return name.endsWith(kWholeVillage) || name.endsWith(kWholeTown);
}

QString prefixedAddress(int code, const QString& address, ZipCodeOptions options) {
    return codeWithOptions(ZipHifon(QString::number(code)), options) + QStringLiteral("  ") +
           address;
}

} // namespace

ZipCodeOptions ZipCodeOptions::from(const Environment& env) {
    ZipCodeOptions o;
    o.withoutHyphen = env.zipWithoutHyphen();
    o.mark = env.zipWithMark();
    return o;
}

QString ZipHifon(const QString& code) {
    const QString padded = code.size() >= 7 ? code : code.rightJustified(7, u'0');
    return padded.left(3) + u'-' + padded.mid(3, 4);
}

QString oldCodeMark(const QString& oldCode) {
    const QString written = oldCode.size() == 5 ? oldCode.left(3) + u'-' + oldCode.mid(3) : oldCode;
    return QStringLiteral("［旧〒%1］").arg(written);
}

QString gridCode(const QString& code) {
    if (code.isEmpty())
        return code;
    bool ok = false;
    const qlonglong n = code.toLongLong(&ok);
    if (!ok || n < 0)
        return code;
    return ZipHifon(QString::number(n));
}

ZipInputCheck checkZipInput(const QString& input) {
    if (input.isEmpty())
        return ZipInputCheck::Empty;
    for (const QChar c : input) {
        if (!isHalfWidthDigit(c) && c != u'-')
            return ZipInputCheck::NotHalfWidth;
    }
    const qsizetype digits = DelHifon(input).size();
    if (digits != 3 && digits != 5 && digits != 7)
        return ZipInputCheck::WrongDigitCount;
    return ZipInputCheck::Valid;
}

QString codeWithOptions(const QString& hyphenated, ZipCodeOptions options) {
    QString code = hyphenated;
    if (options.withoutHyphen)
        code.remove(u'-');
    if (options.mark)
        code.prepend(kMark);
    return code;
}

QString cutSpecialEnding(const QString& address) {
    for (const QString& ending :
         {zipsearch::kExceptBuildings, zipsearch::kOthers, zipsearch::kNotListed}) {
        const qsizetype at = address.indexOf(ending);
        if (at >= 0)
            return address.left(at);
    }
    return address;
}

QString selectedAddressText(const QString& gridCodeText, const QString& address,
                            ZipCodeOptions options) {
    return codeWithOptions(gridCodeText, options) + u' ' + cutSpecialEnding(address);
}

QString townResultText(int code, const QString& prefecture, const QString& city,
                       const QString& townItem, ZipCodeOptions options) {
    const bool special = isWholeMunicipality(townItem) || townItem.contains(kNotListedPrefix);
    return prefixedAddress(code, prefecture + city + (special ? QString() : townItem), options);
}

QString blockResultText(int code, const QString& prefecture, const QString& city,
                        const QString& townItem, const QString& block, ZipCodeOptions options) {
    const bool special = block.contains(kNextBuildings) || block.contains(kOthersWord);
    return prefixedAddress(code, prefecture + city + townItem + (special ? QString() : block),
                           options);
}

QList<ZipListEntry> notationOrder(QList<ZipListEntry> towns) {
    // A leading "." sorts the catch-all town before every name; it is taken off again.
    for (ZipListEntry& t : towns) {
        if (t.text.startsWith(kBelow))
            t.text.prepend(kSortsFirst);
    }
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    std::stable_sort(towns.begin(), towns.end(), [&](const ZipListEntry& a, const ZipListEntry& b) {
        return collator.compare(a.text, b.text) < 0;
    });
    if (!towns.isEmpty() && towns.front().text.startsWith(kSortsFirst + kBelow))
        towns.front().text.remove(0, kSortsFirst.size());
    return towns;
}

int codeNumber(const QString& code) {
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    return ok ? n : 0;
}

PostalSearch::PostalSearch() = default;

PostalSearch::~PostalSearch() = default;

bool PostalSearch::OpenPostalDictionary(const QString& programFolder) {
    return postal_.open(postalFolder(programFolder));
}

void PostalSearch::CloseDictionary() {
    postal_.close();
}

bool PostalSearch::failed() {
    const zipcomp::ZipError& e = postal_.lastError();
    ShowUnexpectedError(e.number, e.description);
    return false;
}

namespace {
QList<ZipListEntry> listEntries(const QList<PostalEntry>& entries) {
    QList<ZipListEntry> out;
    out.reserve(entries.size());
    for (const PostalEntry& e : entries)
        out.append({e.name, codeNumber(e.code)});
    return out;
}
} // namespace

bool PostalSearch::ListPrefectures(QList<ZipListEntry>& out) {
    QList<PostalEntry> entries;
    const bool listed = postal_.prefectures(entries);
    out = listEntries(entries);
    return listed || failed();
}

bool PostalSearch::ListCities(int prefectureCode, QList<ZipListEntry>& out) {
    QList<PostalEntry> entries;
    const bool listed = postal_.cities(prefectureCode, entries);
    out = listEntries(entries);
    return listed || failed();
}

bool PostalSearch::ListTowns(int cityCode, bool notationSort, QList<ZipListEntry>& out) {
    out.clear();
    towns_.clear();
    QList<PostalTown> towns;
    if (!postal_.towns(cityCode, towns))
        return failed();
    for (const PostalTown& town : towns) {
        towns_.append({town.name, town.note});
        out.append({town.name + u' ' + town.note, codeNumber(town.code)});
    }
    if (notationSort)
        out = notationOrder(std::move(out));
    return true;
}

bool PostalSearch::ListBlocks(int cityCode, const QString& townName, QList<ZipListEntry>& out) {
    QList<PostalEntry> entries;
    const bool listed = postal_.blocks(cityCode, townName, entries);
    out = listEntries(entries);
    return listed || failed();
}

int PostalSearch::SearchByCode(const QString& text, QList<ZipForwardHit>& out) {
    out.clear();
    const QString digits = NumberOnly(text);
    QList<PostalRecord> records;
    if (!postal_.searchCode(digits, records)) {
        failed();
        return -1;
    }
    out.reserve(records.size());
    for (const PostalRecord& record : records)
        out.append({gridCode(record.code), record.address(), QString()});
    // Old papers carry the 3- and 5-digit codes of before 1998. The towns such a code
    // covered whose code today begins otherwise are not among the hits above.
    if (digits.size() == 3 || digits.size() == 5) {
        if (!postal_.searchOldCode(digits, records)) {
            out.clear();
            failed();
            return -1;
        }
        for (const PostalRecord& record : records) {
            if (!record.code.startsWith(digits))
                out.append({gridCode(record.code), record.address(), digits});
        }
    }
    return static_cast<int>(out.size());
}

std::optional<QString> PostalSearch::townFirstText(const QString& trimmedItemText) const {
    for (const ZipTownEntry& town : towns_) {
        if (town.first == trimmedItemText)
            return town.first;
    }
    return std::nullopt;
}

} // namespace pikotel
