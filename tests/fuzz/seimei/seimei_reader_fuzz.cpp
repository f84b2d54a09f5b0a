// libFuzzer harness of the name dictionary reader: any bytes, with the checksum both verified
// and skipped (so that mutations reach the structural checks), then every access a look-up
// makes. AddressSanitizer turns any read past an end into a finding.

#include "namedictionary.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace pikotel::seimei;

namespace {

void exercise(const NameDictionary& dict) {
    CandidateView view;
    for (std::uint32_t r = 0; r < dict.readingCount() && r < 256; ++r) {
        const std::string_view key = dict.reading(r);
        const CandidateRange range = dict.find(key);
        for (std::uint32_t c = 0; c < range.count && c < 64; ++c)
            dict.candidate(range.first + c, view);
        // Neighbours of a stored key: one byte shorter, one byte longer.
        dict.find(key.substr(0, key.size() > 0 ? key.size() - 1 : 0));
        std::string longer(key);
        longer.push_back('\xB1');
        dict.find(longer);
    }
    dict.candidate(dict.header().candidateCount, view);
    dict.reading(dict.readingCount());
    dict.find(std::string(kMaxTextBytes + 1, '\xB1'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, size);
    for (const bool verify : {true, false}) {
        NameDictionary dict;
        OpenOptions options;
        options.verifyChecksum = verify;
        if (dict.open(bytes, options) == OpenError::None)
            exercise(dict);
    }
    return 0;
}
