#include "app/frmabout.h"
#include "app/twips.h"
#include "shellui_fixture.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace pikotel;

namespace {

class AboutScreen : public ::testing::Test {
protected:
    AboutScreen() { QDir(fixture.dir.path()).mkpath(QStringLiteral("cd")); }

    // Creates the file and dates it; returns its path.
    QString makeFile(const QString& relative, const QDateTime& changed) {
        const QString path = fixture.dir.file(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_TRUE(file.setFileTime(changed, QFileDevice::FileModificationTime));
        return path;
    }
    static QString shown(const QDateTime& t) {
        return QLocale::system().toString(t, QLocale::ShortFormat);
    }
    Environment& env() { return fixture.ctx->env(); }
    // The context's places, with the engine the test says is open.
    DictionaryPlaces places() const {
        DictionaryPlaces p = DictionaryPlaces::of(*fixture.ctx);
        p.dicKind = openEngine;
        return p;
    }
    QString cdDrive() const { return fixture.dir.path() + QStringLiteral("/cd/"); }

    test::ContextFixture fixture;
    int openEngine = -1;
    const QDateTime jan31{QDate(2003, 1, 31), QTime(12, 0)};
    const QDateTime feb1{QDate(2003, 2, 1), QTime(12, 0)};
    const QDateTime recent{QDate(2024, 5, 20), QTime(9, 30)};
};

TEST_F(AboutScreen, TitleVersionAndFixedTexts) {
    frmAbout about;
    EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("ぴ～こぴこ電話帳１８のﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_TRUE(about.isModal());
    const auto text = [&](const char* name) {
        const auto* label = about.findChild<QLabel*>(QString::fromLatin1(name));
        return label != nullptr ? label->text() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(text("LblTitle"), QStringLiteral("ぴ～こぴこ電話帳１８"));
    EXPECT_EQ(text("lblVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 18.0.1"));
    EXPECT_EQ(text("lblDescription"), QStringLiteral("①電話番号からの検索"));
    EXPECT_EQ(text("Label1"), QStringLiteral("②NTTの１０４サービス方式での検索"));
    EXPECT_EQ(text("Label2"), QStringLiteral("③業種からの検索"));
    EXPECT_EQ(text("Label3"), QStringLiteral("④郵便番号の検索"));
    EXPECT_EQ(text("lblInfoNameHed"), QStringLiteral("辞 書 情 報"));
    EXPECT_EQ(text("lblInfoDateHed"), QStringLiteral("更新日時"));
    EXPECT_NE(text("Label4"), QStringLiteral("<missing>"));
    EXPECT_NE(text("lblDisclaimer"), QStringLiteral("<missing>"));
    for (const char* name : {"Picture2", "Picture3", "imgHand"})
        EXPECT_NE(about.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    auto* close = about.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("閉じる"));
    EXPECT_EQ(close->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(about.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(AboutScreen, RowsStandUnderEachOtherOverlappingByFifteenTwips) {
    frmAbout about;
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(about.lblInfoName(row)->objectName(), QStringLiteral("lblInfoName%1").arg(row));
        EXPECT_EQ(about.lblInfoDate(row)->objectName(), QStringLiteral("lblInfoDate%1").arg(row));
        EXPECT_TRUE(about.lblInfoName(row)->isVisibleTo(&about));
    }
    for (int row = 1; row < 3; ++row) {
        for (auto column : {&frmAbout::lblInfoName, &frmAbout::lblInfoDate}) {
            const QLabel* above = (about.*column)(row - 1);
            const QLabel* label = (about.*column)(row);
            EXPECT_EQ(twipsLeft(label), twipsLeft(above));
            EXPECT_EQ(twipsTop(label), twipsTop(above) + twipsHeight(above) - 15);
        }
    }
}

TEST_F(AboutScreen, EtchedLineIsShadowOverHighlight) {
    frmAbout about;
    const auto* a = about.findChild<QFrame*>(QStringLiteral("Line10"));
    const auto* b = about.findChild<QFrame*>(QStringLiteral("Line11"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->x(), 15);
    EXPECT_EQ(a->x() + a->width(), about.width() - 20);
    EXPECT_EQ(b->geometry(), a->geometry().translated(0, -1));
    EXPECT_EQ(a->height(), 1);
    EXPECT_EQ(b->palette().color(QPalette::Window), about.palette().color(QPalette::Dark));
    EXPECT_EQ(a->palette().color(QPalette::Window), about.palette().color(QPalette::Light));
}

TEST_F(AboutScreen, HardDiskInstallation) {
    env().setText(EnvKey::DicDrive, QStringLiteral("0"));
    openEngine = 0;
    makeFile(QStringLiteral("DIC/dxs9999.dct"), recent);
    makeFile(QStringLiteral("ZIP/pp00"), jan31);
    frmAbout about(places());
    EXPECT_EQ(about.lblInfoName(0)->text(), QStringLiteral(" 電話番号辞書(HDD)"));
    EXPECT_EQ(about.lblInfoDate(0)->text(), shown(recent));
    EXPECT_FALSE(about.lblInfoDate(0)->text().isEmpty());
    EXPECT_EQ(about.lblInfoName(1)->text(), QStringLiteral(" 郵便番号辞書"));
    EXPECT_EQ(about.lblInfoDate(1)->text(), shown(jan31));
    EXPECT_EQ(about.lblInfoName(2)->text(), QStringLiteral(" 差分辞書"));
    EXPECT_EQ(about.lblInfoDate(2)->text(), QString());
}

TEST_F(AboutScreen, MissingFilesLeaveTheirDatesEmpty) {
    // Hard-disk installation without its dictionary, and no postal-code dictionary.
    env().setText(EnvKey::DicDrive, QStringLiteral(""));
    openEngine = 0;
    env().setText(EnvKey::XchdbAdd, fixture.dir.file(QStringLiteral("nothing.dic")));
    frmAbout about(places());
    EXPECT_EQ(about.lblInfoName(0)->text(), QStringLiteral(" 電話番号辞書"));
    EXPECT_EQ(about.lblInfoDate(0)->text(), QString());
    EXPECT_EQ(about.lblInfoDate(1)->text(), QString());
    EXPECT_EQ(about.lblInfoDate(2)->text(), QString());
}

TEST_F(AboutScreen, CdRomInstallationWithTheFirstEngine) {
    env().setText(EnvKey::DicDrive, QStringLiteral("1"));
    env().setText(EnvKey::CdDrive, cdDrive());
    openEngine = 0;
    makeFile(QStringLiteral("cd/dxs9999.dct"), jan31);
    // The hard-disk copy is not the one in use.
    makeFile(QStringLiteral("DIC/dxs9999.dct"), recent);
    frmAbout about(places());
    EXPECT_EQ(about.lblInfoName(0)->text(), QStringLiteral(" 電話番号辞書(CD-ROM)"));
    EXPECT_EQ(about.lblInfoDate(0)->text(), shown(jan31));
}

TEST_F(AboutScreen, AlternateEngineTellsOldCdRomsByTheirMonth) {
    env().setText(EnvKey::CdDrive, cdDrive());
    openEngine = 1;
    const QString xchdb = makeFile(QStringLiteral("cd/XCHDB.DIC"), jan31);
    {
        frmAbout about(places());
        EXPECT_EQ(about.lblInfoName(0)->text(), QStringLiteral(" 電話番号辞書(旧版CD-ROM)"));
        EXPECT_EQ(about.lblInfoDate(0)->text(), shown(jan31));
    }
    QFile file(xchdb);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(feb1, QFileDevice::FileModificationTime));
    file.close();
    {
        frmAbout about(places());
        EXPECT_EQ(about.lblInfoName(0)->text(), QStringLiteral(" 電話番号辞書(CD-ROM)"));
    }
    // No engine open and no disc: neither kind nor date.
    openEngine = -1;
    env().setText(EnvKey::CdDrive, QString());
    frmAbout about(places());
    EXPECT_EQ(about.lblInfoName(0)->text(), QStringLiteral(" 電話番号辞書"));
    EXPECT_EQ(about.lblInfoDate(0)->text(), QString());
}

TEST_F(AboutScreen, DeltaDictionaryDate) {
    env().setText(EnvKey::XchdbAdd, makeFile(QStringLiteral("delta/xchdbad.dic"), recent));
    frmAbout about(places());
    EXPECT_EQ(about.lblInfoDate(2)->text(), shown(recent));
}

TEST_F(AboutScreen, EnterAndEscapeClose) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        frmAbout about(places());
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, key);
        EXPECT_FALSE(about.isVisible()) << key;
    }
}

} // namespace
