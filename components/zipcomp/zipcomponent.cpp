#include "zipcomp/zipcomponent.h"

#include "zipcomp/zipdictionary.h"

#include <QDir>

#include <algorithm>
#include <set>

namespace pikotel::zipcomp {

using namespace format;

namespace {

// Chōme numbers as ranges; a block name such as "１〜４丁目" or "１、２丁目".
using ChomeRanges = std::vector<std::pair<int, int>>;

const QString kChome = QStringLiteral("丁目");

int digitValue(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= QChar(0xFF10) && c <= QChar(0xFF19))
        return c.unicode() - 0xFF10;
    return -1;
}

// The number a whole text of digits stands for; -1 for anything else.
int numberOf(const QString& text) {
    if (text.isEmpty() || text.size() > 4)
        return -1;
    int value = 0;
    for (const QChar c : text) {
        const int d = digitValue(c);
        if (d < 0)
            return -1;
        value = value * 10 + d;
    }
    return value;
}

// The chōme a block name covers, when the name is nothing but a list of chōme.
ChomeRanges chomeRanges(const QString& name) {
    if (!name.endsWith(kChome))
        return {};
    ChomeRanges ranges;
    const QStringList items = name.left(name.size() - kChome.size()).split(QChar(0x3001));
    for (QString item : items) {
        if (item.endsWith(kChome))
            item.chop(kChome.size());
        const QStringList ends = item.split(QChar(0xFF5E)); // ～, the stored form of 〜
        const int from = numberOf(ends.first());
        const int to = numberOf(ends.last());
        if (ends.size() > 2 || from < 0 || to < from)
            return {};
        ranges.emplace_back(from, to);
    }
    return ranges;
}

bool covers(const ChomeRanges& ranges, int chome) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [chome](const auto& r) { return chome >= r.first && chome <= r.second; });
}

QByteArray codeText(std::uint32_t code, int width) {
    return QByteArray::number(code).rightJustified(width, '0');
}

} // namespace

ZipComponent::ZipComponent() = default;
ZipComponent::~ZipComponent() = default;

void ZipComponent::SetKeyBlock(const QString& keyBlock) {
    keyBlock_ = keyBlock;
}

void ZipComponent::SetFolder(const QString& folder) {
    // The program joins its folder and "ZIP" with a backslash, as it always has.
    QString path = folder;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    folder_ = path.isEmpty() ? QString() : QDir::cleanPath(path);
}

int ZipComponent::OpenDictionary() {
    CloseDictionary();
    const std::optional<LicenceId> licence = verifyKeyBlock(keyBlock_);
    if (!licence) {
        error_ = {kErrorOpenFailed, QStringLiteral("キーブロックが正しくありません。")};
        return kKeyRejected;
    }
    if (folder_.isEmpty()) {
        error_ = {kErrorOpenFailed, QStringLiteral("郵便番号辞書のフォルダが指定されていません。")};
        return kDictionaryMissing;
    }
    ZipDictionary::OpenResult opened = ZipDictionary::open(
        QDir(folder_).filePath(QLatin1String(format::kDictionaryFileName)), *licence);
    if (opened.status == ZipDictionary::Status::Ok) {
        dictionary_ = std::move(opened.dictionary);
        error_ = {};
        return kOpened;
    }
    error_ = {kErrorOpenFailed, opened.reason};
    switch (opened.status) {
    case ZipDictionary::Status::Missing:
        return kDictionaryMissing;
    case ZipDictionary::Status::Unsupported:
        return kDictionaryUnsupported;
    case ZipDictionary::Status::WrongLicence:
        return kDictionaryForOtherKey;
    default:
        return kDictionaryDamaged;
    }
}

void ZipComponent::CloseDictionary() {
    clearLists();
    dictionary_.reset();
}

void ZipComponent::clearLists() {
    prefectures_.clear();
    cities_.clear();
    towns_.clear();
    blocks_.clear();
    search_ = {};
}

bool ZipComponent::requireOpen() {
    if (dictionary_)
        return true;
    error_ = {kErrorNotOpen, QStringLiteral("郵便番号辞書が開かれていません。")};
    return false;
}

int ZipComponent::fail(int number, const QString& description) {
    error_ = {number, description};
    return -1;
}

bool ZipComponent::failGet(int number, const QString& description) {
    error_ = {number, description};
    return false;
}

bool ZipComponent::checkIndex(int index, std::size_t size) {
    if (!requireOpen())
        return false;
    if (index < 0 || std::size_t(index) >= size)
        return failGet(
            kErrorBadIndex,
            QStringLiteral("インデックス %1 は範囲外です（%2 件）。").arg(index).arg(size));
    return true;
}

std::optional<std::pair<std::uint32_t, std::uint32_t>>
ZipComponent::exchangeRows(const QString& text) const {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    QByteArray digits;
    for (const QChar c : trimmed) {
        if (const int d = digitValue(c); d >= 0)
            digits.append(char('0' + d));
    }
    const std::optional<std::uint32_t> x = dictionary_->exchangeFor(digits);
    if (!x)
        return std::pair<std::uint32_t, std::uint32_t>{0, 0};
    const ZipTable& keys = dictionary_->exchanges();
    const std::uint32_t first = keys.at(*x, exchange::FirstRow);
    return std::pair{first, first + keys.at(*x, exchange::RowCount)};
}

int ZipComponent::QueryPrefectures(const QString& text, int, int) {
    if (!requireOpen())
        return -1;
    prefectures_.clear();
    const ZipDictionary& d = *dictionary_;
    if (const auto rows = exchangeRows(text)) {
        std::set<std::uint32_t> found;
        for (std::uint32_t r = rows->first; r < rows->second; ++r)
            found.insert(d.cities().at(d.exchangeRows().at(r, exchangeRow::City), city::Pref));
        prefectures_.assign(found.begin(), found.end());
    } else {
        for (std::uint32_t p = 0; p < d.prefectures().size(); ++p)
            prefectures_.push_back(p);
    }
    return int(prefectures_.size());
}

int ZipComponent::QueryCities(const QString& text, int, int prefectureCode, int) {
    if (!requireOpen())
        return -1;
    cities_.clear();
    const ZipDictionary& d = *dictionary_;
    const auto p =
        prefectureCode > 0 ? d.prefectureByCode(std::uint32_t(prefectureCode)) : std::nullopt;
    if (!p)
        return 0;
    if (const auto rows = exchangeRows(text)) {
        std::set<std::uint32_t> found;
        for (std::uint32_t r = rows->first; r < rows->second; ++r) {
            const std::uint32_t c = d.exchangeRows().at(r, exchangeRow::City);
            if (d.cities().at(c, city::Pref) == *p)
                found.insert(c);
        }
        cities_.assign(found.begin(), found.end());
    } else {
        const std::uint32_t first = d.prefectures().at(*p, pref::FirstCity);
        for (std::uint32_t c = 0; c < d.prefectures().at(*p, pref::CityCount); ++c)
            cities_.push_back(first + c);
    }
    return int(cities_.size());
}

int ZipComponent::QueryTowns(const QString& text, int, int cityCode, int) {
    if (!requireOpen())
        return -1;
    towns_.clear();
    const ZipDictionary& d = *dictionary_;
    const auto c = cityCode > 0 ? d.cityByCode(std::uint32_t(cityCode)) : std::nullopt;
    if (!c)
        return 0;
    if (const auto rows = exchangeRows(text)) {
        std::set<std::uint32_t> found;
        for (std::uint32_t r = rows->first; r < rows->second; ++r) {
            const std::uint32_t t = d.exchangeRows().at(r, exchangeRow::Town);
            if (d.exchangeRows().at(r, exchangeRow::City) == *c && t != kNoIndex)
                found.insert(t);
        }
        towns_.assign(found.begin(), found.end());
    } else {
        const std::uint32_t first = d.cities().at(*c, city::FirstTown);
        for (std::uint32_t t = 0; t < d.cities().at(*c, city::TownCount); ++t)
            towns_.push_back(first + t);
    }
    return int(towns_.size());
}

int ZipComponent::QueryBlocks(const QString& text, int, const QString& townName, int cityCode,
                              int) {
    if (!requireOpen())
        return -1;
    blocks_.clear();
    const ZipDictionary& d = *dictionary_;
    const auto c = cityCode > 0 ? d.cityByCode(std::uint32_t(cityCode)) : std::nullopt;
    if (!c)
        return 0;
    const QByteArray wanted = codec_.encode(townName);
    const std::uint32_t firstTown = d.cities().at(*c, city::FirstTown);
    const std::uint32_t endTown = firstTown + d.cities().at(*c, city::TownCount);
    std::uint32_t t = firstTown;
    while (t < endTown && d.textBytes(d.towns().at(t, town::Name)) != wanted)
        ++t;
    if (t == endTown)
        return 0;
    if (const auto rows = exchangeRows(text)) {
        blocks_ = exchangeBlocks(t, rows->first, rows->second);
    } else {
        const std::uint32_t first = d.towns().at(t, town::FirstBlock);
        for (std::uint32_t k = 0; k < d.towns().at(t, town::BlockCount); ++k)
            blocks_.push_back(first + k);
    }
    return int(blocks_.size());
}

// The blocks of a divided town where the exchange's listings can lie: those whose chōme
// list holds a chōme of a listing, and for a chōme no block names, the blocks that are not
// chōme lists (the town's "その他" and the like). A listing without a chōme, or a chōme
// that fits nowhere, leaves every block a candidate.
std::vector<std::uint32_t> ZipComponent::exchangeBlocks(std::uint32_t townIndex,
                                                        std::uint32_t rowFirst,
                                                        std::uint32_t rowEnd) const {
    const ZipDictionary& d = *dictionary_;
    const std::uint32_t first = d.towns().at(townIndex, town::FirstBlock);
    const std::uint32_t count = d.towns().at(townIndex, town::BlockCount);
    std::vector<ChomeRanges> ranges;
    for (std::uint32_t k = first; k < first + count; ++k)
        ranges.push_back(chomeRanges(d.text(d.blocks().at(k, block::Name))));

    bool listed = false;
    bool everyBlock = false;
    std::vector<bool> chosen(count, false);
    for (std::uint32_t r = rowFirst; r < rowEnd && !everyBlock; ++r) {
        if (d.exchangeRows().at(r, exchangeRow::Town) != townIndex)
            continue;
        listed = true;
        const QString chome = d.text(d.exchangeRows().at(r, exchangeRow::Chome));
        const int n =
            chome.endsWith(kChome) ? numberOf(chome.left(chome.size() - kChome.size())) : -1;
        if (n < 0) {
            everyBlock = true;
            break;
        }
        bool matched = false;
        for (std::uint32_t k = 0; k < count; ++k) {
            if (covers(ranges[k], n))
                chosen[k] = matched = true;
        }
        bool others = false;
        for (std::uint32_t k = 0; k < count && !matched; ++k) {
            if (ranges[k].empty())
                chosen[k] = others = true;
        }
        everyBlock = !matched && !others;
    }
    std::vector<std::uint32_t> out;
    if (!listed)
        return out;
    for (std::uint32_t k = 0; k < count; ++k) {
        if (everyBlock || chosen[k])
            out.push_back(first + k);
    }
    return out;
}

QByteArray ZipComponent::cp932Text(std::uint32_t textRef) const {
    return dictionary_->textBytes(textRef).toByteArray();
}

bool ZipComponent::GetPrefecture(int index, QByteArray& code, QByteArray& name,
                                 QByteArray& reading) {
    if (!checkIndex(index, prefectures_.size()))
        return false;
    const ZipTable& t = dictionary_->prefectures();
    const std::uint32_t p = prefectures_[std::size_t(index)];
    code = codeText(t.at(p, pref::Code), 2);
    name = cp932Text(t.at(p, pref::Name));
    reading = cp932Text(t.at(p, pref::Reading));
    return true;
}

bool ZipComponent::GetCity(int index, QByteArray& code, QByteArray& name, QByteArray& reading) {
    if (!checkIndex(index, cities_.size()))
        return false;
    const ZipTable& t = dictionary_->cities();
    const std::uint32_t c = cities_[std::size_t(index)];
    code = codeText(t.at(c, city::Code), 5);
    name = cp932Text(t.at(c, city::Name));
    reading = cp932Text(t.at(c, city::Reading));
    return true;
}

bool ZipComponent::GetTown(int index, QByteArray& code, QByteArray& name, QByteArray& reading,
                           QByteArray& note, QByteArray& noteReading) {
    if (!checkIndex(index, towns_.size()))
        return false;
    const ZipTable& t = dictionary_->towns();
    const std::uint32_t k = towns_[std::size_t(index)];
    const std::uint32_t value = t.at(k, town::Code);
    code = value == 0 ? QByteArray() : codeText(value, 7);
    name = cp932Text(t.at(k, town::Name));
    reading = cp932Text(t.at(k, town::Reading));
    note = cp932Text(t.at(k, town::Second));
    noteReading = cp932Text(t.at(k, town::SecondReading));
    return true;
}

bool ZipComponent::GetBlock(int index, QByteArray& code, QByteArray& name, QByteArray& reading) {
    if (!checkIndex(index, blocks_.size()))
        return false;
    const ZipTable& t = dictionary_->blocks();
    const std::uint32_t k = blocks_[std::size_t(index)];
    code = codeText(t.at(k, block::Code), 7);
    name = cp932Text(t.at(k, block::Name));
    reading = cp932Text(t.at(k, block::Reading));
    return true;
}

int ZipComponent::SearchCode(const QString& digits) {
    if (!requireOpen())
        return -1;
    search_ = {};
    const bool allDigits =
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const qsizetype length = digits.size();
    if (!allDigits || (length != 3 && length != 5 && length != 7))
        return fail(kErrorBadArgument,
                    QStringLiteral("郵便番号は３桁、５桁または７桁の数字で指定してください。"));
    std::uint32_t scale = 1;
    for (qsizetype i = length; i < 7; ++i)
        scale *= 10;
    const std::uint32_t value = digits.toUInt();
    const auto [first, end] = dictionary_->recordRange(value * scale, (value + 1) * scale);
    search_ = {digits, first, end};
    return int(end - first);
}

int ZipComponent::SearchOldCode(const QString& digits) {
    if (!requireOpen())
        return -1;
    search_ = {};
    const bool allDigits =
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!allDigits || (digits.size() != 3 && digits.size() != 5))
        return fail(kErrorBadArgument,
                    QStringLiteral("旧郵便番号は３桁または５桁の数字で指定してください。"));
    const auto [first, end] = dictionary_->oldCodeRange(digits.toLatin1());
    search_ = {digits, first, end, true};
    return int(end - first);
}

std::uint32_t ZipComponent::searchRecord(std::uint32_t index) const {
    const std::uint32_t row = search_.first + index;
    return search_.byOldCode ? dictionary_->oldCodes().at(row, oldCode::Record) : row;
}

bool ZipComponent::GetCodeRecord(int index, CodeRecord& texts) {
    if (!checkIndex(index, search_.end - search_.first))
        return false;
    const ZipDictionary& d = *dictionary_;
    const std::uint32_t r = searchRecord(std::uint32_t(index));
    const std::uint32_t c = d.records().at(r, record::City);
    const std::uint32_t p = d.cities().at(c, city::Pref);
    texts[0] = cp932Text(d.prefectures().at(p, pref::Name));
    texts[1] = cp932Text(d.prefectures().at(p, pref::Reading));
    texts[2] = cp932Text(d.cities().at(c, city::Name));
    texts[3] = cp932Text(d.cities().at(c, city::Reading));
    static constexpr std::size_t kParts[] = {record::Town,   record::TownReading,
                                             record::Part,   record::PartReading,
                                             record::Office, record::OfficeReading};
    for (std::size_t i = 0; i < std::size(kParts); ++i)
        texts[4 + i] = cp932Text(d.records().at(r, kParts[i]));
    texts[10] = codeText(d.records().at(r, record::Code), 7);
    return true;
}

bool ZipComponent::GetSearchSummary(SearchSummary& texts) {
    if (!requireOpen())
        return false;
    const ZipDictionary& d = *dictionary_;
    const std::uint32_t hits = search_.end - search_.first;
    std::uint32_t business = 0;
    for (std::uint32_t i = 0; i < hits; ++i)
        business += d.records().at(searchRecord(i), record::Kind) == record::Business ? 1 : 0;
    texts[0] = search_.digits.toLatin1();
    texts[1] = QByteArray::number(hits);
    texts[2] = QByteArray::number(hits - business);
    texts[3] = QByteArray::number(business);
    texts[4] = QByteArray::number(d.buildDate());
    texts[5] = QByteArray::number(kVersionMajor) + '.' + QByteArray::number(kVersionMinor);
    return true;
}

} // namespace pikotel::zipcomp
