#pragma once

// Twelve wards of Tokyo with a few listings each (and some crowded ones), built into a
// dictionary for the engine the test names, a context over it and a hidden main menu.

#include "app/frmmain.h"
#include "app/scriptedmessages.h"
#include "app/scriptedservices.h"
#include "builder.h"
#include "search/area104/frm104find.h"
#include "shell/recordingscreens.h"
#include "shell/shellfixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>

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

class Area104Test : public ::testing::TestWithParam<dict::Engine> {
protected:
    void SetUp() override {
        QByteArray csv = "number,name,reading,kind,zip,pref,city,city_code,town,block\n";
        int serial = 0;
        const auto add = [&](int ward, const QString& name, const QString& reading, int kind,
                             const QString& town = QStringLiteral("本町"),
                             const QString& number = {}) {
            const QString tel =
                number.isEmpty()
                    ? QStringLiteral("03-%1-%2").arg(3000 + ward).arg(serial++, 4, 10, QChar(u'0'))
                    : number;
            csv += QStringLiteral("%1,%2,%3,%4,100-0001,東京都,%5,%6,%7,１－１\n")
                       .arg(tel, name, reading)
                       .arg(kind)
                       .arg(kWards.at(ward))
                       .arg(wardCode(ward))
                       .arg(town)
                       .toUtf8();
        };
        for (int w = 0; w < kWards.size(); ++w) {
            add(w, QStringLiteral("山田　太郎"), QStringLiteral("ヤマダ　タロウ"), 1);
            add(w, QStringLiteral("山田　花子"), QStringLiteral("ヤマダ　ハナコ"), 1,
                QStringLiteral("栄町"));
            add(w, QStringLiteral("佐藤　太郎"), QStringLiteral("サトウ　タロウ"), 1);
            add(w, QStringLiteral("山田商店"), QStringLiteral("ヤマダショウテン"), 2);
        }
        // Crowded: 600 タナカ in each of the 10th and 11th wards, 1200 スズキ in the 12th. A
        // reading is katakana: the serial's digits become ア…コ.
        const auto kana = [](int i) {
            QString digits = QString::number(i);
            for (QChar& c : digits)
                c = QStringView(u"アイウエオカキクケコ")[c.digitValue()];
            return digits;
        };
        for (int i = 0; i < 600; ++i) {
            add(9, QStringLiteral("田中　%1").arg(i), QStringLiteral("タナカ　") + kana(i), 1);
            add(10, QStringLiteral("田中　%1").arg(i), QStringLiteral("タナカ　") + kana(i), 1);
        }
        for (int i = 0; i < 1200; ++i)
            add(11, QStringLiteral("鈴木　%1").arg(i), QStringLiteral("スズキ　") + kana(i), 1);
        // A listing the correction table drops, between two kept ones.
        add(3, QStringLiteral("高橋　一"), QStringLiteral("タカハシ　ハジメ"), 1);
        add(3, QStringLiteral("高橋　二"), QStringLiteral("タカハシ　ジ"), 1,
            QStringLiteral("本町"), QStringLiteral("0826-78-6320"));
        add(3, QStringLiteral("高橋　三"), QStringLiteral("タカハシ　サン"), 1);

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
        f.ctx->kekka().Kekka3_Init();
        f.ctx->kekka().OutFileInfo_Set(OutFileInfo{});
        f.ctx->setClipboard(std::make_unique<MemoryClipboard>());
        menu = std::make_unique<frmMain>(*f.ctx, screens);
    }
    void TearDown() override {
        closeResults();
        delete screen.data();
    }

    frm104Find* open() {
        screen = static_cast<frm104Find*>(create104FindScreen(*f.ctx, *menu));
        screen->show();
        return screen;
    }
    template <class T> T* w(const char* name) {
        T* p = screen->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(p, nullptr) << name;
        return p;
    }
    void closeResults() {
        // Deleting a results screen deletes its popup menu, another top-level window.
        QList<QPointer<QWidget>> results;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String("frmKekka3"))
                results.append(top);
        }
        for (const QPointer<QWidget>& screen : results)
            delete screen.data();
    }
    QStringList resultNames() const {
        QStringList names;
        for (const ResultRecord& r : f.ctx->results())
            names.append(r.name);
        return names;
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    RecordingScreens screens;
    std::unique_ptr<frmMain> menu;
    QPointer<frm104Find> screen;
};

inline std::string engineName(const ::testing::TestParamInfo<dict::Engine>& info) {
    return info.param == dict::Engine::Dxs ? "FirstEngine" : "AlternateEngine";
}

} // namespace pikotel::test
