#include "zipcomp/zipdictionary.h"

#include "jtext/cp932.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace pikotel::zipcomp {

using namespace format;

namespace {

struct SectionLayout {
    std::uint32_t tag;
    std::size_t words; // 0: the string pool, counted in bytes
    int count;         // header count slot, or -1
    ZipTable ZipDictionary::*table;
};

// Text words of each table, checked against the string pool at open.
constexpr std::size_t kPrefTexts[] = {pref::Name, pref::Reading};
constexpr std::size_t kCityTexts[] = {city::Name, city::Reading};
constexpr std::size_t kTownTexts[] = {town::Name, town::Reading, town::Second, town::SecondReading};
constexpr std::size_t kBlockTexts[] = {block::Name, block::Reading};
constexpr std::size_t kRecordTexts[] = {record::Town,   record::TownReading,
                                        record::Part,   record::PartReading,
                                        record::Office, record::OfficeReading};
constexpr std::size_t kExchangeTexts[] = {exchange::Digits};
constexpr std::size_t kExchangeRowTexts[] = {exchangeRow::Chome};
constexpr std::size_t kOldCodeTexts[] = {oldCode::Digits};

// The pool text at ref: its bytes, or nothing when its length field or its bytes would
// reach past the pool. Computed in 64 bits so that no reference wraps around.
std::optional<std::span<const std::uint8_t>> poolText(std::span<const std::uint8_t> pool,
                                                      std::uint32_t ref) {
    const std::uint64_t start = std::uint64_t{ref} + 2;
    if (start > pool.size())
        return std::nullopt;
    const std::uint64_t length = readU16(pool, ref);
    if (length > pool.size() - start)
        return std::nullopt;
    return pool.subspan(std::size_t(start), std::size_t(length));
}

QString damaged(const char* what) {
    return QStringLiteral("郵便番号辞書が壊れています（%1）。").arg(QLatin1String(what));
}

// Checks that rows [first, first + count) of the children follow on from the previous
// parent and point back at their parent.
bool contiguous(const ZipTable& parents, std::size_t firstWord, std::size_t countWord,
                const ZipTable& children, std::size_t parentWord) {
    std::uint64_t expected = 0;
    for (std::uint32_t p = 0; p < parents.size(); ++p) {
        const std::uint32_t first = parents.at(p, firstWord);
        const std::uint32_t count = parents.at(p, countWord);
        if (first != expected || std::uint64_t(first) + count > children.size())
            return false;
        for (std::uint32_t c = first; c < first + count; ++c) {
            if (children.at(c, parentWord) != p)
                return false;
        }
        expected = std::uint64_t(first) + count;
    }
    return expected == children.size();
}

} // namespace

ZipDictionary::OpenResult ZipDictionary::open(const QString& path, const LicenceId& licence) {
    QFile file(path);
    const QFileInfo info(path);
    if (!info.exists() || !file.open(QIODevice::ReadOnly))
        return {Status::Missing, QStringLiteral("郵便番号辞書が開けません: %1").arg(path), nullptr};
    const auto notOne = [&path] {
        return OpenResult{Status::Damaged,
                          QStringLiteral("郵便番号辞書ではありません: %1").arg(path), nullptr};
    };
    // A device or a pipe would be read for ever; only a file of the size its header gives
    // is read whole, and never one far beyond any real dictionary.
    constexpr qint64 kMaxImage = qint64(1) << 30;
    if (!info.isFile() || file.size() > kMaxImage)
        return notOne();
    QByteArray image = file.read(qint64(kHeaderSize));
    const auto head = std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(image.constData()), std::size_t(image.size()));
    if (head.size() < kHeaderSize || std::memcmp(head.data(), kMagic.data(), kMagic.size()) != 0)
        return notOne();
    if (readU16(head, offset::versionMajor) == kVersionMajor &&
        readU64(head, offset::fileSize) != std::uint64_t(file.size()))
        return {Status::Damaged, damaged("file size"), nullptr};
    image += file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {Status::Missing, QStringLiteral("郵便番号辞書が読めません: %1").arg(path), nullptr};
    return fromImage(std::move(image), licence);
}

ZipDictionary::OpenResult ZipDictionary::fromImage(QByteArray image, const LicenceId& licence) {
    std::unique_ptr<ZipDictionary> dict(new ZipDictionary);
    dict->image_ = std::move(image);
    dict->bytes_ = std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(dict->image_.constData()),
        std::size_t(dict->image_.size()));
    Status status = Status::Ok;
    const QString reason = dict->validate(licence, status);
    if (status != Status::Ok)
        return {status, reason, nullptr};
    return {Status::Ok, QString(), std::move(dict)};
}

QString ZipDictionary::validate(const LicenceId& licence, Status& status) {
    status = Status::Damaged;
    const auto b = bytes_;
    if (b.size() < kHeaderSize || std::memcmp(b.data(), kMagic.data(), kMagic.size()) != 0)
        return QStringLiteral("郵便番号辞書ではありません。");
    if (readU16(b, offset::versionMajor) != kVersionMajor) {
        status = Status::Unsupported;
        return QStringLiteral("郵便番号辞書の版 %1 には対応していません。")
            .arg(readU16(b, offset::versionMajor));
    }
    if (readU32(b, offset::headerSize) != kHeaderSize)
        return damaged("header size");
    if (readU64(b, offset::fileSize) != b.size())
        return damaged("file size");
    if (imageChecksum(b) != readU32(b, offset::checksum))
        return damaged("checksum");
    if (std::memcmp(b.data() + offset::licenceId, licence.data(), licence.size()) != 0) {
        status = Status::WrongLicence;
        return QStringLiteral("郵便番号辞書がこのキーブロック用ではありません。");
    }
    buildDate_ = readU32(b, offset::buildDate);
    hasExchangeData_ = (readU32(b, offset::flags) & kFlagExchangeData) != 0;

    const SectionLayout layouts[] = {
        {kStringsTag, 0, -1, nullptr},
        {pref::kTag, pref::Words, Prefectures, &ZipDictionary::prefectures_},
        {city::kTag, city::Words, Cities, &ZipDictionary::cities_},
        {town::kTag, town::Words, Towns, &ZipDictionary::towns_},
        {block::kTag, block::Words, Blocks, &ZipDictionary::blocks_},
        {record::kTag, record::Words, -1, &ZipDictionary::records_},
        {exchange::kTag, exchange::Words, Exchanges, &ZipDictionary::exchanges_},
        {exchangeRow::kTag, exchangeRow::Words, ExchangeRows, &ZipDictionary::exchangeRows_},
        {oldCode::kTag, oldCode::Words, OldCodes, &ZipDictionary::oldCodes_},
    };
    const std::uint32_t sections = readU32(b, offset::sectionCount);
    if (sections != kSectionCount)
        return damaged("section count");
    const std::size_t tableEnd = kHeaderSize + std::size_t(sections) * kSectionEntrySize;
    if (tableEnd > b.size())
        return damaged("section table");
    bool seen[kSectionCount] = {};
    for (std::uint32_t s = 0; s < sections; ++s) {
        const std::size_t at = kHeaderSize + std::size_t(s) * kSectionEntrySize;
        const std::uint32_t tagValue = readU32(b, at);
        const std::uint32_t elementSize = readU32(b, at + 4);
        const std::uint32_t count = readU32(b, at + 8);
        const std::uint64_t start = readU64(b, at + 16);
        const std::uint64_t length = readU64(b, at + 24);
        const auto layout = std::find_if(std::begin(layouts), std::end(layouts),
                                         [&](const SectionLayout& x) { return x.tag == tagValue; });
        if (layout == std::end(layouts))
            return damaged("unknown section");
        const std::size_t index = std::size_t(layout - std::begin(layouts));
        const std::uint64_t expectedSize = layout->words == 0 ? 1 : layout->words * 4;
        if (seen[index] || elementSize != expectedSize || start < tableEnd || start > b.size() ||
            length > b.size() - start || length != std::uint64_t(elementSize) * count)
            return damaged("section bounds");
        if (layout->count >= 0 &&
            count != readU32(b, offset::counts + std::size_t(layout->count) * 4))
            return damaged("section count mismatch");
        seen[index] = true;
        const auto data = b.subspan(std::size_t(start), std::size_t(length));
        if (layout->table == nullptr)
            strings_ = data;
        else
            this->*(layout->table) = ZipTable(data, layout->words, count);
    }
    if (strings_.size() < 2 || readU16(strings_, 0) != 0)
        return damaged("string pool");

    QString problem = validateTexts();
    if (problem.isEmpty())
        problem = validateHierarchy();
    if (problem.isEmpty())
        problem = validateRecords();
    if (problem.isEmpty())
        problem = validateExchanges();
    if (problem.isEmpty())
        problem = validateOldCodes();
    if (problem.isEmpty())
        status = Status::Ok;
    return problem;
}

QString ZipDictionary::validateTexts() const {
    const auto check = [this](const ZipTable& table, std::span<const std::size_t> words) {
        for (std::uint32_t r = 0; r < table.size(); ++r) {
            for (const std::size_t w : words) {
                if (!poolText(strings_, table.at(r, w)))
                    return false;
            }
        }
        return true;
    };
    if (!check(prefectures_, kPrefTexts) || !check(cities_, kCityTexts) ||
        !check(towns_, kTownTexts) || !check(blocks_, kBlockTexts) ||
        !check(records_, kRecordTexts) || !check(exchanges_, kExchangeTexts) ||
        !check(exchangeRows_, kExchangeRowTexts) || !check(oldCodes_, kOldCodeTexts))
        return damaged("text reference");
    return QString();
}

QString ZipDictionary::validateHierarchy() const {
    for (std::uint32_t p = 0; p < prefectures_.size(); ++p) {
        if (p > 0 && prefectures_.at(p, pref::Code) <= prefectures_.at(p - 1, pref::Code))
            return damaged("prefecture order");
    }
    for (std::uint32_t c = 0; c < cities_.size(); ++c) {
        if (c > 0 && cities_.at(c, city::Code) <= cities_.at(c - 1, city::Code))
            return damaged("city order");
    }
    for (std::uint32_t t = 0; t < towns_.size(); ++t) {
        const std::uint32_t code = towns_.at(t, town::Code);
        const bool divided = towns_.at(t, town::BlockCount) > 0;
        if (code > kMaxCode || (code == 0) != divided)
            return damaged("town code");
    }
    for (std::uint32_t k = 0; k < blocks_.size(); ++k) {
        const std::uint32_t code = blocks_.at(k, block::Code);
        if (code == 0 || code > kMaxCode)
            return damaged("block code");
    }
    if (!contiguous(prefectures_, pref::FirstCity, pref::CityCount, cities_, city::Pref) ||
        !contiguous(cities_, city::FirstTown, city::TownCount, towns_, town::City) ||
        !contiguous(towns_, town::FirstBlock, town::BlockCount, blocks_, block::Town))
        return damaged("list structure");
    return QString();
}

QString ZipDictionary::validateRecords() const {
    std::uint32_t business = 0;
    for (std::uint32_t r = 0; r < records_.size(); ++r) {
        const std::uint32_t code = records_.at(r, record::Code);
        const std::uint32_t kind = records_.at(r, record::Kind);
        if (code > kMaxCode || (r > 0 && code < records_.at(r - 1, record::Code)) ||
            records_.at(r, record::City) >= cities_.size() ||
            (kind != record::Address && kind != record::Business))
            return damaged("record");
        business += kind == record::Business ? 1 : 0;
    }
    if (business != readU32(bytes_, offset::counts + BusinessRecords * 4) ||
        records_.size() - business != readU32(bytes_, offset::counts + AddressRecords * 4))
        return damaged("record count");
    return QString();
}

QString ZipDictionary::validateExchanges() {
    QByteArrayView previous;
    std::uint64_t expectedRow = 0;
    for (std::uint32_t x = 0; x < exchanges_.size(); ++x) {
        const QByteArrayView digits = textBytes(exchanges_.at(x, exchange::Digits));
        if (digits.isEmpty() || (x > 0 && !(previous < digits)) ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return damaged("exchange key");
        const std::uint32_t first = exchanges_.at(x, exchange::FirstRow);
        const std::uint32_t count = exchanges_.at(x, exchange::RowCount);
        if (first != expectedRow || count == 0 ||
            std::uint64_t(first) + count > exchangeRows_.size())
            return damaged("exchange rows");
        expectedRow = std::uint64_t(first) + count;
        longestExchange_ = std::max(longestExchange_, std::size_t(digits.size()));
        previous = digits;
    }
    if (expectedRow != exchangeRows_.size())
        return damaged("exchange rows");
    for (std::uint32_t r = 0; r < exchangeRows_.size(); ++r) {
        const std::uint32_t cityIndex = exchangeRows_.at(r, exchangeRow::City);
        const std::uint32_t townIndex = exchangeRows_.at(r, exchangeRow::Town);
        if (cityIndex >= cities_.size() ||
            (townIndex != kNoIndex &&
             (townIndex >= towns_.size() || towns_.at(townIndex, town::City) != cityIndex)))
            return damaged("exchange row");
    }
    return QString();
}

QString ZipDictionary::validateOldCodes() const {
    for (std::uint32_t r = 0; r < oldCodes_.size(); ++r) {
        const QByteArrayView digits = textBytes(oldCodes_.at(r, oldCode::Digits));
        const std::uint32_t record = oldCodes_.at(r, oldCode::Record);
        if ((digits.size() != 3 && digits.size() != 5) ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return damaged("old code");
        if (record >= records_.size() || records_.at(record, record::Kind) != record::Address)
            return damaged("old code record");
        if (r > 0) {
            const QByteArrayView before = textBytes(oldCodes_.at(r - 1, oldCode::Digits));
            if (digits < before ||
                (digits == before && record <= oldCodes_.at(r - 1, oldCode::Record)))
                return damaged("old code order");
        }
    }
    return QString();
}

QByteArrayView ZipDictionary::textBytes(std::uint32_t ref) const {
    const auto text = poolText(strings_, ref);
    if (!text)
        return {};
    return QByteArrayView(reinterpret_cast<const char*>(text->data()), qsizetype(text->size()));
}

QString ZipDictionary::text(std::uint32_t ref) const {
    return jtext::fromCp932(textBytes(ref));
}

namespace {
std::optional<std::uint32_t> findCode(const ZipTable& table, std::size_t word, std::uint32_t code) {
    std::uint32_t low = 0;
    std::uint32_t high = table.size();
    while (low < high) {
        const std::uint32_t mid = low + (high - low) / 2;
        if (table.at(mid, word) < code)
            low = mid + 1;
        else
            high = mid;
    }
    if (low < table.size() && table.at(low, word) == code)
        return low;
    return std::nullopt;
}

std::uint32_t lowerBound(const ZipTable& table, std::size_t word, std::uint32_t code) {
    std::uint32_t low = 0;
    std::uint32_t high = table.size();
    while (low < high) {
        const std::uint32_t mid = low + (high - low) / 2;
        if (table.at(mid, word) < code)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}
} // namespace

std::optional<std::uint32_t> ZipDictionary::prefectureByCode(std::uint32_t code) const {
    return findCode(prefectures_, pref::Code, code);
}

std::optional<std::uint32_t> ZipDictionary::cityByCode(std::uint32_t code) const {
    return findCode(cities_, city::Code, code);
}

std::pair<std::uint32_t, std::uint32_t> ZipDictionary::recordRange(std::uint32_t low,
                                                                   std::uint32_t high) const {
    return {lowerBound(records_, record::Code, low), lowerBound(records_, record::Code, high)};
}

std::pair<std::uint32_t, std::uint32_t> ZipDictionary::oldCodeRange(QByteArrayView digits) const {
    // The first row whose digits are not below the key, or with past set, above it.
    const auto bound = [this](QByteArrayView key, bool past) {
        std::uint32_t low = 0;
        std::uint32_t high = oldCodes_.size();
        while (low < high) {
            const std::uint32_t mid = low + (high - low) / 2;
            const QByteArrayView at = textBytes(oldCodes_.at(mid, oldCode::Digits));
            if (at < key || (past && at == key))
                low = mid + 1;
            else
                high = mid;
        }
        return low;
    };
    return {bound(digits, false), bound(digits, true)};
}

std::optional<std::uint32_t> ZipDictionary::exchangeFor(QByteArrayView digits) const {
    for (qsizetype length = std::min<qsizetype>(digits.size(), qsizetype(longestExchange_));
         length > 0; --length) {
        const QByteArrayView key = digits.first(length);
        std::uint32_t low = 0;
        std::uint32_t high = exchanges_.size();
        while (low < high) {
            const std::uint32_t mid = low + (high - low) / 2;
            if (textBytes(exchanges_.at(mid, exchange::Digits)) < key)
                low = mid + 1;
            else
                high = mid;
        }
        if (low < exchanges_.size() && textBytes(exchanges_.at(low, exchange::Digits)) == key)
            return low;
    }
    return std::nullopt;
}

} // namespace pikotel::zipcomp
