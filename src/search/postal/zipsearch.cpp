#include "search/postal/zipsearch.h"

#include "common/cp932.h"
#include "common/texthelpers.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "settings/environment.h"
#include "zipcomp/zipkey.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace pikotel {

namespace {

const QString kMark = QStringLiteral("〒");
const QString kVillageWhole = QStringLiteral("村一円");
const QString kNotListedPrefix = QStringLiteral("以下に掲載");
const QString kNextBuildings = QStringLiteral("次のビル");
const QString kOthersWord = QStringLiteral("その他");
// A town beginning with this sorts first: it is the catch-all "以下に掲載がない場合".
const QString kBelow = QStringLiteral("以下");
const QString kSortsFirst = QStringLiteral(".");

bool isHalfWidthDigit(QChar c) {
    return c >= u'0' && c <= u'9';
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
    const bool special = townItem.contains(kVillageWhole) || townItem.contains(kNotListedPrefix);
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

int codeNumber(const QByteArray& code) {
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    return ok ? n : 0;
}

PostalSearch::PostalSearch() = default;

PostalSearch::~PostalSearch() {
    CloseDictionary();
}

bool PostalSearch::OpenPostalDictionary(const QString& programFolder) {
    zip_.SetKeyBlock(QString::fromLatin1(zipcomp::kProgramKeyBlock));
    zip_.SetFolder(joinPath(programFolder, QStringLiteral("ZIP")));
    open_ = zip_.OpenDictionary() == zipcomp::kOpened;
    return open_;
}

void PostalSearch::CloseDictionary() {
    if (open_)
        zip_.CloseDictionary();
    open_ = false;
}

bool PostalSearch::failed() {
    const zipcomp::ZipError& e = zip_.LastError();
    ShowUnexpectedError(e.number, e.description);
    return false;
}

bool PostalSearch::ListPrefectures(QList<ZipListEntry>& out) {
    out.clear();
    const int n = zip_.QueryPrefectures(QString(), 0, 0);
    if (n < 0)
        return failed();
    QByteArray code, name, reading;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetPrefecture(i, code, name, reading))
            return failed();
        out.append({fromCp932(name), codeNumber(code)});
    }
    return true;
}

bool PostalSearch::ListCities(int prefectureCode, QList<ZipListEntry>& out) {
    out.clear();
    const int n = zip_.QueryCities(QString(), 0, prefectureCode, 0);
    if (n < 0)
        return failed();
    QByteArray code, name, reading;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetCity(i, code, name, reading))
            return failed();
        out.append({fromCp932(name), codeNumber(code)});
    }
    return true;
}

bool PostalSearch::ListTowns(int cityCode, bool notationSort, QList<ZipListEntry>& out) {
    out.clear();
    towns_.clear();
    const int n = zip_.QueryTowns(QString(), 0, cityCode, 0);
    if (n < 0)
        return failed();
    QByteArray code, name, reading, note, noteReading;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetTown(i, code, name, reading, note, noteReading))
            return failed();
        const ZipTownEntry town{fromCp932(name), fromCp932(note)};
        towns_.append(town);
        out.append({town.first + u' ' + town.second, codeNumber(code)});
    }
    if (notationSort)
        out = notationOrder(std::move(out));
    return true;
}

bool PostalSearch::ListBlocks(int cityCode, const QString& townName, QList<ZipListEntry>& out) {
    out.clear();
    const int n = zip_.QueryBlocks(QString(), 0, townName, cityCode, 0);
    if (n < 0)
        return failed();
    QByteArray code, name, reading;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetBlock(i, code, name, reading))
            return failed();
        out.append({fromCp932(name), codeNumber(code)});
    }
    return true;
}

int PostalSearch::SearchByCode(const QString& text, QList<ZipForwardHit>& out) {
    out.clear();
    const int n = zip_.SearchCode(NumberOnly(text));
    if (n < 0) {
        failed();
        return -1;
    }
    if (n == 0)
        return 0;
    zipcomp::ZipComponent::SearchSummary summary;
    if (!zip_.GetSearchSummary(summary)) {
        failed();
        return -1;
    }
    out.reserve(n);
    zipcomp::ZipComponent::CodeRecord record;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetCodeRecord(i, record)) {
            failed();
            out.clear();
            return -1;
        }
        QString address;
        for (const std::size_t part : {0u, 2u, 4u, 6u, 8u})
            address += fromCp932(record[part]);
        out.append({gridCode(fromCp932(record[10])), address});
    }
    return n;
}

std::optional<QString> PostalSearch::townFirstText(const QString& trimmedItemText) const {
    for (const ZipTownEntry& town : towns_) {
        if (town.first == trimmedItemText)
            return town.first;
    }
    return std::nullopt;
}

} // namespace pikotel
