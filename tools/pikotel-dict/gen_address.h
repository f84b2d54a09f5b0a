#pragma once

// The addresses listings may have: every municipality of the postal data with its usable
// towns, cleaned of Japan Post's special texts and parenthesised parts, each town with its
// municipality's area code and the chōme it has.

#include "gen_areacodes.h"

#include <QString>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace pikotel::gen {

enum class CityKind { SpecialWard, Ward, City, Town, Village };

struct Address {
    std::uint32_t town = 0;
    std::string zip;         // "123-4567"
    std::uint64_t chome = 0; // bit n set: the town has n丁目
};

struct Town {
    std::uint32_t city = 0;
    std::string name; // may be empty: a municipality without named towns
    // Reading when the name can stand in a business name ("北町" ⇒ "キタマチ"); empty for
    // names with numbers, ranges or a reading that is not plain katakana.
    std::string nameKana;
    std::uint32_t areaCode = 0; // index into AddressBook::areaCodes
    std::uint32_t group = 0;    // exchange group, set by the number plan
};

struct City {
    std::string code; // jis5
    std::string pref;
    std::string name;
    // How the municipality calls itself in an office name: "余市町" for "余市郡余市町".
    std::string callName;
    std::string callKana;
    int prefNo = 0;
    CityKind kind = CityKind::City;
    std::vector<std::uint32_t> addresses;
    std::vector<std::uint32_t> nameTowns; // towns with a nameKana
    std::uint64_t weight = 0;             // share of the prefecture's listings
};

struct Prefecture {
    std::string name;
    std::uint64_t population = 0; // thousands, 2020 census
    std::vector<std::uint32_t> cities;
    std::vector<std::uint32_t> nameTowns;
};

class AddressBook {
public:
    // Reads the postal data; every municipality takes its code from the area-code table.
    bool load(const QString& kenAllPath, const AreaCodeTable& areaCodeTable, QString* error);

    // The names of the municipalities without their 市, 町, 村 or 区 ("幌延", "赤磐"; wards of
    // designated cities left out) and of the prefectures without 都, 府 or 県.
    std::set<std::string> placeNames() const;

    std::vector<Prefecture> prefectures; // index = prefecture number − 1
    std::vector<City> cities;            // sorted by code
    std::vector<Town> towns;
    std::vector<Address> addresses;
    std::vector<std::string> areaCodes;
};

} // namespace pikotel::gen
