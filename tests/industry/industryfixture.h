#pragma once

// Twelve wards of Tokyo with business listings aimed at the industry search, built into a
// dictionary for the engine the test names, and a context over it:
//   千代田区  names for the exclusion rules, the record fields and the correction table
//   中央区    1200 swimming schools        港区  200 swimming schools
//   新宿区    exactly 1000 libraries       every ward: two hotels
// and one hotel in 大阪市北区, so that a second prefecture is listed.

#include "app/scriptedmessages.h"
#include "builder.h"
#include "search/industry/industrysearch.h"
#include "search/industry/originalindustries.h"
#include "shell/shellfixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace pikotel::test {

inline const QStringList kWards = {
    QStringLiteral("千代田区"), QStringLiteral("中央区"), QStringLiteral("港区"),
    QStringLiteral("新宿区"),   QStringLiteral("文京区"), QStringLiteral("台東区"),
    QStringLiteral("墨田区"),   QStringLiteral("江東区"), QStringLiteral("品川区"),
    QStringLiteral("目黒区"),   QStringLiteral("大田区"), QStringLiteral("世田谷区")};

inline int wardCode(int i) {
    return 13101 + i;
}

inline ChosenCity ward(int i) {
    return {kWards.at(i), wardCode(i)};
}

// Names in 千代田区 and what the industry search does with them.
inline const QStringList kChiyodaNames = {
    QStringLiteral("千代田ゴルフ練習場"),           // ゴルフ pattern 1
    QStringLiteral("カントリーゴルフセンター"),     // ゴルフ pattern 1 only: dropped
    QStringLiteral("ゴルフ場カントリー倶楽部"),     // dropped by 1, kept by 3
    QStringLiteral("引越運送"),                     // 運送: kept by 3, dropped by 4
    QStringLiteral("配送運送"),                     // 運送: dropped by 4, kept by 5
    QStringLiteral("引越配送センター"),             // 運送: dropped by 3 and by 5
    QStringLiteral("江戸前寿司すし政"),             // 飲食店: dropped by 9, kept by 11
    QStringLiteral("寿司すしビジネス"),             // 飲食店: dropped by 9 and by 11
    QStringLiteral("ラーメン太郎"),                 // 飲食店 17
    QStringLiteral("ラーメンスナック富士"),         // 飲食店: kept by 6, dropped by 17
    QStringLiteral("千代田大学"),                   // 大学
    QStringLiteral("千代田大学ｶﾗｵｹ部"),             // 大学: dropped by カラオケ
    QStringLiteral("テニスクラブ一二三四五六七"),   // 13 characters
    QStringLiteral("テニスクラブ一二三四五六七八"), // 14 characters
    QStringLiteral("カレー山田"),                   // the correction table renames it
    QStringLiteral("ホテル高橋"),                   // a number the correction table drops
};
// The numbers of the last two: rows of the correction table.
inline const QString kRenamedNumber = QStringLiteral("078-875-6396");
inline const QString kDroppedNumber = QStringLiteral("0826-78-6320");

class IndustryFixture : public ::testing::TestWithParam<dict::Engine> {
protected:
    void SetUp() override {
        QByteArray csv = "number,name,reading,kind,zip,pref,city,city_code,town,block\n";
        int serial = 0;
        const auto add = [&](int w, const QString& name, const QString& number = {}) {
            const QString tel =
                number.isEmpty()
                    ? QStringLiteral("03-%1-%2").arg(3000 + w).arg(serial++, 4, 10, QChar(u'0'))
                    : number;
            csv += QStringLiteral("%1,%2,%3,2,100-%4,東京都,%5,%6,本町,１－１\n")
                       .arg(tel, name, QStringLiteral("カナ"))
                       .arg(w + 1, 4, 10, QChar(u'0'))
                       .arg(kWards.at(w))
                       .arg(wardCode(w))
                       .toUtf8();
        };
        for (int i = 0; i < kChiyodaNames.size() - 2; ++i)
            add(0, kChiyodaNames.at(i));
        add(0, kChiyodaNames.at(kChiyodaNames.size() - 2), kRenamedNumber);
        add(0, kChiyodaNames.last(), kDroppedNumber);
        for (int i = 0; i < 1200; ++i)
            add(1, QStringLiteral("スイミングスクール%1").arg(i));
        for (int i = 0; i < 200; ++i)
            add(2, QStringLiteral("スイミングクラブ%1").arg(i));
        for (int i = 0; i < 1000; ++i)
            add(3, QStringLiteral("図書館%1").arg(i));
        for (int w = 1; w < kWards.size(); ++w) {
            add(w, QStringLiteral("ホテル%1").arg(kWards.at(w)));
            add(w, QStringLiteral("%1グランドホテル").arg(kWards.at(w)));
        }

        csv += QStringLiteral("06-6345-0000,ホテル梅田,カナ,2,530-0001,大阪府,大阪市北区,27127,"
                              "梅田,１－１\n")
                   .toUtf8();

        const QString source = f.dir.file(QStringLiteral("listings.csv"));
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(csv);
        file.close();
        const bool first = GetParam() == dict::Engine::Dxs;
        const QString cd = f.dir.file(QStringLiteral("cd/"));
        const QString folder = first ? f.programFolder() + QStringLiteral("/DIC/") : cd;
        ASSERT_TRUE(QDir().mkpath(folder));
        dict::BuildOptions options;
        options.listingsCsv = source;
        options.output = folder + (first ? kDxsDicFile : kXchDicFile);
        options.engine = GetParam();
        options.buildTime = 1700000000;
        QString error;
        ASSERT_TRUE(dict::buildDictionary(options, nullptr, &error)) << qPrintable(error);

        Environment& env = f.ctx->env();
        env.setText(EnvKey::DicDrive, first ? QStringLiteral("0") : QStringLiteral("1"));
        env.setText(EnvKey::CdDrive, cd);
        env.setText(EnvKey::BeforeExec, QStringLiteral("1"));
        f.ctx->directory().DicOpen(false);
        ASSERT_EQ(f.ctx->directory().dicKind(), first ? 0 : 1);
    }

    // The keywords of a built-in industry.
    static IndustryKeywords builtin(const QString& name, OriginalIndustries& originals) {
        const industry::Industry* found = industry::findIndustry(name);
        EXPECT_NE(found, nullptr) << qPrintable(name);
        return BuildKeywords(name, found->kind, 0, originals);
    }
    IndustryOutcome search(const QString& industryName, const QList<ChosenCity>& cities) {
        OriginalIndustries originals(f.ctx->store());
        return runIndustrySearch(*f.ctx, builtin(industryName, originals), cities, nullptr);
    }
    // The names of the result set, padding removed.
    QStringList resultNames() const {
        QStringList names;
        for (const ResultRecord& r : f.ctx->results()) {
            QString name = r.name;
            while (name.endsWith(QChar(0x3000)))
                name.chop(1);
            names.append(name);
        }
        return names;
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
};

inline std::string engineName(const ::testing::TestParamInfo<dict::Engine>& info) {
    return info.param == dict::Engine::Dxs ? "FirstEngine" : "AlternateEngine";
}

} // namespace pikotel::test
