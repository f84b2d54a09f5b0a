#include "zipcomp/zipkey.h"

#include <QCryptographicHash>

#include <cstring>

namespace pikotel::zipcomp {

const char kProgramKeyBlock[] =
    "UFpLQgEAAADqvIeUVfeLiUb5p70NefdtWSk1AeOBtO+9nuOBk+OBtOOBk+mbu+ipseW4s++8ke+8"
    "mAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAo5qCqKeOCtuOCr+ODreOCs+ODnAAA"
    "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAyx7iy7oszaz0B0TRwMD0"
    "2fQEpCYb0MulQnn1g4/NyxAdhpEv4Nrh4wq1w94+i3PZnmiYBs4LT6En7MkUFvaZZ6DHBYB9UAMP"
    "MKIgkpudw1HCExRoEpadgwxTSllRIavZj2XAIHNGAezOi7u+q1JwLe8GPkaPC8dnA18ccR5N71f0"
    "BrYOeNbQe5I70Fj+QVn4PDCqijRqF4yu7YqUXIar9cQgxASyxrGKCLsg7dLHmj1ZyTM6IG60WoxH"
    "nO6BCY3EPH48hM/GPreUt3fJcpbL/PzunTKauSfjHOkA68w5w6QZxOQRG1AHM3kT5yzurWBCr05l"
    "304sjb8SOTPNTYZBO0FDfFQ5LpmPoQw+8IzupfcZuwsfgIfE7LvPoQK3PuEkdx5FLx4iil1DSNDN"
    "bhYBOazfOIgIDwu5XJwsjpgQv8goA1yJJTc0JCJzRMs8DMxOuX3L8QlN4NjHaA7shzvnhiaDJwHh"
    "0SVrG04TZiZ5iZ3HBLyjsUaOFtaDz/zfxPsf9gyFlppptq2DWALghLLCnTGXvpX/YC1G/8NVXjB/"
    "eJRnSr88eM7SNXa6c9pGrYSuYzYWGdb+S4mpEo5NsABnCkozdQdb9c29va80nAoq";

namespace {
constexpr int kKeyBytes = 618;
constexpr int kDigestAt = 586;
constexpr int kLicenceAt = 8;
constexpr char kSalt[] = "pikotel.zipcomp.keyblock.v1";
} // namespace

std::optional<LicenceId> verifyKeyBlock(const QString& keyBlock) {
    if (keyBlock.size() != kKeyBlockLength)
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(keyBlock.toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != kKeyBytes)
        return std::nullopt;
    const QByteArray& bytes = decoded.decoded;
    if (!bytes.startsWith("PZKB") || bytes.at(4) != 1 || bytes.at(5) != 0)
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(bytes.constData(), kDigestAt));
    hash.addData(QByteArrayView(kSalt, sizeof kSalt - 1));
    if (hash.result() != bytes.mid(kDigestAt))
        return std::nullopt;
    LicenceId id;
    std::memcpy(id.data(), bytes.constData() + kLicenceAt, id.size());
    return id;
}

} // namespace pikotel::zipcomp
