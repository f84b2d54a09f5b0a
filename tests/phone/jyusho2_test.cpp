// The address confirmation dialog on its own: the four chained lists over the exchange data,
// the postal code of a town and of a divided town's block, the back button and a dictionary
// that does not open.

#include "phone/phonefixture.h"
#include "search/phone/frmjyusho2.h"

#include <QDir>
#include <QListWidget>

using namespace pikotel;
using namespace pikotel::test;

namespace {

class Jyusho2Test : public PhoneFixture {
protected:
    std::unique_ptr<frmJyusho2> load(const QString& number) {
        exchange.telNo = number;
        auto dialog = std::make_unique<frmJyusho2>(shell->programFolder(), exchange);
        dialog->Form_Load();
        return dialog;
    }
    JyushoExchange exchange;
};

TEST_F(Jyusho2Test, OpensWithTheFirstCandidateOfEveryLevelChosen) {
    const auto dialog = load(QStringLiteral(" 03-3340-9999"));
    EXPECT_EQ(exchange.resultFlag, 0);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("住所確定（郵便局番辞書より）"));
    EXPECT_EQ(itemTexts(dialog->lstAddress(frmJyusho2::Prefecture)),
              QStringList{QStringLiteral("東京都\tトウキョウト")});
    EXPECT_EQ(itemTexts(dialog->lstAddress(frmJyusho2::City)),
              QStringList{QStringLiteral("新宿区\tシンジュクク")});
    EXPECT_EQ(itemTexts(dialog->lstAddress(frmJyusho2::Town)),
              QStringList({QStringLiteral("162-0842|市谷砂土原町 イチガヤサドハラチョウ  "),
                           QStringLiteral("西新宿 ニシシンジュク  ")}));
    for (int level : {frmJyusho2::Prefecture, frmJyusho2::City, frmJyusho2::Town})
        EXPECT_EQ(dialog->lstAddress(level)->currentRow(), 0) << level;
    // A town with a code of its own has no blocks.
    EXPECT_EQ(dialog->lstAddress(frmJyusho2::Block)->count(), 0);

    dialog->cmdExec_Click();
    EXPECT_EQ(
        QStringList({exchange.zip, exchange.pref, exchange.city, exchange.town, exchange.block}),
        QStringList({QStringLiteral("162-0842"), QStringLiteral("東京都"), QStringLiteral("新宿区"),
                     QStringLiteral("市谷砂土原町"), QString()}));
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(Jyusho2Test, DividedTownTakesThePostalCodeOfItsBlock) {
    const auto dialog = load(QStringLiteral("03-3340-9999"));
    dialog->lstAddress(frmJyusho2::Town)->setCurrentRow(1);
    QListWidget* blocks = dialog->lstAddress(frmJyusho2::Block);
    EXPECT_EQ(itemTexts(blocks),
              QStringList{QStringLiteral("160-0023|次のビルを除く\tツギノビルヲノゾク")});
    blocks->setCurrentRow(0);
    dialog->cmdExec_Click();
    EXPECT_EQ(exchange.zip, QStringLiteral("160-0023"));
    EXPECT_EQ(exchange.town, QStringLiteral("西新宿"));
    EXPECT_EQ(exchange.block, QStringLiteral("次のビルを除く"));

    // When the divided town is the only candidate, its first block is chosen as well.
    const auto only = load(QStringLiteral("03-3342-0000"));
    EXPECT_EQ(only->lstAddress(frmJyusho2::Block)->currentRow(), 0);
    only->cmdExec_Click();
    EXPECT_EQ(exchange.zip, QStringLiteral("160-0023"));
}

TEST_F(Jyusho2Test, AnotherPrefectureEmptiesTheLaterLists) {
    const auto dialog = load(QStringLiteral("03-3341-0000"));
    EXPECT_EQ(itemTexts(dialog->lstAddress(frmJyusho2::Prefecture)),
              QStringList({QStringLiteral("北海道\tホッカイドウ"),
                           QStringLiteral("東京都\tトウキョウト")}));
    EXPECT_EQ(itemTexts(dialog->lstAddress(frmJyusho2::Town)),
              QStringList{QStringLiteral("001-0010|北十条西 キタ１０ジョウニシ （１～４丁目） "
                                         "（１－４チョウメ）")});
    dialog->lstAddress(frmJyusho2::Prefecture)->setCurrentRow(1);
    EXPECT_EQ(itemTexts(dialog->lstAddress(frmJyusho2::City)),
              QStringList{QStringLiteral("新宿区\tシンジュクク")});
    EXPECT_EQ(dialog->lstAddress(frmJyusho2::City)->currentRow(), -1);
    EXPECT_EQ(dialog->lstAddress(frmJyusho2::Town)->count(), 0);
    EXPECT_EQ(dialog->lstAddress(frmJyusho2::Block)->count(), 0);

    // Confirming with levels left open writes what is chosen.
    dialog->cmdExec_Click();
    EXPECT_EQ(QStringList({exchange.zip, exchange.pref, exchange.city, exchange.town}),
              QStringList({QString(), QStringLiteral("東京都"), QString(), QString()}));
}

TEST_F(Jyusho2Test, BackWritesNothingAndFailuresLeaveNothingToConfirm) {
    exchange.zip = QStringLiteral("kept");
    const auto dialog = load(QStringLiteral("03-3340-9999"));
    dialog->cmdModori_Click();
    EXPECT_EQ(exchange.zip, QStringLiteral("kept"));
    EXPECT_EQ(exchange.resultFlag, 0);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    // An unknown exchange, and an empty number, which is no exchange query at all.
    for (const QString& number : {QStringLiteral("0999-12-3456"), QStringLiteral("--")}) {
        messages->clear();
        exchange.town = QStringLiteral("old");
        frmJyusho2 unknown(shell->programFolder(), exchange);
        EXPECT_FALSE((exchange.telNo = number, unknown.run(shell->ctx->modals())));
        EXPECT_EQ(messages->texts(),
                  QStringList{QStringLiteral("入力した電話番号は局番辞書に登録されていません。")});
        EXPECT_EQ(exchange.resultFlag, 1);
        EXPECT_EQ(exchange.town, QString());
    }

    messages->clear();
    ASSERT_TRUE(QDir(shell->programFolder() + QStringLiteral("/ZIP")).removeRecursively());
    frmJyusho2 missing(shell->programFolder(), exchange);
    exchange.telNo = QStringLiteral("03-3340-9999");
    EXPECT_FALSE(missing.run(shell->ctx->modals()));
    EXPECT_EQ(messages->texts(),
              QStringList{QStringLiteral("局番辞書のオープンで異常がありました。")});
    EXPECT_EQ(exchange.resultFlag, 1);
}

} // namespace
