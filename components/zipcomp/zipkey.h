#pragma once

// The key block: the licence text the program hands to the component before anything else.
// It is base64 of 618 bytes (824 characters):
//
//   0    "PZKB"            magic
//   4    u16 version (1), u16 reserved (0)
//   8    licence id, 16 bytes: a dictionary opens only under the key it was built for
//   24   u32 issue date (yyyymmdd)
//   28   product name, UTF-8, NUL-padded to 64 bytes
//   92   licensee, UTF-8, NUL-padded to 64 bytes
//   156  filler, 430 bytes
//   586  SHA-256 of bytes 0..585 followed by the component's salt
//
// Integers are little-endian.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace pikotel::zipcomp {

// The key block issued to ぴ～こぴこ電話帳１８.
extern const char kProgramKeyBlock[];

inline constexpr int kKeyBlockLength = 824;

using LicenceId = std::array<std::uint8_t, 16>;

// The licence id of a sound key block; nothing for a malformed or forged one.
std::optional<LicenceId> verifyKeyBlock(const QString& keyBlock);

} // namespace pikotel::zipcomp
