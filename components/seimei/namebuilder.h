#pragma once

// Builds the name dictionary image from the shipped name list (data/names_ipadic_gimei.tsv):
// tab-separated, a header row naming the columns, one written form of one reading per row.
// The columns read are kind ("sei" surname, "mei" given name), reading_katakana, kanji,
// source ("ipadic", "gimei…"), ipadic_cost (lower is more common) and gimei_rank (surname
// frequency rank, 1 the most common); the last two may be empty.
//
// A reading lists its surnames before its given names, and a written form once even when it
// is both (it counts as a surname). Surnames come in gimei_rank order, then the unranked ones
// by ipadic_cost; given names that the gimei lists know come first, each part by ipadic_cost.
// Ties, and forms without a cost after those with one, go in cp932 byte order, so a build is
// reproducible.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace pikotel::seimei {

// The dictionary key of a reading: hiragana made katakana, then full-width made half-width
// (ICU's Fullwidth-Halfwidth, the conversion the program applies to what the user typed), in
// cp932. Empty when a character has no cp932 form.
QByteArray readingKey(const QString& reading);

struct BuildSummary {
    std::uint32_t readings = 0;
    std::uint32_t surnames = 0;
    std::uint32_t givenNames = 0;
    std::uint32_t skippedRows = 0;
};

class NameDictionaryBuilder {
public:
    // Reads one name list. False, with the file and line in error, for a missing column, a row
    // with another number of fields, an unknown kind, a reading that is not full-width
    // katakana, an empty written form or a cost or rank that is not a number. Rows that the
    // format cannot hold (a form cp932 lacks, a text over 100 bytes) are skipped with a
    // warning.
    bool readNames(const QString& path, QString& error);

    // The image, with the build time in seconds since 1970 (UTC).
    QByteArray build(std::int64_t buildTime) const;
    BuildSummary summary() const;
    const QStringList& warnings() const { return warnings_; }

    // Writes an image atomically (the old file stays until the new one is complete).
    static bool write(const QByteArray& image, const QString& path, QString& error);

private:
    struct Form {
        bool surname = false;
        std::optional<int> rank;
        std::optional<int> surnameCost;
        bool gimeiGivenName = false;
        std::optional<int> givenNameCost;
    };
    // key → written form (cp932) → what the rows say about it.
    using Forms = std::map<std::string, Form>;

    struct Columns {
        qsizetype kind = -1, reading = -1, written = -1, source = -1, cost = -1, rank = -1;
        qsizetype count = 0;
    };

    bool addRow(const Columns& columns, const QStringList& fields, const QString& where,
                QString& error);

    std::map<std::string, Forms> readings_;
    QStringList warnings_;
    std::uint32_t skipped_ = 0;
};

} // namespace pikotel::seimei
