#pragma once

// The vocabulary of the industry search: the 49 built-in industries in list order, the
// search patterns each one is looked for with, and the exclusion words that drop a listing a
// pattern found. Pattern numbers count from 1 in an industry's pattern order; some exclusion
// rules (those of "飲食店" above all) depend on the number of the pattern that found the
// listing. In a pattern "*" stands for any run of characters.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <span>
#include <vector>

namespace pikotel::industry {

// How an industry's patterns are made from its name N.
enum class Kind : int {
    Contains = 1,    // "*N*"
    EndsWith = 2,    // "*N"
    BeginsWith = 3,  // "N*" (no built-in industry)
    PatternList = 4, // the industry's own list
    Original = 5,    // the user's original industries, not kept here
};

// The pattern numbers a rule applies to.
class PatternSet {
public:
    static constexpr PatternSet all() { return PatternSet(~std::uint64_t{0}); }
    static constexpr PatternSet range(int first, int last) {
        std::uint64_t bits = 0;
        for (int n = first; n <= last; ++n)
            bits |= std::uint64_t{1} << (n - 1);
        return PatternSet(bits);
    }
    static constexpr PatternSet only(int number) { return range(number, number); }
    static constexpr PatternSet allBut(int number) { return PatternSet(~only(number).bits_); }

    constexpr PatternSet operator|(PatternSet other) const {
        return PatternSet(bits_ | other.bits_);
    }
    constexpr bool contains(int patternNo) const {
        return patternNo >= 1 && patternNo <= 64 && ((bits_ >> (patternNo - 1)) & 1) != 0;
    }

private:
    constexpr explicit PatternSet(std::uint64_t bits) : bits_(bits) {}
    std::uint64_t bits_;
};

// A listing whose name contains one of the words is dropped when a pattern of the set found
// it.
struct ExclusionRule {
    PatternSet patterns;
    std::span<const QStringView> words;
};

struct Industry {
    QStringView name;
    Kind kind;
    std::span<const QStringView> patternList;  // Kind::PatternList only
    std::span<const ExclusionRule> exclusions; // rules for all patterns first
};

// The most patterns an industry has: the engines' condition lists hold no more.
inline constexpr int kMaxPatterns = 40;

std::span<const Industry> builtinIndustries();
// The built-in industry of that name; nullptr when there is none.
const Industry* findIndustry(QStringView name);

// The industry's search patterns; pattern number p is at index p - 1.
QStringList searchPatterns(const Industry& industry);
// Every exclusion word of the tables for a listing pattern patternNo found, the words of the
// rules for all patterns first.
QStringList exclusionWords(const Industry& industry, int patternNo);

// The literal pieces of a pattern, between its "*": every listing it finds holds each one.
QStringList patternLiterals(QStringView pattern);
// True when the word occurs, under the loose comparison (case, width and kana kind ignored),
// in a literal piece of the pattern. Every listing the pattern finds then holds the word, so
// as an exclusion word it would drop all of them: such a word does not apply to that
// pattern's hits.
bool defeatsPattern(const QString& word, QStringView pattern);
// The exclusion words that drop a listing pattern patternNo found: exclusionWords without
// those that would defeat the pattern itself.
QStringList applicableExclusionWords(const Industry& industry, int patternNo);

// An exclusion word of the tables that defeats a pattern of its own industry.
struct SelfDefeatingWord {
    QStringView industry;
    int patternNo = 0;
    QString pattern;
    QString word;
};
std::vector<SelfDefeatingWord> selfDefeatingWords();

} // namespace pikotel::industry
