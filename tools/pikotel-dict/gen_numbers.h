#pragma once

// Telephone numbers: each town belongs to an exchange group of its area code; a group
// takes the area code's exchanges one after another, moving on after a few dozen numbers
// while the code has exchanges to spare and after all 10,000 once it runs short. When every
// exchange of a code has been taken, groups fill up the ones left partly used.
// Every six-digit prefix belongs to exactly one area code, the longest that claims it, as
// in the real numbering plan, so no two numbers of a run are equal.

#include "gen_address.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace pikotel::gen {

struct PhoneNumber {
    std::string display;        // "03-3456-7890"
    std::uint32_t exchange = 0; // the six digits before the subscriber number
};

class NumberPlan {
public:
    // Sets every town's exchange group.
    bool init(AddressBook& book, QString* error);
    // The next unused number of the town's group; false when its area code is exhausted.
    bool next(const Town& town, PhoneNumber* number, QString* error);

private:
    struct AreaCode {
        std::string digits;
        std::vector<std::uint32_t> prefixes; // the six-digit prefixes it may use
        std::uint64_t start = 0;
        std::uint64_t stride = 1;
        std::uint64_t taken = 0;
        // By prefix: the numbers given out of it, and where its subscriber numbers start.
        std::vector<std::uint32_t> used;
        std::vector<std::uint32_t> offset;
        // Where the search for a partly used exchange goes on.
        std::uint64_t refill = 0;
    };
    struct Group {
        std::uint32_t areaCode = 0;
        std::uint32_t prefix = 0; // index into the code's prefixes
        std::uint32_t quota = 0;  // numbers still to give out of it
    };
    // Moves the group to another exchange of its code; false when all are full.
    bool takeExchange(Group& group);
    static constexpr std::uint32_t kPerExchange = 10000;
    static constexpr std::uint32_t kSpreadMin = 12;
    static constexpr std::uint32_t kSpreadRange = 30;

    std::vector<AreaCode> codes_;
    std::vector<Group> groups_;
};

} // namespace pikotel::gen
