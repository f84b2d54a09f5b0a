#include "namedictionary.h"

#include "hash.h"

#include <algorithm>
#include <cstring>

namespace pikotel::seimei {

namespace {

// Sizes and offsets come from the file: every sum and product is checked.
bool add(std::uint64_t a, std::uint64_t b, std::uint64_t& out) {
    return !__builtin_add_overflow(a, b, &out);
}
bool mul(std::uint64_t a, std::uint64_t b, std::uint64_t& out) {
    return !__builtin_mul_overflow(a, b, &out);
}
// True when [offset, offset + size) lies within [0, limit).
bool within(std::uint64_t offset, std::uint64_t size, std::uint64_t limit) {
    return offset <= limit && size <= limit - offset;
}

// Stored texts hold no control characters; NUL in particular would end a record's text early.
bool plainText(std::string_view text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool validTextLength(std::uint32_t length) {
    return length >= 1 && length <= kMaxTextBytes;
}

} // namespace

std::uint64_t imageChecksum(Bytes image) {
    dict::Hash64Stream hash;
    hash.update(image.first(std::min(image.size(), header::checksum)));
    if (image.size() > kHeaderSize)
        hash.update(image.subspan(kHeaderSize));
    return hash.finish();
}

const char* describe(OpenError error) {
    switch (error) {
    case OpenError::None:
        return "no error";
    case OpenError::TooShort:
        return "file too short for a header";
    case OpenError::BadMagic:
        return "not a name dictionary";
    case OpenError::UnsupportedVersion:
        return "unsupported format version";
    case OpenError::BadHeader:
        return "header does not match the file";
    case OpenError::Checksum:
        return "checksum mismatch";
    case OpenError::BadReadings:
        return "damaged reading index";
    case OpenError::BadCandidates:
        return "damaged candidate table";
    }
    return "unknown error";
}

void NameDictionary::clear() {
    image_ = {};
    readings_ = {};
    candidates_ = {};
    text_ = {};
    header_ = {};
}

OpenError NameDictionary::open(Bytes image, const OpenOptions& options) {
    clear();
    OpenError error = readHeader(image, options);
    if (error == OpenError::None)
        error = checkReadings();
    if (error == OpenError::None)
        error = checkCandidates();
    if (error != OpenError::None) {
        clear();
        return error;
    }
    image_ = image;
    return OpenError::None;
}

OpenError NameDictionary::readHeader(Bytes image, const OpenOptions& options) {
    if (image.size() < kHeaderSize)
        return OpenError::TooShort;
    if (std::memcmp(image.data() + header::magic, kMagic, sizeof kMagic) != 0)
        return OpenError::BadMagic;
    Header h;
    h.version = readU16(image, header::version);
    if (h.version != kFormatVersion)
        return OpenError::UnsupportedVersion;
    h.readingCount = readU32(image, header::readingCount);
    h.candidateCount = readU32(image, header::candidateCount);
    h.textSize = readU32(image, header::textSize);
    h.buildTime = static_cast<std::int64_t>(readU64(image, header::buildTime));
    h.surnameCount = readU32(image, header::surnameCount);
    h.givenNameCount = readU32(image, header::givenNameCount);
    h.fileSize = readU64(image, header::fileSize);
    h.checksum = readU64(image, header::checksum);
    if (readU16(image, header::reserved16) != 0 || readU64(image, header::reserved64) != 0)
        return OpenError::BadHeader;
    if (h.fileSize != image.size())
        return OpenError::BadHeader;

    std::uint64_t readingBytes = 0, candidateBytes = 0, end = 0, names = 0;
    if (!mul(h.readingCount, kReadingEntrySize, readingBytes) ||
        !mul(h.candidateCount, kCandidateEntrySize, candidateBytes) ||
        !add(kHeaderSize, readingBytes, end) || !add(end, candidateBytes, end) ||
        !add(end, align8(h.textSize), end) || end != h.fileSize)
        return OpenError::BadHeader;
    // Every reading has a candidate, and every candidate is a surname or a given name.
    if (!add(h.surnameCount, h.givenNameCount, names) || names != h.candidateCount ||
        h.readingCount > h.candidateCount)
        return OpenError::BadHeader;
    const Bytes padding = image.subspan(kHeaderSize + readingBytes + candidateBytes + h.textSize,
                                        align8(h.textSize) - h.textSize);
    if (std::any_of(padding.begin(), padding.end(), [](std::uint8_t b) { return b != 0; }))
        return OpenError::BadHeader;

    if (options.verifyChecksum && imageChecksum(image) != h.checksum)
        return OpenError::Checksum;

    header_ = h;
    readings_ = image.subspan(kHeaderSize, readingBytes);
    candidates_ = image.subspan(kHeaderSize + readingBytes, candidateBytes);
    text_ = image.subspan(kHeaderSize + readingBytes + candidateBytes, h.textSize);
    return OpenError::None;
}

OpenError NameDictionary::checkReadings() const {
    std::uint64_t nextCandidate = 0;
    std::uint64_t surnames = 0;
    std::string_view previous;
    for (std::uint32_t i = 0; i < header_.readingCount; ++i) {
        ReadingEntry e;
        std::string_view key;
        if (!readingEntry(i, e) || e.reserved != 0 || !validTextLength(e.keyLength) ||
            !text(e.keyOffset, e.keyLength, key) || !plainText(key))
            return OpenError::BadReadings;
        if (i > 0 && previous.compare(key) >= 0)
            return OpenError::BadReadings;
        if (e.firstCandidate != nextCandidate || e.candidateCount == 0 ||
            e.surnameCount > e.candidateCount)
            return OpenError::BadReadings;
        if (!add(nextCandidate, e.candidateCount, nextCandidate) ||
            nextCandidate > header_.candidateCount)
            return OpenError::BadReadings;
        surnames += e.surnameCount;
        previous = key;
    }
    if (nextCandidate != header_.candidateCount || surnames != header_.surnameCount)
        return OpenError::BadReadings;
    return OpenError::None;
}

OpenError NameDictionary::checkCandidates() const {
    for (std::uint32_t r = 0; r < header_.readingCount; ++r) {
        const CandidateRange range = candidatesOf(r);
        for (std::uint32_t j = 0; j < range.count; ++j) {
            CandidateEntry e;
            std::string_view written;
            if (!candidateEntry(range.first + j, e) || e.reserved != 0 ||
                !validTextLength(e.textLength) || !text(e.textOffset, e.textLength, written) ||
                !plainText(written))
                return OpenError::BadCandidates;
            const NameKind expected = j < range.surnames ? NameKind::Surname : NameKind::GivenName;
            if (e.kind != static_cast<std::uint8_t>(expected))
                return OpenError::BadCandidates;
        }
    }
    return OpenError::None;
}

bool NameDictionary::readingEntry(std::uint32_t index, ReadingEntry& out) const {
    const std::uint64_t at = std::uint64_t{index} * kReadingEntrySize;
    if (index >= header_.readingCount || !within(at, kReadingEntrySize, readings_.size()))
        return false;
    out.keyOffset = readU32(readings_, at);
    out.firstCandidate = readU32(readings_, at + 4);
    out.keyLength = readU16(readings_, at + 8);
    out.candidateCount = readU16(readings_, at + 10);
    out.surnameCount = readU16(readings_, at + 12);
    out.reserved = readU16(readings_, at + 14);
    return true;
}

bool NameDictionary::candidateEntry(std::uint32_t index, CandidateEntry& out) const {
    const std::uint64_t at = std::uint64_t{index} * kCandidateEntrySize;
    if (index >= header_.candidateCount || !within(at, kCandidateEntrySize, candidates_.size()))
        return false;
    out.textOffset = readU32(candidates_, at);
    out.textLength = readU16(candidates_, at + 4);
    out.kind = candidates_[at + 6];
    out.reserved = candidates_[at + 7];
    return true;
}

bool NameDictionary::text(std::uint32_t offset, std::uint32_t length, std::string_view& out) const {
    if (!within(offset, length, text_.size()))
        return false;
    out = std::string_view(reinterpret_cast<const char*>(text_.data()) + offset, length);
    return true;
}

std::string_view NameDictionary::reading(std::uint32_t index) const {
    ReadingEntry e;
    std::string_view key;
    if (!readingEntry(index, e) || !text(e.keyOffset, e.keyLength, key))
        return {};
    return key;
}

CandidateRange NameDictionary::candidatesOf(std::uint32_t readingIndex) const {
    ReadingEntry e;
    if (!readingEntry(readingIndex, e) ||
        !within(e.firstCandidate, e.candidateCount, header_.candidateCount) ||
        e.surnameCount > e.candidateCount)
        return {};
    return {e.firstCandidate, e.candidateCount, e.surnameCount};
}

CandidateRange NameDictionary::find(std::string_view key) const {
    if (key.empty() || key.size() > kMaxTextBytes)
        return {};
    std::uint32_t low = 0;
    std::uint32_t high = header_.readingCount;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        const std::string_view stored = reading(middle);
        if (stored.empty())
            return {};
        const int order = stored.compare(key);
        if (order == 0)
            return candidatesOf(middle);
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return {};
}

bool NameDictionary::candidate(std::uint32_t index, CandidateView& out) const {
    CandidateEntry e;
    std::string_view written;
    if (!candidateEntry(index, e) || !text(e.textOffset, e.textLength, written))
        return false;
    if (e.kind != static_cast<std::uint8_t>(NameKind::Surname) &&
        e.kind != static_cast<std::uint8_t>(NameKind::GivenName))
        return false;
    out.written = written;
    out.kind = static_cast<NameKind>(e.kind);
    return true;
}

} // namespace pikotel::seimei
