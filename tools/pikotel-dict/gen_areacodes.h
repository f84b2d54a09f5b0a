#pragma once

// Fixed-line area codes of Japan's numbering plan: the table of every municipality's code
// (data/areacodes.tsv, keyed by the JIS municipality code), and which six-digit number
// prefixes each code may hand out.

#include <QString>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pikotel::gen {

struct AreaCodeEntry {
    std::string pref;
    std::string city;
    std::string code; // leading 0 included: "03", "0174", "01456"
};

class AreaCodeTable {
public:
    // False, with the file and line in *error, on a malformed row, a code that is no area
    // code or a municipality listed twice. Lines starting with "#" are comments; the first
    // other line is the header.
    bool load(const QString& path, QString* error);

    // The municipality's entry; nullptr when the table lacks it.
    const AreaCodeEntry* find(std::string_view jis5) const;
    std::size_t size() const { return entries_.size(); }

private:
    std::map<std::string, AreaCodeEntry, std::less<>> entries_;
};

// The leading digits whose six-digit number prefixes belong to the code. A code owns the
// prefixes that no longer code claims. Codes whose real exchanges are only part of their
// range claim just that part: "04" shares its range with 042…049, "015" with 0152…0158, and
// Tokyo's and Osaka's exchanges begin with a few digits only.
std::vector<std::string> areaCodeClaims(const std::string& code);

} // namespace pikotel::gen
