#pragma once

// The industry search's built-in vocabulary: the 49 industries in list order with their
// search patterns and exclusion words. The generator aims business names at it; the tests
// check the generated listings against it.

#include <string>
#include <vector>

namespace pikotel::gen {

struct ExclusionRule {
    enum class Applies { All, Only, AllBut };
    Applies applies = Applies::All;
    std::vector<int> patterns; // pattern numbers counted from 1
    std::vector<std::string> words;

    bool appliesTo(int patternNo) const;
};

struct Industry {
    std::string name;
    int kind = 0; // 1 contains, 2 ends with, 4 pattern list
    std::vector<std::string> patterns;
    std::vector<ExclusionRule> exclusions;
};

const std::vector<Industry>& builtinIndustries();

// Every exclusion word that drops a listing the given pattern (counted from 1) found.
std::vector<std::string> exclusionWords(const Industry& industry, int patternNo);

} // namespace pikotel::gen
