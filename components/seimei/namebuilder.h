#pragma once

// Builds the name dictionary image from the shipped name list (data/names_ipadic_gimei.tsv):
// tab-separated, a header row naming the columns, one written form of one reading per row.
// The columns read are kind ("sei" surname, "mei" given name), reading_katakana, kanji,
// source ("ipadic", "gimei…") and gimei_rank (position among the most common surnames, 1 the
// most common; empty for the long tail).
//
// A reading lists its surnames before its given names, and a written form once even when it
// is both (it counts as a surname). Ranked surnames come first by rank; given names that the
// gimei lists know come before the ipadic-only ones. The ipadic cost favours the names of
// well-known people and is no frequency, so it orders nothing: within each group the forms go
// in cp932 byte order, which puts the common (JIS level 1) kanji before the rare ones and
// makes a build reproducible.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace pikotel::seimei {

// The dictionary key of a reading: hiragana made katakana, then full-width made half-width
// (jtext's conversions, which the program applies to what the user typed), in cp932. Empty
// when a character has no cp932 form.
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
    // katakana, an empty written form or a rank that is not a positive number. Rows that the
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
        bool gimeiGivenName = false;
    };
    // key → written form (cp932) → what the rows say about it.
    using Forms = std::map<std::string, Form>;

    struct Columns {
        qsizetype kind = -1, reading = -1, written = -1, source = -1, rank = -1;
        qsizetype count = 0;
    };

    bool addRow(const Columns& columns, const QStringList& fields, const QString& where,
                QString& error);

    std::map<std::string, Forms> readings_;
    QStringList warnings_;
    std::uint32_t skipped_ = 0;
};

} // namespace pikotel::seimei
