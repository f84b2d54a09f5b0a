#pragma once

// Fixed-line area codes of Japan's numbering plan for the municipalities of the postal
// data: a table of cities and their codes per prefecture, with regional codes by postal
// district where a prefecture's towns differ widely, and the prefecture's main code last.

#include <string>
#include <string_view>
#include <vector>

namespace pikotel::gen {

// The area code (leading 0 included) for a municipality as the postal data names it
// ("札幌市北区", "余市郡余市町"); zip7 is one of its seven-digit postal codes. Empty
// only for a prefecture the table does not know.
std::string areaCodeFor(std::string_view pref, std::string_view city, std::string_view zip7);

// The leading digits whose six-digit number prefixes belong to the code. A code owns the
// prefixes that no longer code claims; "04" shares its range with 042…049 and so claims
// only the parts it really has.
std::vector<std::string> areaCodeClaims(const std::string& code);

} // namespace pikotel::gen
