#pragma once

// The postal-code component: an object the program creates, hands its key block and the
// dictionary folder, opens, queries and closes again.
//
//   ZipComponent zip;
//   zip.SetKeyBlock(QString::fromLatin1(kProgramKeyBlock));
//   zip.SetFolder(programFolder + "/ZIP");
//   if (zip.OpenDictionary() != 0) ... // zip.LastError() tells why
//   const int n = zip.SearchCode("1600023");
//   for (int i = 0; i < n; ++i) zip.GetCodeRecord(i, texts);
//
// Lists: each Query operation makes the list of its own level (prefectures, cities, towns,
// blocks) the current one, read by index with the matching Get operation; SearchCode and
// SearchOldCode do the same for GetCodeRecord. The levels are independent, so a city list
// stays readable after its towns were asked for.
//
// Texts given to the component are Unicode; every text it returns is cp932 (Windows-31J).
// Code texts: prefecture "01".."47", city the 5-digit municipality code, town and block
// the 7-digit postal code. A town whose code depends on the block it lies in has an empty
// code text and lists its blocks through QueryBlocks.
//
// Exchange queries: a non-blank text argument to a Query operation is a telephone number.
// Its digits (half- or full-width; anything else is skipped) select the exchange of the dictionary
// that is their longest prefix, and the lists hold only the areas where that exchange has listings:
// its prefectures, the cities of a prefecture, the towns of a city, the blocks of a divided town
// that the exchange's chōme can lie in. A number of no known exchange gives empty lists.
//
// Failures: Query and SearchCode give -1, Get operations false; LastError() then holds a
// number (COM style: vbObjectError + 512 + n, negative) and a description.

#include "jtext/cp932.h"
#include "zipcomp/zipkey.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace pikotel::zipcomp {

class ZipDictionary;

// Results of OpenDictionary.
enum OpenStatus : int {
    kOpened = 0,
    kKeyRejected = 1,           // no key block, or not a sound one
    kDictionaryMissing = 2,     // no folder given, or no readable "pp00" in it
    kDictionaryDamaged = 3,     // not a dictionary, or one that fails its checks
    kDictionaryUnsupported = 4, // a dictionary of a later format version
    kDictionaryForOtherKey = 5, // built for another licence
};

inline constexpr int kVbObjectError = -2147221504; // 0x80040000
enum ErrorNumber : int {
    kErrorNotOpen = kVbObjectError + 513,
    kErrorBadArgument = kVbObjectError + 514,
    kErrorBadIndex = kVbObjectError + 515,
    kErrorOpenFailed = kVbObjectError + 516,
};

struct ZipError {
    int number = 0;
    QString description;
};

class ZipComponent {
public:
    using CodeRecord = std::array<QByteArray, 11>;
    using SearchSummary = std::array<QByteArray, 6>;

    ZipComponent();
    ~ZipComponent();
    ZipComponent(const ZipComponent&) = delete;
    ZipComponent& operator=(const ZipComponent&) = delete;

    int OpenDictionary();
    void CloseDictionary();

    int QueryPrefectures(const QString& text, int reserved1, int reserved2);
    int QueryCities(const QString& text, int reserved1, int prefectureCode, int reserved2);
    int QueryTowns(const QString& text, int reserved1, int cityCode, int reserved2);
    int QueryBlocks(const QString& text, int reserved1, const QString& townName, int cityCode,
                    int reserved2);

    // The third text of each is the reading (full-width katakana).
    bool GetPrefecture(int index, QByteArray& code, QByteArray& name, QByteArray& reading);
    bool GetCity(int index, QByteArray& code, QByteArray& name, QByteArray& reading);
    // The town's name and the note Japan Post gives it (e.g. "（１〜４丁目）"), each with
    // its reading.
    bool GetTown(int index, QByteArray& code, QByteArray& name, QByteArray& reading,
                 QByteArray& note, QByteArray& noteReading);
    bool GetBlock(int index, QByteArray& code, QByteArray& name, QByteArray& reading);

    // Forward search: 3, 5 or 7 digits; every record whose code begins with them, in code
    // order. Records of an address come before those of a business office.
    int SearchCode(const QString& digits);
    // Old-code search: 3 or 5 digits; every address record whose old code (the one before
    // the seven-digit codes) is exactly them, in code order. Read like SearchCode's.
    int SearchOldCode(const QString& digits);
    // A record of the last SearchCode or SearchOldCode. Texts 1, 3, 5, 7 and 9 are the
    // address parts from the prefecture on (an office's name last), 2, 4, 6, 8 and 10 their
    // readings (an office's in half-width katakana), 11 the postal code.
    bool GetCodeRecord(int index, CodeRecord& texts);
    // The searched digits, the hit count, the address hits, the office hits, the
    // dictionary's build date (yyyymmdd) and its format version.
    bool GetSearchSummary(SearchSummary& texts);

    void SetFolder(const QString& folder);
    void SetKeyBlock(const QString& keyBlock);

    const ZipError& LastError() const { return error_; }

private:
    // Rows [first, end) of the records, or of the old-code table when byOldCode.
    struct Search {
        QString digits;
        std::uint32_t first = 0;
        std::uint32_t end = 0;
        bool byOldCode = false;
    };

    bool requireOpen();
    int fail(int number, const QString& description);
    bool failGet(int number, const QString& description);
    bool checkIndex(int index, std::size_t size);
    void clearLists();
    // The exchange rows for a telephone-number text: {first, end}; empty when the text is
    // blank, and {0, 0} for a number of no known exchange.
    std::optional<std::pair<std::uint32_t, std::uint32_t>> exchangeRows(const QString& text) const;
    std::vector<std::uint32_t> exchangeBlocks(std::uint32_t townIndex, std::uint32_t rowFirst,
                                              std::uint32_t rowEnd) const;
    QByteArray cp932Text(std::uint32_t textRef) const;
    // The record of the current search's index-th hit.
    std::uint32_t searchRecord(std::uint32_t index) const;

    QString keyBlock_;
    QString folder_;
    std::unique_ptr<ZipDictionary> dictionary_;
    jtext::Cp932Codec codec_;
    ZipError error_;
    std::vector<std::uint32_t> prefectures_, cities_, towns_, blocks_;
    Search search_;
};

} // namespace pikotel::zipcomp
