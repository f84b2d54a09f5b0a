#pragma once

// Surnames and given names with their readings, from mecab-ipadic and gimei, drawn with a
// weight that favours common names: ipadic's cost (lower is more common) sets the weight,
// and gimei's lists of common names add to it.

#include "gen_random.h"

#include <QString>

#include <string>
#include <vector>

namespace pikotel::gen {

struct PersonName {
    std::string written;
    std::string reading; // full-width katakana
};

class NameBook {
public:
    bool load(const QString& namesPath, QString* error);

    const PersonName& surname(Random& random) const {
        return surnames_[surnamePicker_.pick(random)];
    }
    const PersonName& givenName(Random& random) const {
        return givenNames_[givenPicker_.pick(random)];
    }
    // Index of a drawn surname, for callers that cache per name.
    std::size_t surnameIndex(Random& random) const { return surnamePicker_.pick(random); }
    const PersonName& surnameAt(std::size_t index) const { return surnames_[index]; }
    std::size_t surnameCount() const { return surnames_.size(); }

private:
    std::vector<PersonName> surnames_;
    std::vector<PersonName> givenNames_;
    WeightedPicker surnamePicker_;
    WeightedPicker givenPicker_;
};

} // namespace pikotel::gen
