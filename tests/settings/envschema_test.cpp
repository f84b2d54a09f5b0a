#include "settings/environment.h"

#include <gtest/gtest.h>

#include <set>

using namespace pikotel;

namespace {

const QString kTexts[] = {QString(),           QStringLiteral("0"),   QStringLiteral("1"),
                          QStringLiteral("2"), QStringLiteral("abc"), QStringLiteral(" 1")};

} // namespace

TEST(EnvSchema, EveryValueHasOneRowWithItsStoredName) {
    std::set<QString> names;
    for (const EnvValueDef& def : envSchema()) {
        EXPECT_EQ(&envDef(def.key), &def);
        EXPECT_TRUE(names.insert(envName(def.key)).second) << def.name;
        if (def.firstRun != FirstRunRule::Fixed) {
            EXPECT_STREQ(def.firstRunText, "") << def.name;
        }
    }
    EXPECT_EQ(envName(EnvKey::StartUpPositionX), QStringLiteral("StartUpPosition_X"));
    EXPECT_EQ(envName(EnvKey::ImportAte), QStringLiteral("IMPORT_ATE"));
}

TEST(EnvSchema, EveryValueDecodesEveryTextOneWay) {
    for (const EnvValueDef& def : envSchema()) {
        for (const QString& text : kTexts) {
            Environment env;
            env.viewerKind = ViewerWordPad;
            env.setText(def.key, text);
            EXPECT_EQ(env.text(def.key), text) << def.name;
            switch (def.decoding) {
            case EnvDecoding::Switch: {
                const bool first = text.isEmpty() || text == QLatin1String("0");
                EXPECT_EQ(env.firstChoice(def.key), first) << def.name << " '" << qPrintable(text);
                EXPECT_EQ(env.choice(def.key), first ? 0 : 1) << def.name;
                break;
            }
            case EnvDecoding::Number: {
                const int expected = text == QLatin1String("1") || text == QLatin1String(" 1") ? 1
                                     : text == QLatin1String("2")                              ? 2
                                                                                               : 0;
                EXPECT_EQ(env.number(def.key), expected) << def.name << " '" << qPrintable(text);
                break;
            }
            case EnvDecoding::Option:
                EXPECT_EQ(decodeViewer(text), -1) << qPrintable(text);
                EXPECT_EQ(env.viewerKind, ViewerWordPad) << "no viewer named, none changed";
                break;
            case EnvDecoding::Text:
                break;
            }
        }
    }
}

TEST(EnvSchema, OutputFormsFollowTheirSwitches) {
    for (const QString& text : kTexts) {
        Environment env;
        env.setText(EnvKey::TelHifon, text);
        env.setText(EnvKey::ZipHifon, text);
        env.setText(EnvKey::ZipMark, text);
        const bool second = !(text.isEmpty() || text == QLatin1String("0"));
        EXPECT_EQ(env.telWithoutHyphens(), second) << qPrintable(text);
        EXPECT_EQ(env.zipWithoutHyphen(), second) << qPrintable(text);
        EXPECT_EQ(env.zipWithMark(), second) << qPrintable(text);
    }
}

TEST(EnvSchema, ViewerNamesSetTheViewerKindExactly) {
    Environment env;
    for (const auto& [name, kind] :
         {std::pair{"WORDPAD", ViewerWordPad}, std::pair{"Excel", ViewerExcel},
          std::pair{"Excel2007", ViewerExcel2007}, std::pair{"NotePad", ViewerNotePad}}) {
        env.setText(EnvKey::HideExe, QString::fromLatin1(name));
        EXPECT_EQ(env.viewerKind, kind) << name;
    }
    env.setText(EnvKey::HideExe, QStringLiteral("Excel"));
    env.setText(EnvKey::HideExe, QStringLiteral("notepad"));
    EXPECT_EQ(env.viewerKind, ViewerExcel) << "another letter case names no viewer";
}
