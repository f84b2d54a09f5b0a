#pragma once

// Surnames and given names with their readings, from mecab-ipadic and gimei, drawn with a
// weight that follows how common the names are. Surnames: the ~500 names gimei ranks by
// how many people carry them on a Zipf-like curve, the other ipadic surnames as an even
// long tail, place names ipadic lists as surnames rare or absent; a written form with
// several readings mostly takes its common one. Given names: those both sources know
// first, then gimei's, ipadic's rare pairs last.
//
// The ipadic cost is a word cost learned from newspaper text, not a frequency (it favours
// the names of well-known people), so it weights no name; among the readings of one
// written form, though, the cheapest is the usual one.

#include "gen_random.h"

#include <QString>

#include <set>
#include <string>
#include <vector>

namespace pikotel::gen {

struct PersonName {
    std::string written;
    std::string reading; // full-width katakana
};

class NameBook {
public:
    // placeNames: names of municipalities (without 市, 町, 村 or 区) and prefectures; a
    // surname that is one of them and that gimei does not rank is drawn rarely. False, with
    // the line in *error, on a row with a missing field, an unknown kind, a reading that is
    // not full-width katakana or a rank that is not a positive number.
    bool load(const QString& namesPath, const std::set<std::string>& placeNames, QString* error);

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
