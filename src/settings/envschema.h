#pragma once

// Every environment value of the per-user version key, described once: its stored name,
// what a missing value means, what a first run stores, how a reader decodes its text and
// how the carry-over of an earlier version treats it. Start-up, the first-run save, the
// settings screen and the carry-over all read this table; nothing else spells the names.

#include <QString>

#include <array>
#include <cstddef>

namespace pikotel {

// In the order the settings screen's save writes them, then the values written elsewhere.
enum class EnvKey : int {
    DicDrive,
    CdDrive,
    XchdbAdd,
    OutFile,
    HideExe,
    HideExePath,
    DefaultTelUse,
    DefaultTel,
    BeforeExec,
    Seimei,
    Anime,
    OutForm,
    TelHifon,
    ZipHifon,
    ZipMark,
    Import,
    ImportAte,
    ImportMru,
    StartUpForm,
    StartUpPositionX,
    StartUpPositionY,
    LastForm,
    PatchExecute,
};
inline constexpr std::size_t kEnvKeyCount = static_cast<std::size_t>(EnvKey::PatchExecute) + 1;

enum class EnvDecoding {
    // "0" or "1": "0" and empty are the first choice, any other text the second.
    Switch,
    // One of the value's option names; any other text names no option (-1).
    Option,
    // A decimal number; empty or non-numeric text counts as 0.
    Number,
    // Taken as it stands.
    Text,
};

// What a first run stores.
enum class FirstRunRule {
    // The fixed text of the row.
    Fixed,
    // Worked out at start-up (the dictionary place, the CD-ROM root, the output file).
    StartUp,
    // Nothing: the value is written by exit or by another subsystem.
    NotWritten,
};

// How the carry-over of an earlier version's environment writes the value.
enum class EnvCarryOver {
    NotCarried,
    // The earlier text when it is not empty.
    WhenNotEmpty,
    // Only together with a non-empty HIDEEXE, and only when not empty itself.
    WithViewer,
    // "0" when the earlier text is exactly "0", else "1".
    Switch,
    // DEFAULTTELUSE "0" carries the area code; anything else turns the area code off.
    AreaCodeUse,
    // Follows DEFAULTTELUSE (see there).
    AreaCode,
};

struct EnvValueDef {
    EnvKey key;
    const char* name;
    EnvDecoding decoding;
    FirstRunRule firstRun;
    const char* firstRunText; // for FirstRunRule::Fixed
    EnvCarryOver carryOver;
    // Read into memory by start-up with the rest of the user's choices.
    bool loadedAtStartUp;
};

const std::array<EnvValueDef, kEnvKeyCount>& envSchema();
const EnvValueDef& envDef(EnvKey key);
QString envName(EnvKey key);

// HIDEEXE's option names, by viewer kind.
inline constexpr std::array<const char*, 4> kViewerNames{"NotePad", "WORDPAD", "Excel",
                                                         "Excel2007"};

// The decodings, for any stored text.
bool decodeFirstChoice(const QString& text);
int decodeNumber(const QString& text);
// The index of the option the text names exactly (letter case counts), or -1.
int decodeViewer(const QString& text);

} // namespace pikotel
