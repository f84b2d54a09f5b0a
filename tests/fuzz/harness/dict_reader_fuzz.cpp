// libFuzzer harness of the dictionary reader: any bytes, with the checksums both verified
// and skipped (so that mutations reach the structural checks), then every access a search
// makes. AddressSanitizer turns any read past an end into a finding.

#include "pattern.h"
#include "reader.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace pikotel::dict;

namespace {

void exercise(const Dictionary& dict) {
    AreaView storage;
    for (std::uint32_t i = 0; i < dict.areaCount() && i < 64; ++i) {
        const AreaView a = dict.area(i);
        dict.findArea(a.cityCode, storage);
    }
    const Pattern all("*");
    const Pattern some("*\xe5\xb1\xb1*"); // *山*
    const Pattern prefix("a*");
    const Pattern reading("\xe3\x83\xa4*"); // ヤ*
    std::size_t visits = 0;
    const auto visit = [&visits](std::uint32_t) { return ++visits < 256; };
    for (std::uint32_t g = 0; g < dict.groupCount() && g < 64; ++g) {
        const GroupView view = dict.group(g);
        dict.findGroup(view.cityCode, view.kind);
        dict.scanGroup(g, all, &all, visit);
        dict.scanGroup(g, some, &some, visit);
        dict.scanGroup(g, prefix, nullptr, visit);
        dict.scanGroup(g, prefix, &reading, visit);
    }
    ListingView listing;
    for (std::uint32_t id = 0; id < dict.listingCount() && id < 256; ++id) {
        if (dict.listing(id, listing)) {
            const auto key = displayNumberKey(listing.number);
            if (key) {
                const auto [first, last] = dict.numberRange(*key);
                for (std::uint64_t p = first; p < last && p < first + 16; ++p)
                    dict.listing(dict.numberListing(p), listing);
                dict.isMasked(*key);
            }
        }
    }
    dict.numberRange(0);
    dict.numberRange(~std::uint64_t{0});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, size);
    for (const bool verify : {true, false}) {
        Dictionary dict;
        OpenOptions options;
        options.verifyChecksums = verify;
        if (dict.open(bytes, options) == OpenError::None)
            exercise(dict);
    }
    return 0;
}
