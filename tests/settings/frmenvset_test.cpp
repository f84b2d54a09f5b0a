#include "app/scriptedmessages.h"
#include "app/scriptedservices.h"
#include "app/sysinfo.h"
#include "results/frmoutset.h"
#include "settings/frmenvset.h"
#include "shell/shellfixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

const QString kNotText = QStringLiteral("ファイルの形式がテキスト形式ではありません。");

class SettingsScreen : public ::testing::Test {
protected:
    SettingsScreen() {
        // Only the programs the test puts there are "installed".
        setAppSearchPath({f.dir.file(QStringLiteral("bin"))});
        QDir().mkpath(f.dir.file(QStringLiteral("bin")));
        f.installDictionary();
        f.setUser(QStringLiteral("CDDRIVE"), QStringLiteral("/media/cdrom/"));
        f.setUser(QStringLiteral("DICDRIVE"), QStringLiteral("0"));
        f.ctx->env().setText(EnvKey::CdDrive, QStringLiteral("/media/cdrom/"));
        f.ctx->env().setText(EnvKey::DicDrive, QStringLiteral("0"));
        f.ctx->env().hddInstalled = true;
        f.ctx->directory().DicOpen(false);
        auto d = std::make_unique<ScriptedFileDialogs>();
        dialogs = d.get();
        f.ctx->setFileDialogs(std::move(d));
        auto m = std::make_unique<ScriptedModals>();
        modals = m.get();
        f.ctx->setModals(std::move(m));
    }
    ~SettingsScreen() override { setAppSearchPath({}); }

    void installProgram(const QString& name) {
        QFile program(f.dir.file(QStringLiteral("bin/") + name));
        program.open(QIODevice::WriteOnly);
        program.close();
        program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }

    std::unique_ptr<FrmEnvset> open(const QString& caller) {
        auto screen = std::make_unique<FrmEnvset>(
            *f.ctx, caller, nullptr, [this] { ++saves; }, [this] { ++programEnds; });
        screen->Form_Load();
        screen->show();
        return screen;
    }
    template <typename T> static T* child(FrmEnvset& s, const QString& name) {
        return s.findChild<T*>(name);
    }
    static QLineEdit* box(FrmEnvset& s, const char* name) {
        return child<QLineEdit>(s, QString::fromLatin1(name));
    }
    static QRadioButton* option(FrmEnvset& s, const char* name) {
        return child<QRadioButton>(s, QString::fromLatin1(name));
    }
    static void chooseViewer(FrmEnvset& s, const QString& text) {
        QComboBox* viewers = child<QComboBox>(s, QStringLiteral("CmbHideExe"));
        viewers->setCurrentIndex(viewers->findText(text));
        s.CmbHideExe_Click();
    }
    static QStringList items(QComboBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out.append(list->itemText(i));
        return out;
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    ScriptedFileDialogs* dialogs = nullptr;
    ScriptedModals* modals = nullptr;
    int saves = 0;
    int programEnds = 0;
};

TEST_F(SettingsScreen, MainMenuModeOffersTheDriveAndSearchModeOnlyTheCaution) {
    auto main = open(QStringLiteral("メイン"));
    EXPECT_TRUE(child<QGroupBox>(*main, QStringLiteral("FraDicDrvChange"))->isVisible());
    EXPECT_FALSE(child<QLabel>(*main, QStringLiteral("lblCaution"))->isVisible());
    EXPECT_FALSE(child<QComboBox>(*main, QStringLiteral("drvCdrom"))->isVisible())
        << "hard disk chosen";
    EXPECT_TRUE(child<QToolButton>(*main, QStringLiteral("cmdUpdate"))->isEnabled());
    main->optDic_Click(1);
    EXPECT_TRUE(child<QComboBox>(*main, QStringLiteral("drvCdrom"))->isVisible());
    EXPECT_EQ(child<QLabel>(*main, QStringLiteral("LblDriveNm"))->text(), QStringLiteral("CD-ROM"));

    auto phone = open(QStringLiteral("電話"));
    EXPECT_FALSE(child<QGroupBox>(*phone, QStringLiteral("FraDicDrvChange"))->isVisible());
    EXPECT_FALSE(child<QComboBox>(*phone, QStringLiteral("drvCdrom"))->isVisible());
    EXPECT_TRUE(child<QLabel>(*phone, QStringLiteral("lblCaution"))->isVisible());
    EXPECT_FALSE(child<QToolButton>(*phone, QStringLiteral("cmdUpdate"))->isEnabled());
    for (QWidget* w : phone->findChildren<QWidget*>()) {
        if (qobject_cast<QToolButton*>(w) || qobject_cast<QLineEdit*>(w) ||
            qobject_cast<QComboBox*>(w)) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << qPrintable(w->objectName());
        }
    }
}

TEST_F(SettingsScreen, OutputFileEndingMustFitTheViewerWithItsLetterCase) {
    auto s = open(QStringLiteral("メイン"));
    box(*s, "txtOutFile")->setText(f.dir.file(QStringLiteral("OUT.TXT")));
    s->cmdSave_Click();
    EXPECT_EQ(messages.texts(), QStringList{kNotText});
    EXPECT_TRUE(s->isVisible()) << "the screen stays open";
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(f.user(QStringLiteral("OUTFILE")), QStringLiteral("<missing>"));

    messages.clear();
    box(*s, "txtOutFile")->setText(QStringLiteral("relative.csv"));
    s->cmdSave_Click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("ファイル名の設定に誤りが有ります。")});

    messages.clear();
    const QString missingYet = f.dir.file(QStringLiteral("new/結果.csv"));
    box(*s, "txtOutFile")->setText(missingYet);
    s->cmdSave_Click();
    EXPECT_TRUE(messages.texts().isEmpty()) << "a file that does not exist yet is fine";
    EXPECT_EQ(f.user(QStringLiteral("OUTFILE")), missingYet);
    EXPECT_EQ(f.ctx->env().lastSaveDir, f.dir.file(QStringLiteral("new")));
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(s->isVisible());
}

TEST_F(SettingsScreen, WorkbookViewersAreOfferedWhenCalcIsInstalled) {
    installProgram(QStringLiteral("localc"));
    auto s = open(QStringLiteral("メイン"));
    QComboBox* viewers = child<QComboBox>(*s, QStringLiteral("CmbHideExe"));
    EXPECT_EQ(items(viewers), (QStringList{QStringLiteral("NotePad"), QStringLiteral("Excel"),
                                           QStringLiteral("Excel2007")}));
    chooseViewer(*s, QStringLiteral("Excel2007"));
    EXPECT_EQ(s->selViewer(), ViewerExcel2007);

    // A new .xls becomes .xlsx, with the notice; an existing .xls stays.
    dialogs->setNextFileName(f.dir.file(QStringLiteral("一覧.xls")));
    s->cmdView_Click();
    EXPECT_EQ(box(*s, "txtOutFile")->text(), f.dir.file(QStringLiteral("一覧.xlsx")));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("指定したファイルはxlsx形式で新規作成されます。")});
    EXPECT_TRUE(dialogs->requests().back().filter.startsWith(QStringLiteral("Excel2007ブック")));
    QFile existing(f.dir.file(QStringLiteral("old.xls")));
    existing.open(QIODevice::WriteOnly);
    existing.close();
    dialogs->setNextFileName(existing.fileName());
    s->cmdView_Click();
    EXPECT_EQ(box(*s, "txtOutFile")->text(), existing.fileName());

    s->cmdSave_Click();
    EXPECT_EQ(f.user(QStringLiteral("HIDEEXE")), QStringLiteral("Excel2007"));
    EXPECT_EQ(f.user(QStringLiteral("HIDEEXEPATH")), f.dir.file(QStringLiteral("bin/localc")));
    EXPECT_EQ(f.ctx->env().viewerKind, ViewerExcel2007);
}

TEST_F(SettingsScreen, StoredSpreadsheetViewerWithoutASpreadsheetKeepsItsKind) {
    f.ctx->env().setText(EnvKey::HideExe, QStringLiteral("Excel"));
    auto s = open(QStringLiteral("メイン"));
    QComboBox* viewers = child<QComboBox>(*s, QStringLiteral("CmbHideExe"));
    EXPECT_EQ(items(viewers), QStringList{QStringLiteral("NotePad")});
    EXPECT_EQ(viewers->currentIndex(), -1) << "nothing is selected";
    box(*s, "txtOutFile")->setText(f.dir.file(QStringLiteral("out.xls")));
    s->cmdSave_Click();
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(f.ctx->env().viewerKind, ViewerExcel);
    EXPECT_EQ(f.user(QStringLiteral("HIDEEXEPATH")), QString());
}

TEST_F(SettingsScreen, DefaultAreaCodeIsStoredWithoutHyphensAndLettersAreRefused) {
    auto s = open(QStringLiteral("メイン"));
    option(*s, "optDTelUse0")->setChecked(true);
    box(*s, "txtDefaultTel")->clear();
    s->cmdSave_Click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("デフォルト市外局番が未入力です。")});

    messages.clear();
    option(*s, "optDTelUse1")->setChecked(true);
    box(*s, "txtDefaultTel")->setText(QStringLiteral("0３a"));
    s->cmdSave_Click();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("デフォルト市外局番の設定に誤りが有ります。")});

    messages.clear();
    box(*s, "txtDefaultTel")->setText(QStringLiteral("03-12"));
    s->cmdSave_Click();
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(f.user(QStringLiteral("DEFAULTTEL")), QStringLiteral("0312"));
    EXPECT_EQ(f.user(QStringLiteral("DEFAULTTELUSE")), QStringLiteral("1"));
}

TEST_F(SettingsScreen, ChangingTheDriveToCdromEndsTheProgramAfterSaving) {
    f.setMounts("/dev/vda1 / ext4 rw 0 0\n/dev/sr0 /media/cdrom iso9660 ro 0 0\n");
    auto s = open(QStringLiteral("メイン"));
    s->optDic_Click(1);
    QComboBox* drives = child<QComboBox>(*s, QStringLiteral("drvCdrom"));
    EXPECT_EQ(items(drives), (QStringList{QStringLiteral("/"), QStringLiteral("/media/cdrom/")}));

    drives->setCurrentIndex(0);
    s->cmdSave_Click();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("ＣＤ-ＲＯＭのドライブを指定してください。")});
    EXPECT_EQ(programEnds, 0);

    messages.clear();
    drives->setCurrentIndex(1);
    s->cmdSave_Click();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral(
                  "辞書ドライブの変更がありました。ぴ～こぴこ電話帳を再起動してください。")});
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(f.user(QStringLiteral("DICDRIVE")), QStringLiteral("1"));
    EXPECT_EQ(f.user(QStringLiteral("CDDRIVE")), QStringLiteral("/media/cdrom/"));
}

TEST_F(SettingsScreen, DeltaDictionaryMayNotLieOnACdrom) {
    f.setMounts("/dev/vda1 / ext4 rw 0 0\n/dev/sr0 /media/cdrom iso9660 ro 0 0\n");
    auto s = open(QStringLiteral("メイン"));
    box(*s, "TxtXchdbAdd")->setText(QStringLiteral("/media/cdrom/DXS5001.dct"));
    s->cmdSave_Click();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("差分辞書の格納されている場所を指定してください。")});

    // Esc clears the box and does not close the screen.
    box(*s, "TxtXchdbAdd")->setFocus();
    QTest::keyClick(box(*s, "TxtXchdbAdd"), Qt::Key_Escape);
    EXPECT_TRUE(box(*s, "TxtXchdbAdd")->text().isEmpty());
    EXPECT_TRUE(s->isVisible());

    dialogs->setNextFileName(f.dir.file(QStringLiteral("DXS5001.dct")));
    s->cmdView2_Click();
    EXPECT_EQ(dialogs->requests().back().proposedName, QStringLiteral("DXS5001.dct"));
    EXPECT_EQ(dialogs->requests().back().folder, f.programFolder());
    EXPECT_EQ(box(*s, "TxtXchdbAdd")->text(), f.dir.file(QStringLiteral("DXS5001.dct")));
}

TEST_F(SettingsScreen, CancelWritesNothingAndTheLayoutEditorOpensModally) {
    auto s = open(QStringLiteral("１０４"));
    int editors = 0;
    modals->onNext([&editors](QDialog& dialog) {
        editors += qobject_cast<FrmOutSet*>(&dialog) != nullptr;
        return 0;
    });
    s->CmdEnv_Click();
    EXPECT_EQ(editors, 1);
    option(*s, "optAni1")->setChecked(true);
    s->cmdCancel_Click();
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(f.user(QStringLiteral("ANIME")), QStringLiteral("<missing>"));
}

TEST_F(SettingsScreen, DownloadPageOpensFromTheInstallationRecord) {
    auto s = open(QStringLiteral("メイン"));
    s->cmdUpdate_Click();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("ダウンロードページが設定されていません")});
    EXPECT_TRUE(f.launcher->opened.isEmpty());

    SettingsStore installer({f.machineStore(), QString(), QString()});
    installer.setMachineWritable(true);
    RegHandle key;
    installer.RegKeyOpen(kVersionKey, 0, key);
    installer.RegValueSet(key, QStringLiteral("UpdateURL"),
                          QStringLiteral("https://example.jp/dl/"));
    installer.RegKeyClose(key);
    s->cmdUpdate_Click();
    EXPECT_EQ(f.launcher->opened, QStringList{QStringLiteral("https://example.jp/dl/")});
}

TEST_F(SettingsScreen, StartUpScreenStoresItsValuesEvenWhenRefused) {
    QFile::remove(f.programFolder() + QStringLiteral("/DIC/dxs9999.dct"));
    auto s = open(QStringLiteral("初期メイン"));
    s->cmdSave_Click();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("ぴ～こぴこ電話帳の辞書が存在しません。")});
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(f.user(QStringLiteral("IMPORT")), QStringLiteral("0"));
    EXPECT_FALSE(s->isVisible());
}

} // namespace
