#pragma once

// Reader of the postal-code dictionary image (layout in zipformat.h and FORMAT.md).
// open() reads the file once and checks it whole: header, checksum, section table, every
// index and every text reference. A dictionary that passed open() is consistent, so its
// accessors need no error paths; they still never read outside the image.

#include "zipcomp/zipformat.h"
#include "zipcomp/zipkey.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>

namespace pikotel::zipcomp {

// Rows of 32-bit words inside the image.
class ZipTable {
public:
    ZipTable() = default;
    ZipTable(std::span<const std::uint8_t> bytes, std::size_t words, std::uint32_t rows)
        : bytes_(bytes), words_(words), rows_(rows) {}

    std::uint32_t size() const { return rows_; }
    // 0 for a row or word outside the table.
    std::uint32_t at(std::uint32_t row, std::size_t word) const {
        if (row >= rows_ || word >= words_)
            return 0;
        return format::readU32(bytes_, (std::size_t(row) * words_ + word) * 4);
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t words_ = 0;
    std::uint32_t rows_ = 0;
};

class ZipDictionary {
public:
    enum class Status { Ok, Missing, Damaged, Unsupported, WrongLicence };
    struct OpenResult {
        Status status = Status::Missing;
        QString reason; // why it failed, for messages
        std::unique_ptr<ZipDictionary> dictionary;
    };

    static OpenResult open(const QString& path, const LicenceId& licence);
    static OpenResult fromImage(QByteArray image, const LicenceId& licence);

    ZipDictionary(const ZipDictionary&) = delete;
    ZipDictionary& operator=(const ZipDictionary&) = delete;

    std::uint32_t buildDate() const { return buildDate_; }
    bool hasExchangeData() const { return hasExchangeData_; }

    const ZipTable& prefectures() const { return prefectures_; }
    const ZipTable& cities() const { return cities_; }
    const ZipTable& towns() const { return towns_; }
    const ZipTable& blocks() const { return blocks_; }
    const ZipTable& records() const { return records_; }
    const ZipTable& exchanges() const { return exchanges_; }
    const ZipTable& exchangeRows() const { return exchangeRows_; }
    const ZipTable& oldCodes() const { return oldCodes_; }

    // A text of the string pool, as stored (cp932) and decoded; empty for a reference
    // outside the pool.
    QByteArrayView textBytes(std::uint32_t ref) const;
    QString text(std::uint32_t ref) const;

    std::optional<std::uint32_t> prefectureByCode(std::uint32_t code) const;
    std::optional<std::uint32_t> cityByCode(std::uint32_t code) const;
    // Records whose code lies in [low, high): first index and end index.
    std::pair<std::uint32_t, std::uint32_t> recordRange(std::uint32_t low,
                                                        std::uint32_t high) const;
    // The exchange whose digits are the longest prefix of the given digits.
    std::optional<std::uint32_t> exchangeFor(QByteArrayView digits) const;
    // Rows of the old-code table whose digits are exactly the given ones: first and end.
    std::pair<std::uint32_t, std::uint32_t> oldCodeRange(QByteArrayView digits) const;

private:
    ZipDictionary() = default;
    QString validate(const LicenceId& licence, Status& status);
    QString validateTexts() const;
    QString validateHierarchy() const;
    QString validateRecords() const;
    QString validateExchanges();
    QString validateOldCodes() const;

    QByteArray image_;
    std::span<const std::uint8_t> bytes_;
    std::span<const std::uint8_t> strings_;
    ZipTable prefectures_, cities_, towns_, blocks_, records_, exchanges_, exchangeRows_, oldCodes_;
    std::uint32_t buildDate_ = 0;
    bool hasExchangeData_ = false;
    std::size_t longestExchange_ = 0;
};

} // namespace pikotel::zipcomp
