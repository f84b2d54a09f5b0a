#pragma once

// The environment values held in memory for the whole run, under the keys of the settings
// schema, and the values derived from them. Readers decode a value by its schema row, so
// every screen reads the same stored text the same way.

#include "settings/envschema.h"

#include <QString>

#include <array>

namespace pikotel {

// Viewer kinds, from HIDEEXE.
enum ViewerKindValue : int {
    ViewerNotePad = 0,
    ViewerWordPad = 1,
    ViewerExcel = 2,
    ViewerExcel2007 = 3
};

class Environment {
public:
    // Missing values read as empty.
    const QString& text(EnvKey key) const { return values_[index(key)]; }
    // Setting HIDEEXE also sets viewerKind when the text names a viewer.
    void setText(EnvKey key, const QString& text);
    void clear(EnvKey key) { values_[index(key)].clear(); }

    // A switch: true for its first choice ("0" or empty).
    bool firstChoice(EnvKey key) const;
    // A switch as the result list takes it: 0 for the first choice, 1 for the second.
    int choice(EnvKey key) const { return firstChoice(key) ? 0 : 1; }
    // A number: empty or non-numeric text counts as 0.
    int number(EnvKey key) const;

    // The forms of numbers and postal codes in what the program shows and writes.
    bool telWithoutHyphens() const { return !firstChoice(EnvKey::TelHifon); }
    bool zipWithoutHyphen() const { return !firstChoice(EnvKey::ZipHifon); }
    bool zipWithMark() const { return !firstChoice(EnvKey::ZipMark); }

    int viewerKind = ViewerNotePad;
    int startUpFormNo = 0;
    bool hddInstalled = false;
    QString initialCdRoot;
    QString lastSaveDir;
    QString lastSaveFile;

private:
    static std::size_t index(EnvKey key) { return static_cast<std::size_t>(key); }
    std::array<QString, kEnvKeyCount> values_;
};

} // namespace pikotel
