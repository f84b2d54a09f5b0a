// The dictionary image: checksum, pattern matching, builder input checks, and images that
// are broken by truncation, flipped bytes or forged counts and offsets.

#include "builder.h"
#include "dicttest.h"
#include "hash.h"
#include "pattern.h"
#include "reader.h"
#include "support/testdirs.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>

#include <cstring>
#include <vector>

using namespace pikotel::dict;
using pikotel::test::ScratchDir;

namespace {

Bytes bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Hash64, KnownValuesAndPiecewiseFeeding) {
    EXPECT_EQ(hash64(bytesOf("")), 0xEF46DB3751D8E999ULL);
    EXPECT_EQ(hash64(bytesOf("abc")), 0x44BC2CF5AD770999ULL);
    std::string data;
    for (int i = 0; i < 1000; ++i)
        data.push_back(static_cast<char>(i * 7 + i / 13));
    for (std::size_t split : {0, 1, 31, 32, 33, 64, 100, 999}) {
        Hash64Stream h(42);
        h.update(bytesOf(data.substr(0, split)));
        h.update(bytesOf(data.substr(split, 17)));
        h.update(bytesOf(data.substr(std::min(data.size(), split + 17))));
        EXPECT_EQ(h.finish(), hash64(bytesOf(data), 42)) << split;
    }
}

TEST(PatternMatching, StarIsAnyRunEverythingElseLiteral) {
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    };
    const Case cases[] = {
        {"山田*", "山田　太郎", true},
        {"山田*", "小山田", false},
        {"*田", "小山田", true},
        {"*田", "田中", false},
        {"*山*", "小山田", true},
        {"山田", "山田", true},
        {"山田", "山田太郎", false},
        {"*", "", true},
        {"", "何でも", true},
        {"山*郎", "山田　太郎", true},
        {"山*郎", "山郎", true},
        {"山*山", "山", false},
        {"a*b*c", "aXbYc", true},
        {"a*b*c", "acb", false},
        {"*ab*ab", "abab", true},
        {"*ab*ab", "aab", false},
        {"?", "x", false},
        {"[a]", "a", false},
        {"*.*", "ab", false},
        {"**田**", "田", true},
        {"*ラーメン*", "ラーメン", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Pattern(c.pattern).matches(c.text), c.matches) << c.pattern << " / " << c.text;
    EXPECT_TRUE(Pattern("*").matchesAll());
    EXPECT_EQ(Pattern("*ab*abc*").anchor(), "abc");
}

class BuiltImage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pikotel::test::writeFile(
            dir_.file("l.csv"), pikotel::test::listingCsv(pikotel::test::sampleListings(60, 11))));
        BuildOptions options;
        options.listingsCsv = dir_.file("l.csv");
        options.output = dir_.file("d.dct");
        options.buildTime = 1700000000;
        QString error;
        ASSERT_TRUE(buildDictionary(options, nullptr, &error)) << error.toStdString();
        QFile f(options.output);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray all = f.readAll();
        image_.assign(all.begin(), all.end());
    }

    OpenError open(const std::vector<std::uint8_t>& image, bool verify = true) {
        OpenOptions options;
        options.verifyChecksums = verify;
        return dict_.open(Bytes(image.data(), image.size()), options);
    }

    template <typename T>
    static void poke(std::vector<std::uint8_t>& image, std::size_t at, T value) {
        std::memcpy(image.data() + at, &value, sizeof value);
    }
    template <typename T> static T peek(const std::vector<std::uint8_t>& image, std::size_t at) {
        T v;
        std::memcpy(&v, image.data() + at, sizeof v);
        return v;
    }
    static std::uint64_t sectionOffset(const std::vector<std::uint8_t>& image, SectionId id) {
        return peek<std::uint64_t>(
            image, kHeaderSize + (static_cast<std::size_t>(id) - 1) * kSectionEntrySize + 8);
    }

    // Recomputes every checksum, as a forger would, so that only the structural checks
    // stand between the image and a reader.
    static void reseal(std::vector<std::uint8_t>& image) {
        for (std::uint32_t i = 0; i < kSectionCount; ++i) {
            const std::size_t e = kHeaderSize + i * kSectionEntrySize;
            const auto offset = peek<std::uint64_t>(image, e + 8);
            const auto size = peek<std::uint64_t>(image, e + 16);
            if (offset <= image.size() && align8(size) <= image.size() - offset)
                poke(image, e + 24, hash64(Bytes(image.data() + offset, align8(size))));
        }
        Hash64Stream h;
        h.update(Bytes(image.data(), 56));
        h.update(Bytes(image.data() + kHeaderSize, kSectionCount * kSectionEntrySize));
        poke(image, 56, h.finish());
    }

    ScratchDir dir_;
    std::vector<std::uint8_t> image_;
    Dictionary dict_;
};

TEST_F(BuiltImage, OpensAndReadsBack) {
    ASSERT_EQ(open(image_), OpenError::None);
    EXPECT_EQ(dict_.header().buildTime, 1700000000);
    EXPECT_EQ(dict_.listingCount(), 60u);
    EXPECT_TRUE(dict_.damagedSections().empty());
    ListingView v;
    for (std::uint32_t id = 0; id < dict_.listingCount(); ++id)
        ASSERT_TRUE(dict_.listing(id, v));
    EXPECT_FALSE(dict_.listing(60, v));
}

TEST_F(BuiltImage, SameInputSameBytes) {
    const std::vector<std::uint8_t> first = image_;
    SetUp();
    EXPECT_EQ(first, image_);
}

TEST_F(BuiltImage, EveryTruncationIsRefused) {
    for (std::size_t size = 0; size < image_.size(); ++size) {
        const std::vector<std::uint8_t> cut(image_.begin(),
                                            image_.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_NE(open(cut), OpenError::None) << size;
        EXPECT_NE(open(cut, false), OpenError::None) << size;
    }
}

TEST_F(BuiltImage, EveryFlippedByteIsRefused) {
    for (std::size_t at = 0; at < image_.size(); ++at) {
        std::vector<std::uint8_t> bad = image_;
        bad[at] ^= 0x10;
        ASSERT_NE(open(bad), OpenError::None) << at;
    }
}

TEST_F(BuiltImage, ForeignAndFutureFilesAreRefused) {
    std::vector<std::uint8_t> bad = image_;
    bad[0] = 'X';
    EXPECT_EQ(open(bad), OpenError::BadMagic);
    for (const std::uint16_t version : {1, kFormatVersion + 1}) {
        bad = image_;
        poke<std::uint16_t>(bad, 8, version);
        reseal(bad);
        EXPECT_EQ(open(bad), OpenError::UnsupportedVersion) << version;
    }
    bad = image_;
    bad.push_back(0);
    EXPECT_EQ(open(bad), OpenError::BadHeader);
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "number,name,reading,kind,zip,pref,city,city_code,town,block\n";
    EXPECT_EQ(open(std::vector<std::uint8_t>(text.begin(), text.end())), OpenError::BadMagic);
}

TEST_F(BuiltImage, AbsurdCountsAndOffsetsAreRefusedEvenWithValidChecksums) {
    struct Forgery {
        const char* what;
        void (*apply)(std::vector<std::uint8_t>&);
        OpenError expected;
    };
    const Forgery forgeries[] = {
        {"listing count", [](auto& b) { poke<std::uint64_t>(b, 24, 0xFFFFFFFFFFULL); },
         OpenError::BadHeader},
        {"area count", [](auto& b) { poke<std::uint32_t>(b, 32, 0x7FFFFFFF); },
         OpenError::BadHeader},
        {"group count", [](auto& b) { poke<std::uint32_t>(b, 36, 1000); }, OpenError::BadHeader},
        {"mask in a main file", [](auto& b) { poke<std::uint64_t>(b, 48, 1); },
         OpenError::BadHeader},
        {"engine", [](auto& b) { b[10] = 7; }, OpenError::BadHeader},
        {"section offset", [](auto& b) { poke<std::uint64_t>(b, kHeaderSize + 8, 1ULL << 40); },
         OpenError::BadSectionTable},
        {"section size",
         [](auto& b) { poke<std::uint64_t>(b, kHeaderSize + 4 * kSectionEntrySize + 16, ~0ULL); },
         OpenError::BadSectionTable},
        {"section id", [](auto& b) { poke<std::uint32_t>(b, kHeaderSize, 9); },
         OpenError::BadSectionTable},
        {"area name offset",
         [](auto& b) {
             poke<std::uint32_t>(b, sectionOffset(b, SectionId::Areas) + 4, 0xFFFFFF00);
         },
         OpenError::BadAreas},
        {"area order",
         [](auto& b) { poke<std::uint32_t>(b, sectionOffset(b, SectionId::Areas), 99999); },
         OpenError::BadAreas},
        {"group first listing",
         [](auto& b) {
             poke<std::uint32_t>(b, sectionOffset(b, SectionId::Groups) + kGroupEntrySize + 8, 7);
         },
         OpenError::BadGroups},
        {"group text size",
         [](auto& b) {
             poke<std::uint64_t>(b, sectionOffset(b, SectionId::Groups) + 24, 1ULL << 50);
         },
         OpenError::BadGroups},
        {"group kind",
         [](auto& b) { poke<std::uint32_t>(b, sectionOffset(b, SectionId::Groups) + 4, 3); },
         OpenError::BadGroups},
        {"listing text offset",
         [](auto& b) {
             poke<std::uint32_t>(b, sectionOffset(b, SectionId::Listings) + 8, 0xFFFFFFF0);
         },
         OpenError::BadListings},
        {"listing detail offset",
         [](auto& b) { poke<std::uint32_t>(b, sectionOffset(b, SectionId::Listings) + 12, 0); },
         OpenError::BadListings},
        {"record terminator",
         [](auto& b) {
             const auto first = peek<std::uint32_t>(b, sectionOffset(b, SectionId::Listings) + 8);
             b[sectionOffset(b, SectionId::ScanText) + first - 1] = 'x';
         },
         OpenError::BadListings},
        {"number order",
         [](auto& b) { poke<std::uint64_t>(b, sectionOffset(b, SectionId::NumberKeys), ~0ULL); },
         OpenError::BadNumberIndex},
        {"number listing",
         [](auto& b) { poke<std::uint32_t>(b, sectionOffset(b, SectionId::NumberIds), 60); },
         OpenError::BadNumberIndex},
        {"sparse index",
         [](auto& b) { poke<std::uint64_t>(b, sectionOffset(b, SectionId::NumberSparse), 5); },
         OpenError::BadNumberIndex},
    };
    for (const Forgery& f : forgeries) {
        std::vector<std::uint8_t> bad = image_;
        f.apply(bad);
        reseal(bad);
        EXPECT_EQ(open(bad), f.expected) << f.what;
    }
}

TEST_F(BuiltImage, DamagedNameIndexIsRefusedEvenWithValidChecksums) {
    ASSERT_EQ(open(image_), OpenError::None);
    std::int64_t individual = -1;
    std::int64_t business = -1;
    for (std::uint32_t g = 0; g < dict_.groupCount(); ++g) {
        const GroupView v = dict_.group(g);
        if (v.kind == PersonKind::Individual && individual < 0 && v.listingCount >= 2)
            individual = g;
        if (v.kind == PersonKind::Corporate && business < 0)
            business = g;
    }
    ASSERT_GE(individual, 0);
    ASSERT_GE(business, 0);
    const auto block = [](const std::vector<std::uint8_t>& b, std::int64_t g) {
        const std::size_t index = sectionOffset(b, SectionId::NameIndex);
        return index +
               peek<std::uint64_t>(b, index + static_cast<std::size_t>(g) * kIndexEntrySize);
    };
    const auto bucketEnd = [&](const std::vector<std::uint8_t>& b) {
        const std::size_t at = block(b, business);
        return at + 4 + std::size_t{peek<std::uint32_t>(b, at)} * 4;
    };
    struct Forgery {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> apply;
    };
    const Forgery forgeries[] = {
        {"block offset",
         [](auto& b) { poke<std::uint64_t>(b, sectionOffset(b, SectionId::NameIndex), 8); }},
        {"block size",
         [](auto& b) {
             poke<std::uint64_t>(b, sectionOffset(b, SectionId::NameIndex) + 8, 1ULL << 62);
         }},
        {"listing twice in a permutation",
         [&](auto& b) {
             poke<std::uint32_t>(b, block(b, individual) + 4,
                                 peek<std::uint32_t>(b, block(b, individual)));
         }},
        {"listing beyond the group",
         [&](auto& b) { poke<std::uint32_t>(b, block(b, individual), 1u << 30); }},
        {"bucket count", [&](auto& b) { poke<std::uint32_t>(b, block(b, business), 3); }},
        {"huge bucket count",
         [&](auto& b) { poke<std::uint32_t>(b, block(b, business), 1u << 31); }},
        {"postings end", [&](auto& b) { poke<std::uint32_t>(b, bucketEnd(b), 1); }},
        {"posting beyond the group",
         [&](auto& b) {
             const std::size_t postings = bucketEnd(b) + 4;
             const std::size_t at = block(b, business) + 4;
             // The first non-empty bucket's first value.
             std::size_t k = 0;
             while (peek<std::uint32_t>(b, at + (k + 1) * 4) == 0)
                 ++k;
             b[postings + peek<std::uint32_t>(b, at + k * 4)] = 0x7F;
         }},
    };
    for (const Forgery& f : forgeries) {
        std::vector<std::uint8_t> bad = image_;
        f.apply(bad);
        reseal(bad);
        EXPECT_EQ(open(bad), OpenError::BadNameIndex) << f.what;
        EXPECT_EQ(open(bad, false), OpenError::BadNameIndex) << f.what;
    }
}

// Sizes that only add up modulo 2^64: the second group's text runs "around" to offset 0,
// so every running total stays inside the section and ends where it should.
TEST_F(BuiltImage, SectionSizesThatWrapAroundAreRefused) {
    const auto wrap = [](std::vector<std::uint8_t>& b, std::size_t offsetField) {
        const std::size_t groups = sectionOffset(b, SectionId::Groups);
        const std::size_t g1 = groups + kGroupEntrySize;
        const std::size_t g2 = g1 + kGroupEntrySize;
        const auto end2 =
            peek<std::uint64_t>(b, g2 + offsetField) + peek<std::uint64_t>(b, g2 + offsetField + 8);
        poke<std::uint64_t>(b, g1 + offsetField + 8, 0 - peek<std::uint64_t>(b, g1 + offsetField));
        poke<std::uint64_t>(b, g2 + offsetField, 0);
        poke<std::uint64_t>(b, g2 + offsetField + 8, end2);
    };
    ASSERT_EQ(open(image_), OpenError::None);
    ASSERT_GE(dict_.groupCount(), 3u);
    for (const std::size_t field : {std::size_t{16}, std::size_t{32}}) {
        std::vector<std::uint8_t> bad = image_;
        wrap(bad, field);
        reseal(bad);
        EXPECT_EQ(open(bad), OpenError::BadGroups) << field;
        EXPECT_EQ(open(bad, false), OpenError::BadGroups) << field;
    }
}

TEST_F(BuiltImage, DamageBehindTheChecksumsIsReportedNotRead) {
    // A detail length that points past its record: open passes (structure intact), the
    // listing read reports the damage.
    std::vector<std::uint8_t> bad = image_;
    bad[sectionOffset(bad, SectionId::Details)] = 0x7F;
    reseal(bad);
    ASSERT_EQ(open(bad), OpenError::None);
    ListingView v;
    EXPECT_FALSE(dict_.listing(0, v));
    EXPECT_TRUE(dict_.listing(1, v));
}

class BuilderInput : public ::testing::Test {
protected:
    QString build(const QString& csv, const QString& delta = {}, const QString& areas = {}) {
        pikotel::test::writeFile(dir_.file("l.csv"), csv);
        BuildOptions options;
        options.listingsCsv = dir_.file("l.csv");
        options.output = dir_.file("out.dct");
        if (!delta.isNull()) {
            pikotel::test::writeFile(dir_.file("delta.csv"), delta);
            options.deltaCsv = dir_.file("delta.csv");
        }
        if (!areas.isNull()) {
            pikotel::test::writeFile(dir_.file("areas.csv"), areas);
            options.areasCsv = dir_.file("areas.csv");
        }
        QString error;
        return buildDictionary(options, nullptr, &error) ? QString() : error;
    }
    ScratchDir dir_;
};

const QString kHead = "number,name,reading,kind,zip,pref,city,city_code,town,block\n";
const QString kRow =
    "03-1234-5678,山田　太郎,ヤマダ　タロウ,1,160-0022,東京都,新宿区,13104,新宿,１\n";
const QString kDeltaHead = "op," + kHead;

TEST_F(BuilderInput, BadRowsAreRefusedWithFileAndLine) {
    const QString cases[][2] = {
        {"num,name\n", "l.csv:1: header"},
        {kHead + kRow + "03-1234-567X,a,b,1,1,東京都,新宿区,13104,,\n", "l.csv:3: number"},
        {kHead + kRow + "03-1234-5678,a,b,3,1,東京都,新宿区,13104,,\n", "l.csv:3: kind"},
        {kHead + "03-1234-5678,a,b,1,1,東京都,新宿区,1310,,\n", "l.csv:2: city_code"},
        {kHead + "03-1234-5678,,b,1,1,東京都,新宿区,13104,,\n", "l.csv:2: name"},
        {kHead + "03-1234-5678,a,ビ,1,1,東京都,新宿区,13104,,\n03-1234-5679,a,ビ,1,1,東京都,渋谷区,"
                 "13104,,\n",
         "l.csv:3: city_code 13104"},
        {kHead + "03-1234-5678,\"a,b,1,1,東京都,新宿区,13104,,\n", "unterminated"},
        {kHead + "03-1234-5678,a\x01,b,1,1,東京都,新宿区,13104,,\n", "control"},
        {kHead + "03-1234-5678,a,ビ,1,1,東京都,新宿区,13104,,\n03-1234-5678,a,ビ,1,1,東京都\n",
         "l.csv:3: expected 10 fields"},
        // Readings are full-width katakana, a person's two parts split by one U+3000.
        {kHead + kRow + "03-1234-5679,a,やまだ,1,1,東京都,新宿区,13104,,\n", "l.csv:3: reading"},
        {kHead + kRow + "03-1234-5679,a,ﾔﾏﾀﾞ,1,1,東京都,新宿区,13104,,\n", "l.csv:3: reading"},
        {kHead + kRow + "03-1234-5679,a,ヤマダ　　タロウ,1,1,東京都,新宿区,13104,,\n",
         "l.csv:3: reading"},
        {kHead + kRow + "03-1234-5679,a,ヤマダ ,1,1,東京都,新宿区,13104,,\n", "l.csv:3: reading"},
        {kHead + kRow + "03-1234-5679,a,,2,1,東京都,新宿区,13104,,\n", "l.csv:3: reading"},
        {kHead + kRow + "03-1234-5679,a,ヤマダ　,1,1,東京都,新宿区,13104,,\n", "l.csv:3: reading"},
        // An exact repeat, however it is quoted; the same number with another name is a
        // shared line.
        {kHead + kRow +
             "03-1234-5678,山田　花子,ヤマダ　ハナコ,1,160-0022,東京都,新宿区,13104,新宿,１\n" +
             "\"03-1234-5678\",山田　太郎,ヤマダ　タロウ,1,160-0022,東京都,新宿区,13104,新宿,１\n",
         "l.csv:4: the row repeats line 2 exactly"},
        {kHead + "0312-3456-7890123,a,b,1,1,東京都,新宿区,13104,,\n", "16 characters"},
    };
    for (const auto& c : cases) {
        const QString error = build(c[0]);
        EXPECT_TRUE(error.contains(c[1])) << error.toStdString() << " / " << c[1].toStdString();
    }
    EXPECT_TRUE(build(kHead + kRow, {}, "city_code,pref,city\n13113,東京都,渋谷区\n")
                    .contains("13104 is not in the area table"));
    EXPECT_TRUE(
        build(kHead + kRow, {}, "city_code,pref,city\n13104,東京都,新宿区\n13104,東京都,新宿区\n")
            .contains("appears twice"));
    EXPECT_TRUE(
        build(kHead + kRow, {}, "city_code,pref,city\n13104,東京都,新宿区\n13113,東京都,渋谷区\n")
            .isEmpty());
    EXPECT_TRUE(
        build(kHead +
              "\"03-1234-5678\",\"山田\"\"屋\"\"\",ヤマダヤ,2,160-0022,東京都,新宿区,13104,,\r\n")
            .isEmpty());
}

TEST_F(BuilderInput, DeltaOpsMustBeConsistentWithTheirBase) {
    EXPECT_TRUE(build(kHead + kRow, kDeltaHead + "remove,03-1234-5678,,,,,,,,,\n").isEmpty());
    EXPECT_TRUE(
        build(kHead + kRow, kDeltaHead + "remove,03-9999-9999,,,,,,,,,\n").contains("not in"));
    EXPECT_TRUE(build(kHead + kRow, kDeltaHead + "replace," + kRow + "add," + kRow)
                    .contains("conflicting"));
    EXPECT_TRUE(build(kHead + kRow, kDeltaHead + "add," + kRow + "remove,03-1234-5678,,,,,,,,,\n")
                    .contains("conflicting"));
    EXPECT_TRUE(
        build(kHead + kRow, kDeltaHead + "erase,03-1234-5678,,,,,,,,,\n").contains("op must be"));
    EXPECT_TRUE(build(kHead + kRow, kDeltaHead + "add,03-1,a,ア,1,1,沖縄県,那覇市,47201,,\n")
                    .contains("47201 is not in the area table"));
    EXPECT_TRUE(build(kHead + kRow, kDeltaHead + "remove,03-1234-5678,,,,,,,,,\n" +
                                        "remove,03-1234-5678,,,,,,,,,\n")
                    .contains("delta.csv:3: the row repeats line 2 exactly"));
    EXPECT_TRUE(build(kHead + kRow, kDeltaHead + "add,03-1,a,ｱ,1,1,東京都,新宿区,13104,,\n")
                    .contains("delta.csv:2: reading"));
    EXPECT_TRUE(build(kHead + kRow, kHead).contains("delta.csv:1: header"));
}

} // namespace
