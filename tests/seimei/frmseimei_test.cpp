// The name dictionary screen over a small dictionary in the program folder, opened for the
// phone-number screen's one name box and for the 104-style screen's two boxes, and driven
// while the modal-screen service holds it.

#include "app/pictures.h"
#include "app/scriptedmessages.h"
#include "app/scriptedservices.h"
#include "search/area104/frmseimei.h"
#include "seimei/seimeitest.h"
#include "shell/shellfixture.h"

#include <QAccessible>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

using namespace pikotel;
using namespace pikotel::test;
using pikotel::seimei::test::buildImage;
using pikotel::seimei::test::kNames;

namespace {

const QString kNoDictionary =
    QStringLiteral("ぴこぴこ電話帳のフォルダに姓名辞書ファイルがありません。");
const QStringList kTarou = {QStringLiteral("太朗"), QStringLiteral("太郎"), QStringLiteral("多朗"),
                            QStringLiteral("太良")};

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

QListWidget* list(frmSeimei& screen, const char* name) {
    return screen.findChild<QListWidget*>(QString::fromLatin1(name));
}

void select(frmSeimei& screen, const char* listName, const QString& text) {
    const QList<QListWidgetItem*> found = list(screen, listName)->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << qPrintable(text);
    found.first()->setSelected(true);
}

void click(frmSeimei& screen, const char* button) {
    screen.findChild<QToolButton*>(QString::fromLatin1(button))->click();
}

class SeimeiScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto scripted = std::make_unique<ScriptedModals>();
        modals = scripted.get();
        shell.ctx->setModals(std::move(scripted));
        QFile file(dictionaryPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(buildImage(kNames));

        nameBox = new QLineEdit(&caller);
        surnameBox = new QLineEdit(&caller);
        givenNameBox = new QLineEdit(&caller);
        caller.show();
    }

    QString dictionaryPath() const { return frmSeimei::dictionaryPath(shell.ctx->programFolder()); }

    // Runs the screen for the caller; act runs while it is up. The screen's result.
    int open(const SeimeiCaller& who, const std::function<void(frmSeimei&)>& act) {
        frmSeimei screen(*shell.ctx, who, &caller);
        modals->onNext([&](QDialog& dialog) {
            act(static_cast<frmSeimei&>(dialog));
            return dialog.result();
        });
        return screen.run();
    }
    // The two lists as they are once the screen has loaded.
    std::pair<QStringList, QStringList> listed(const SeimeiCaller& who) {
        std::pair<QStringList, QStringList> out;
        open(who, [&](frmSeimei& s) {
            out = {texts(list(s, "lstsei")), texts(list(s, "lstMei"))};
        });
        return out;
    }
    // The phone screen's name box after the user chose sei and mei (empty: none) and confirmed.
    QString confirmed(const QString& typed, const QString& sei, const QString& mei) {
        nameBox->setText(typed);
        EXPECT_EQ(open(SeimeiCaller::phoneScreen(nameBox),
                       [&](frmSeimei& s) {
                           if (!sei.isEmpty())
                               select(s, "lstsei", sei);
                           if (!mei.isEmpty())
                               select(s, "lstMei", mei);
                           click(s, "cmdKakutei");
                       }),
                  QDialog::Accepted);
        return nameBox->text();
    }

    ShellFixture shell;
    ScriptedMessagePresenter messages;
    ScriptedModals* modals = nullptr;
    QWidget caller;
    QLineEdit* nameBox = nullptr;
    QLineEdit* surnameBox = nullptr;
    QLineEdit* givenNameBox = nullptr;
};

TEST_F(SeimeiScreenTest, ControlsCarryTheirNamesCaptionsAndTheHandPointer) {
    nameBox->setText(QStringLiteral("ヤマダ"));
    open(SeimeiCaller::phoneScreen(nameBox), [](frmSeimei& s) {
        EXPECT_EQ(s.windowTitle(), QStringLiteral("姓名辞書"));
        EXPECT_EQ(s.findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(),
                  QStringLiteral("姓名確定"));
        EXPECT_EQ(s.findChild<QLabel*>(QStringLiteral("lblSei"))->buddy(), list(s, "lstsei"));
        EXPECT_FALSE(s.findChild<QLabel*>(QStringLiteral("imgHand"))->isVisibleTo(&s));
        EXPECT_EQ(s.cursor().shape(), handCursor().shape());
        for (const char* name : {"Label1", "Frame1", "lblSei", "lstsei", "lblMei", "lstMei",
                                 "cmdKakutei", "cmdCancel", "imgHand"}) {
            QWidget* w = s.findChild<QWidget*>(QString::fromLatin1(name));
            ASSERT_NE(w, nullptr) << name;
            EXPECT_FALSE(
                QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
                << name;
        }
    });
    EXPECT_EQ(modals->shownCount(), 1);
}

TEST_F(SeimeiScreenTest, ThePhoneScreensNameSplitsAtItsFirstBlankInAnyKana) {
    const std::pair<QStringList, QStringList> yamadaTarou = {{QStringLiteral("山田")}, kTarou};
    for (const char* typed : {"ヤマダ タロウ", "やまだ　たろう", "ﾔﾏﾀﾞ ﾀﾛｳ 　", "ヤマダ　ﾀﾛｳ"}) {
        nameBox->setText(QString::fromUtf8(typed));
        EXPECT_EQ(listed(SeimeiCaller::phoneScreen(nameBox)), yamadaTarou) << typed;
    }
    // Blanks after the first belong to the given name, which then matches nothing.
    nameBox->setText(QStringLiteral("ヤマダ  タロウ"));
    EXPECT_EQ(listed(SeimeiCaller::phoneScreen(nameBox)),
              std::pair(QStringList{QStringLiteral("山田")}, QStringList()));
    nameBox->setText(QStringLiteral("ヤマダ"));
    EXPECT_EQ(listed(SeimeiCaller::phoneScreen(nameBox)).second, QStringList());
    // A reading lists every written form the dictionary has for it, in its order.
    nameBox->setText(QStringLiteral("サトウ"));
    EXPECT_EQ(
        listed(SeimeiCaller::phoneScreen(nameBox)).first,
        (QStringList{QStringLiteral("佐藤"), QStringLiteral("左藤"), QStringLiteral("佐東"),
                     QStringLiteral("佐頭"), QStringLiteral("砂糖"), QStringLiteral("里羽")}));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(SeimeiScreenTest, ConfirmingPutsTheTypedBlankBetweenTheChosenParts) {
    EXPECT_EQ(
        confirmed(QStringLiteral("ヤマダ タロウ"), QStringLiteral("山田"), QStringLiteral("太郎")),
        QStringLiteral("山田 太郎"));
    EXPECT_EQ(
        confirmed(QStringLiteral("やまだ　たろう"), QStringLiteral("山田"), QStringLiteral("太郎")),
        QStringLiteral("山田　太郎"));
    // Only the surname listed: the typed given name and the blank go.
    EXPECT_EQ(confirmed(QStringLiteral("ヤマダ　ゾゾ"), QStringLiteral("山田"), QString()),
              QStringLiteral("山田"));
    // Only the given name listed: the typed surname and its blank stay.
    EXPECT_EQ(confirmed(QStringLiteral("ゾゾ　タロウ"), QString(), QStringLiteral("太郎")),
              QStringLiteral("ゾゾ　太郎"));
    // Nothing listed: nothing changes.
    EXPECT_EQ(confirmed(QStringLiteral("ゾゾ ゼゼ"), QString(), QString()),
              QStringLiteral("ゾゾ ゼゼ"));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(SeimeiScreenTest, ConfirmingWithoutAChoiceAsksForTheSurnameThenTheGivenName) {
    nameBox->setText(QStringLiteral("ヤマダ タロウ"));
    const int result = open(SeimeiCaller::phoneScreen(nameBox), [&](frmSeimei& s) {
        click(s, "cmdKakutei");
        select(s, "lstsei", QStringLiteral("山田"));
        click(s, "cmdKakutei");
        EXPECT_EQ(s.result(), QDialog::Rejected);
        EXPECT_EQ(nameBox->text(), QStringLiteral("ヤマダ タロウ"));
        select(s, "lstMei", QStringLiteral("太朗"));
        click(s, "cmdKakutei");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("姓を選択してください。"),
                                             QStringLiteral("名を選択してください。")}));
    EXPECT_EQ(nameBox->text(), QStringLiteral("山田 太朗"));
}

TEST_F(SeimeiScreenTest, AMissingOrDamagedDictionaryIsReportedAndChangesNothing) {
    for (const QByteArray& content : {QByteArray(), QByteArray("PKTLSEIM").repeated(16)}) {
        QFile::remove(dictionaryPath());
        if (!content.isEmpty()) {
            QFile file(dictionaryPath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        messages.clear();
        nameBox->setText(QStringLiteral("ヤマダ タロウ"));
        const int result = open(SeimeiCaller::phoneScreen(nameBox), [](frmSeimei& s) {
            EXPECT_EQ(list(s, "lstsei")->count(), 0);
            EXPECT_EQ(list(s, "lstMei")->count(), 0);
            click(s, "cmdKakutei");
        });
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].text, kNoDictionary);
        EXPECT_EQ(messages.shown()[0].style, MsgOk);
        EXPECT_EQ(messages.shown()[0].caption, kAppTitle);
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(nameBox->text(), QStringLiteral("ヤマダ タロウ"));
    }
    EXPECT_EQ(modals->shownCount(), 2);
}

TEST_F(SeimeiScreenTest, The104ScreensBoxesAreLookedUpAndReplacedEachOnItsOwn) {
    surnameBox->setText(QStringLiteral("やまだ"));
    givenNameBox->setText(QStringLiteral("ﾀﾛｳ"));
    const SeimeiCaller who = SeimeiCaller::screen104(surnameBox, givenNameBox);
    EXPECT_EQ(listed(who), std::pair(QStringList{QStringLiteral("山田")}, kTarou));
    open(who, [](frmSeimei& s) {
        select(s, "lstsei", QStringLiteral("山田"));
        select(s, "lstMei", QStringLiteral("多朗"));
        click(s, "cmdKakutei");
    });
    EXPECT_EQ(surnameBox->text(), QStringLiteral("山田"));
    EXPECT_EQ(givenNameBox->text(), QStringLiteral("多朗"));

    // A surname without candidates keeps what was typed.
    surnameBox->setText(QStringLiteral("ゾゾ"));
    givenNameBox->setText(QStringLiteral("タロウ"));
    open(who, [](frmSeimei& s) {
        select(s, "lstMei", QStringLiteral("太郎"));
        click(s, "cmdKakutei");
    });
    EXPECT_EQ(surnameBox->text(), QStringLiteral("ゾゾ"));
    EXPECT_EQ(givenNameBox->text(), QStringLiteral("太郎"));
}

TEST_F(SeimeiScreenTest, CancelKeepsTheBoxesAndFocusesTheCallersNameBox) {
    nameBox->setText(QStringLiteral("ヤマダ タロウ"));
    surnameBox->setText(QStringLiteral("ヤマダ"));
    givenNameBox->setFocus();
    for (const SeimeiCaller& who :
         {SeimeiCaller::phoneScreen(nameBox), SeimeiCaller::screen104(surnameBox, givenNameBox)}) {
        const int result = open(who, [](frmSeimei& s) {
            select(s, "lstsei", QStringLiteral("山田"));
            click(s, "cmdCancel");
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(caller.focusWidget(), who.callform == 1 ? nameBox : surnameBox);
        givenNameBox->setFocus();
    }
    EXPECT_EQ(nameBox->text(), QStringLiteral("ヤマダ タロウ"));
    EXPECT_EQ(surnameBox->text(), QStringLiteral("ヤマダ"));
}

TEST(SeimeiPathTest, ARootFolderIsFollowedDirectlyByTheFileName) {
    EXPECT_EQ(frmSeimei::dictionaryPath(QStringLiteral("/")), QStringLiteral("/Seimei.dic"));
    EXPECT_EQ(frmSeimei::dictionaryPath(QStringLiteral("/opt/pikotel")),
              QStringLiteral("/opt/pikotel/Seimei.dic"));
}

} // namespace
