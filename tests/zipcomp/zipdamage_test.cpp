// A missing, truncated, damaged or foreign dictionary and a wrong key block make
// OpenDictionary fail with a status; nothing crashes.

#include "zipfixture.h"

#include "zipcomp/zipdictionary.h"
#include "zipcomp/zipformat.h"

#include <QDir>
#include <QFile>

using namespace pikotel::test;
using namespace pikotel::zipcomp;

namespace {

class ZipDamageTest : public SmallDictionary {
protected:
    void SetUp() override {
        SmallDictionary::SetUp();
        QString error;
        ASSERT_TRUE(build(error)) << qPrintable(error);
        QFile file(dictionaryFile());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        image = file.readAll();
    }

    int openWith(const QByteArray& bytes,
                 const QString& key = QString::fromLatin1(kProgramKeyBlock)) {
        // Rewritten in place: truncating a file on every call would make the loops slow.
        QFile file(dictionaryFile());
        if (!file.open(QIODevice::ReadWrite) || !file.resize(bytes.size()) ||
            file.write(bytes) != bytes.size())
            return -1;
        file.close();
        zip.SetKeyBlock(key);
        zip.SetFolder(zipFolder());
        return zip.OpenDictionary();
    }

    // The image with one 32-bit word replaced and its checksum made right again, so the
    // reader's structural checks are what stands between it and the broken data.
    static QByteArray patched(QByteArray bytes, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[qsizetype(at) + i] = char((value >> (8 * i)) & 0xFF);
        const auto span = std::span<const std::uint8_t>(
            reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
        const std::uint32_t crc = format::imageChecksum(span);
        for (int i = 0; i < 4; ++i)
            bytes[qsizetype(format::offset::checksum) + i] = char((crc >> (8 * i)) & 0xFF);
        return bytes;
    }

    // Every list and a few searches of an opened dictionary, read whole.
    void walk() {
        QByteArray a, b, c, d, e;
        const int prefs = zip.QueryPrefectures(QString(), 0, 0);
        for (int p = 0; p < prefs; ++p) {
            ASSERT_TRUE(zip.GetPrefecture(p, a, b, c));
            const int cities = zip.QueryCities(QString(), 0, a.toInt(), 0);
            for (int ci = 0; ci < cities; ++ci) {
                ASSERT_TRUE(zip.GetCity(ci, a, b, c));
                const int cityCode = a.toInt();
                const int towns = zip.QueryTowns(QString(), 0, cityCode, 0);
                for (int t = 0; t < towns; ++t) {
                    ASSERT_TRUE(zip.GetTown(t, a, b, c, d, e));
                    const int blocks = zip.QueryBlocks(QString(), 0, cp932(b), cityCode, 0);
                    for (int k = 0; k < blocks; ++k)
                        ASSERT_TRUE(zip.GetBlock(k, a, b, c));
                }
            }
        }
        for (const char* digits : {"001", "160", "498", "920"}) {
            searchCode(zip, QString::fromLatin1(digits));
            searchOldCode(zip, QString::fromLatin1(digits));
        }
        searchOldCode(zip, QStringLiteral("49014"));
        for (const char* number : {"0117001234", "0333401234", "0761201234"}) {
            const QString n = QString::fromLatin1(number);
            prefectureCodes(zip, n);
            cityCodes(zip, 1, n);
            towns(zip, 1102, n);
            blocks(zip, 1102, QStringLiteral("北十四条西"), n);
        }
    }

    static ZipDictionary::Status readerStatus(const QByteArray& bytes) {
        return ZipDictionary::fromImage(bytes,
                                        *verifyKeyBlock(QString::fromLatin1(kProgramKeyBlock)))
            .status;
    }

    QByteArray image;
    ZipComponent zip;
};

TEST_F(ZipDamageTest, TheBuiltImageOpens) {
    ASSERT_EQ(openWith(image), kOpened);
    walk();
}

TEST_F(ZipDamageTest, MissingDictionaryOrFolder) {
    zip.SetKeyBlock(QString::fromLatin1(kProgramKeyBlock));
    EXPECT_EQ(zip.OpenDictionary(), kDictionaryMissing);
    zip.SetFolder(dir.file(QStringLiteral("nowhere")));
    EXPECT_EQ(zip.OpenDictionary(), kDictionaryMissing);
    EXPECT_EQ(zip.LastError().number, kErrorOpenFailed);
    EXPECT_FALSE(zip.LastError().description.isEmpty());
    ASSERT_TRUE(QFile::remove(dictionaryFile()));
    zip.SetFolder(zipFolder());
    EXPECT_EQ(zip.OpenDictionary(), kDictionaryMissing);
    EXPECT_EQ(zip.QueryPrefectures(QString(), 0, 0), -1);
}

TEST_F(ZipDamageTest, WrongKeyBlockFailsTheOpen) {
    QString key = QString::fromLatin1(kProgramKeyBlock);
    ASSERT_EQ(key.size(), kKeyBlockLength);
    QString altered = key;
    altered[100] = altered[100] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
    QString foreign = key;
    foreign[kKeyBlockLength - 1] = QChar(0x3042);
    for (const QString& wrong :
         {QString(), altered, key.left(kKeyBlockLength - 4), key + QStringLiteral("AAAA"),
          QString(kKeyBlockLength, QLatin1Char('A')), foreign}) {
        EXPECT_EQ(openWith(image, wrong), kKeyRejected);
        EXPECT_EQ(zip.QueryPrefectures(QString(), 0, 0), -1);
    }
    // Then the right key still opens the same component.
    EXPECT_EQ(openWith(image), kOpened);
}

// Only a regular file whose size is the one its header gives is read whole: a device in
// the dictionary's place would be read for ever.
TEST_F(ZipDamageTest, NoFileOrAWrongSizeIsRefusedBeforeItIsRead) {
    ASSERT_TRUE(QFile::remove(dictionaryFile()));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dictionaryFile()));
    zip.SetKeyBlock(QString::fromLatin1(kProgramKeyBlock));
    zip.SetFolder(zipFolder());
    EXPECT_EQ(zip.OpenDictionary(), kDictionaryDamaged);
    ASSERT_TRUE(QFile::remove(dictionaryFile()));

    EXPECT_EQ(openWith(image + QByteArray(4096, 'x')), kDictionaryDamaged);
    EXPECT_TRUE(zip.LastError().description.contains(QStringLiteral("file size")))
        << qPrintable(zip.LastError().description);
}

// The loops below run the reader on the image in memory; the component opens files
// through the same reader, as the single-file cases show.
TEST_F(ZipDamageTest, EveryTruncationIsRefused) {
    EXPECT_EQ(openWith(image.left(image.size() / 2)), kDictionaryDamaged);
    EXPECT_EQ(openWith(image + QByteArray(8, '\0')), kDictionaryDamaged);
    for (qsizetype size = 0; size < image.size(); ++size)
        ASSERT_EQ(readerStatus(image.left(size)), ZipDictionary::Status::Damaged) << size;
}

TEST_F(ZipDamageTest, EveryFlippedByteIsRefused) {
    QByteArray one = image;
    one[one.size() - 1] = char(one[one.size() - 1] ^ 0x10);
    EXPECT_EQ(openWith(one), kDictionaryDamaged);
    for (qsizetype at = 0; at < image.size(); ++at) {
        QByteArray bytes = image;
        bytes[at] = char(bytes[at] ^ 0x10);
        ASSERT_NE(readerStatus(bytes), ZipDictionary::Status::Ok) << "byte " << at;
    }
}

TEST_F(ZipDamageTest, BrokenStructureBehindAGoodChecksumNeverCrashes) {
    int refused = 0;
    int walked = 0;
    for (std::size_t at = format::kHeaderSize; at + 4 <= std::size_t(image.size()); at += 4) {
        for (const std::uint32_t value : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x00010000u, 1u}) {
            const QByteArray bytes = patched(image, at, value);
            const ZipDictionary::Status status = readerStatus(bytes);
            if (status != ZipDictionary::Status::Ok) {
                ASSERT_EQ(status, ZipDictionary::Status::Damaged) << "word " << at;
                ++refused;
                continue;
            }
            ASSERT_EQ(openWith(bytes), kOpened) << "word " << at;
            walk();
            ++walked;
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(walked, 0);
}

TEST_F(ZipDamageTest, LaterVersionAndOtherLicenceAreTold) {
    EXPECT_EQ(openWith(patched(image, format::offset::versionMajor, format::kVersionMajor + 1)),
              kDictionaryUnsupported);
    EXPECT_EQ(openWith(patched(image, format::offset::versionMajor, format::kVersionMajor - 1)),
              kDictionaryUnsupported);
    EXPECT_EQ(openWith(patched(image, format::offset::licenceId, 0x12345678)),
              kDictionaryForOtherKey);
    EXPECT_EQ(openWith(QByteArray("01102,001,0010000,not a dictionary\n")), kDictionaryDamaged);
    EXPECT_FALSE(zip.LastError().description.isEmpty());
}

} // namespace
