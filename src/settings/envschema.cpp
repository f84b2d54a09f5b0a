#include "settings/envschema.h"

#include "common/texthelpers.h"

namespace pikotel {

namespace {

using D = EnvDecoding;
using F = FirstRunRule;
using C = EnvCarryOver;

// DICDRIVE and CDDRIVE are read by start-up on their own (they decide the dictionary place
// and whether this is a first run); the position and the last screen belong to exit.
constexpr std::array<EnvValueDef, kEnvKeyCount> kSchema{{
    {EnvKey::DicDrive, "DICDRIVE", D::Switch, F::StartUp, "", C::NotCarried, false},
    {EnvKey::CdDrive, "CDDRIVE", D::Text, F::StartUp, "", C::NotCarried, false},
    {EnvKey::XchdbAdd, "XCHDBADD", D::Text, F::Fixed, "", C::NotCarried, true},
    {EnvKey::OutFile, "OUTFILE", D::Text, F::StartUp, "", C::WhenNotEmpty, true},
    {EnvKey::HideExe, "HIDEEXE", D::Option, F::Fixed, "NotePad", C::WhenNotEmpty, true},
    {EnvKey::HideExePath, "HIDEEXEPATH", D::Text, F::Fixed, "", C::WithViewer, true},
    {EnvKey::DefaultTelUse, "DEFAULTTELUSE", D::Switch, F::Fixed, "1", C::AreaCodeUse, true},
    {EnvKey::DefaultTel, "DEFAULTTEL", D::Text, F::Fixed, "", C::AreaCode, true},
    {EnvKey::BeforeExec, "BEFOREEXEC", D::Switch, F::Fixed, "0", C::Switch, true},
    {EnvKey::Seimei, "SEIMEI", D::Switch, F::Fixed, "0", C::Switch, true},
    {EnvKey::Anime, "ANIME", D::Switch, F::Fixed, "0", C::Switch, true},
    {EnvKey::OutForm, "OUTFORM", D::Switch, F::Fixed, "0", C::Switch, true},
    {EnvKey::TelHifon, "TELHIFON", D::Switch, F::Fixed, "0", C::Switch, true},
    {EnvKey::ZipHifon, "ZIPHIFON", D::Switch, F::Fixed, "0", C::Switch, true},
    {EnvKey::ZipMark, "ZIPMARK", D::Switch, F::Fixed, "0", C::Switch, true},
    {EnvKey::Import, "IMPORT", D::Text, F::Fixed, "0", C::NotCarried, true},
    {EnvKey::ImportAte, "IMPORT_ATE", D::Text, F::Fixed, "0", C::NotCarried, true},
    {EnvKey::ImportMru, "IMPORT_MRU", D::Text, F::Fixed, "0", C::NotCarried, true},
    {EnvKey::StartUpForm, "STARTUPFORM", D::Number, F::Fixed, "0", C::NotCarried, true},
    {EnvKey::StartUpPositionX, "StartUpPosition_X", D::Number, F::NotWritten, "", C::NotCarried,
     false},
    {EnvKey::StartUpPositionY, "StartUpPosition_Y", D::Number, F::NotWritten, "", C::NotCarried,
     false},
    {EnvKey::LastForm, "LASTFORM", D::Number, F::NotWritten, "", C::NotCarried, false},
    {EnvKey::PatchExecute, "PatchExecute", D::Text, F::NotWritten, "", C::NotCarried, false},
}};

constexpr bool rowsInKeyOrder() {
    for (std::size_t i = 0; i < kSchema.size(); ++i) {
        if (static_cast<std::size_t>(kSchema[i].key) != i)
            return false;
    }
    return true;
}
static_assert(rowsInKeyOrder(), "one row per key, in key order");

} // namespace

const std::array<EnvValueDef, kEnvKeyCount>& envSchema() {
    return kSchema;
}

const EnvValueDef& envDef(EnvKey key) {
    return kSchema[static_cast<std::size_t>(key)];
}

QString envName(EnvKey key) {
    return QString::fromLatin1(envDef(key).name);
}

bool decodeFirstChoice(const QString& text) {
    return text.isEmpty() || text == QLatin1String("0");
}

int decodeNumber(const QString& text) {
    return TextToInt(text);
}

int decodeViewer(const QString& text) {
    for (std::size_t i = 0; i < kViewerNames.size(); ++i) {
        if (text == QLatin1String(kViewerNames[i]))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace pikotel
