#pragma once

// Business names aimed at the industry search: for every pattern of every built-in
// industry, names the pattern finds and the industry's exclusion words keep; decoys that
// a pattern finds and an exclusion word drops; and plain company names.

#include "gen_address.h"
#include "gen_names.h"
#include "gen_random.h"

#include <QString>

#include <string>
#include <vector>

namespace pikotel::gen {

enum class CityNeed { Any, City, TownOrVillage };

class BusinessNamer {
public:
    BusinessNamer(const AddressBook& book, const NameBook& names);
    bool init(QString* error);

    std::size_t pickTemplate(Random& random) const { return picker_.pick(random); }
    CityNeed cityNeed(std::size_t templateIndex) const;

    // The name and reading of a business of the template at the address's town.
    void compose(std::size_t templateIndex, std::uint32_t city, std::uint32_t town, Random& random,
                 std::string* name, std::string* reading);

private:
    enum class Slot { Surname, Town, City, Brand, Temple, TemplePlace, University };
    struct Part {
        bool isSlot = false;
        Slot slot = Slot::Surname;
        std::string text;    // literal parts
        std::string reading; // literal parts
        std::string folded;  // literal parts
    };
    struct Template {
        int industry = -1; // index into industry::builtinIndustries(); −1 for a plain name
        int pattern = 0;
        bool kept = false; // must survive the industry's exclusion words
        CityNeed need = CityNeed::Any;
        std::uint32_t sharePercent = 100;
        std::vector<Part> parts;
        std::vector<std::string> foldedExclusions;
    };
    struct Word {
        std::string text;
        std::string reading;
        std::string folded;
    };
    struct Value {
        const std::string* text;
        const std::string* reading;
        const std::string* folded;
    };

    Value slotValue(Slot slot, std::uint32_t city, std::uint32_t town, bool varied, Random& random);
    const std::string& foldedTown(std::uint32_t town);
    const std::string& foldedCity(std::uint32_t city);
    const std::string& foldedSurname(std::size_t index);

    const AddressBook& book_;
    const NameBook& names_;
    std::vector<Template> templates_;
    WeightedPicker picker_;
    std::vector<Word> brands_;
    std::vector<Word> temples_;
    std::vector<Word> templePlaces_;
    std::vector<Word> universities_;
    std::vector<std::string> townFolds_;
    std::vector<std::string> cityFolds_;
    std::vector<std::string> surnameFolds_;
};

} // namespace pikotel::gen
