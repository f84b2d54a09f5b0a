// The output text file as the results screen and the phone screen write it, byte by byte:
// cp932, quotes, separators, CR LF, appends, the dialog rules and the open failures.

#include "app/scriptedmessages.h"
#include "app/scriptedservices.h"
#include "common/cp932.h"
#include "results/resultexport.h"
#include "results/textexport.h"
#include "shell/shellfixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

QByteArray sjis(const QString& text) {
    return toCp932(text);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QList<QStringList> numberedRows(int count) {
    QList<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QStringLiteral("03-0000-%1").arg(i, 4, 10, QChar(u'0')),
                     QStringLiteral("商店%1").arg(i)});
    return rows;
}

class TextExport : public ::testing::Test {
protected:
    TextExport() {
        auto d = std::make_unique<ScriptedFileDialogs>();
        dialogs = d.get();
        f.ctx->setFileDialogs(std::move(d));
        f.ctx->kekka().OutFileInfo_Set(OutFileInfo{});
        f.ctx->env().viewerKind = ViewerNotePad;
    }
    QString out(const QString& name = QStringLiteral("out.csv")) { return f.dir.file(name); }
    void setOutFile(const QString& path) { f.ctx->env().setText(EnvKey::OutFile, path); }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    ScriptedFileDialogs* dialogs = nullptr;
};

TEST(OutputLine, QuotesEveryValueKeepsInnerQuotesAndEndsCrLfInCp932) {
    const QStringList values{QStringLiteral("03-1234-5678"), QString(),
                             QStringLiteral("株式会社\"ＡＢＣ\""), QStringLiteral("〒160-0023"),
                             QStringLiteral("東京都新宿区～")};
    EXPECT_EQ(OutputLine(values, 0),
              sjis(QStringLiteral("\"03-1234-5678\",\"\",\"株式会社\"ＡＢＣ\"\",\"〒160-0023\","
                                  "\"東京都新宿区～\"\r\n")));
    EXPECT_EQ(OutputLine(values, 1),
              sjis(QStringLiteral("\"03-1234-5678\"\t\"\"\t\"株式会社\"ＡＢＣ\"\"\t\"〒160-0023\"\t"
                                  "\"東京都新宿区～\"\r\n")));
    // 〒 is 0x81 0xA7 in cp932; a wave dash is written as the full-width tilde.
    EXPECT_TRUE(OutputLine({QStringLiteral("〒")}, 0).contains("\x81\xa7"));
    EXPECT_EQ(OutputLine({QStringLiteral("〜")}, 0), QByteArray("\"\x81\x60\"\r\n"));
    // A character cp932 has no code for becomes "?" and the line stays well-formed.
    EXPECT_EQ(OutputLine({QStringLiteral("𠮷野家"), QStringLiteral("x")}, 0),
              QByteArray("\"?") + sjis(QStringLiteral("野家")) + QByteArray("\",\"x\"\r\n"));
}

TEST_F(TextExport, RefusesNoRowAndMoreThanThirtyWithoutTouchingTheFile) {
    setOutFile(out());
    OutputSelectedRows(*f.ctx, {}, nullptr);
    OutputSelectedRows(*f.ctx, numberedRows(31), nullptr);
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("出力情報が選択されていません。"),
                                             QStringLiteral("３1件以上の出力は出来ません｡ ")}));
    EXPECT_FALSE(QFile::exists(out()));
}

TEST_F(TextExport, ThirtyRowsAppendedTwiceWithoutHeaderToTheSetFileWithoutDialog) {
    setOutFile(out());
    const QList<QStringList> rows = numberedRows(30);
    OutputSelectedRows(*f.ctx, rows, nullptr);
    OutputSelectedRows(*f.ctx, rows, nullptr);
    EXPECT_TRUE(dialogs->requests().isEmpty());
    const QByteArray once = OutputLines(rows, 0);
    EXPECT_EQ(once.count("\r\n"), 30);
    EXPECT_EQ(readAll(out()), once + once);
    EXPECT_EQ(messages.texts(), QStringList(2, out() + QStringLiteral("に出力しました。")));
    EXPECT_EQ(f.ctx->env().lastSaveDir, f.dir.path());
    EXPECT_EQ(f.ctx->env().lastSaveFile, out());
}

TEST_F(TextExport, TabOptionAndEmptyValuesBetweenSeparators) {
    setOutFile(out());
    f.ctx->kekka().setCSV_Type(1);
    OutputSelectedRows(*f.ctx, {{QStringLiteral("03"), QString(), QStringLiteral("z")}}, nullptr);
    EXPECT_EQ(readAll(out()), QByteArray("\"03\"\t\"\"\t\"z\"\r\n"));
    f.ctx->kekka().setCSV_Type(0);
    OutputSelectedRows(*f.ctx, {{QStringLiteral("03"), QString(), QStringLiteral("z")}}, nullptr);
    EXPECT_EQ(readAll(out()), QByteArray("\"03\"\t\"\"\t\"z\"\r\n\"03\",\"\",\"z\"\r\n"));
}

TEST_F(TextExport, WithoutOutputFileTheSaveDialogAsksAndRemembersFolderAndName) {
    f.ctx->env().lastSaveDir = f.dir.path();
    OutputSelectedRows(*f.ctx, numberedRows(1), nullptr);
    ASSERT_EQ(dialogs->requests().size(), 1);
    EXPECT_TRUE(messages.texts().isEmpty()) << "a cancel says nothing";
    const FileDialogRequest& asked = dialogs->requests().constFirst();
    EXPECT_EQ(asked.folder, f.dir.path());
    EXPECT_EQ(asked.filter, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.csv);;ﾃｷｽﾄﾌｧｲﾙ (*.txt)"));
    EXPECT_EQ(asked.selectedFilter, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.csv)"));

    // Linux names are not cp932: one cp932 cannot hold is a name like any other.
    QDir().mkpath(f.dir.file(QStringLiteral("sub")));
    const QString chosen = f.dir.file(QStringLiteral("sub/𠮷田 \"一覧\".txt"));
    dialogs->setNextFileName(chosen);
    OutputSelectedRows(*f.ctx, numberedRows(1), nullptr);
    EXPECT_EQ(readAll(chosen), OutputLines(numberedRows(1), 0));
    EXPECT_EQ(f.ctx->env().lastSaveDir, f.dir.file(QStringLiteral("sub")));
    EXPECT_EQ(f.ctx->env().lastSaveFile, QStringLiteral("𠮷田 \"一覧\".txt"));
    EXPECT_TRUE(f.ctx->env().text(EnvKey::OutFile).isEmpty()) << "a chosen text file is not kept";
}

TEST_F(TextExport, MissingFolderIsMadeOnYesAndRefusedOnNo) {
    const QString target = f.dir.file(QStringLiteral("new/out.csv"));
    setOutFile(target);
    messages.answer(MsgResultNo);
    OutputSelectedRows(*f.ctx, numberedRows(2), nullptr);
    EXPECT_EQ(messages.texts(),
              (QStringList{QStringLiteral("指定されたフォルダが存在しません。\r\n作成しますか？"),
                           QStringLiteral("出力できませんでした。")}));
    EXPECT_EQ(messages.shown().constFirst().style, MsgYesNo);
    EXPECT_FALSE(QFileInfo::exists(f.dir.file(QStringLiteral("new"))));

    messages.clear();
    messages.answer(MsgResultYes);
    OutputSelectedRows(*f.ctx, numberedRows(2), nullptr);
    EXPECT_EQ(readAll(target), OutputLines(numberedRows(2), 0));
    EXPECT_EQ(messages.texts().last(), target + QStringLiteral("に出力しました。"));

    // One level only.
    messages.clear();
    const QString deep = f.dir.file(QStringLiteral("a/b/out.csv"));
    setOutFile(deep);
    messages.answer(MsgResultYes);
    OutputSelectedRows(*f.ctx, numberedRows(1), nullptr);
    EXPECT_EQ(messages.texts().last(), QStringLiteral("ファイル名：") + deep +
                                           QStringLiteral("\r\nに出力出来ませんでした。"));
    EXPECT_FALSE(QFileInfo::exists(f.dir.file(QStringLiteral("a"))));
}

TEST_F(TextExport, NamesThatAreNoFileAreSaidSo) {
    for (const QString& bad : {f.dir.path(), f.dir.path() + QStringLiteral("/"),
                               out(QStringLiteral("plain.csv/inner.csv"))}) {
        QFile plain(out(QStringLiteral("plain.csv")));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        plain.close();
        messages.clear();
        EXPECT_FALSE(WriteTextFile(bad, "x", OutputCaller::Results)) << qPrintable(bad);
        EXPECT_EQ(messages.texts(),
                  QStringList(QStringLiteral("ファイル名の設定に誤りが有ります。")))
            << qPrintable(bad);
    }
}

// The process may write no more than a limit: a real short write, then EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(TextExport, AWriteFailingMidwayLeavesTheEarlierBytesUnchanged) {
    setOutFile(out());
    OutputSelectedRows(*f.ctx, numberedRows(3), nullptr);
    const QByteArray before = readAll(out());
    messages.clear();
    {
        FileSizeLimit limit(static_cast<rlim_t>(before.size() + 20));
        OutputSelectedRows(*f.ctx, numberedRows(30), nullptr);
    }
    EXPECT_EQ(readAll(out()), before);
    EXPECT_EQ(messages.texts(), QStringList(QStringLiteral("ファイル名：") + out() +
                                            QStringLiteral("\r\nに出力出来ませんでした。")));
    // The next export goes on after the intact lines.
    OutputSelectedRows(*f.ctx, numberedRows(1), nullptr);
    EXPECT_EQ(readAll(out()), before + OutputLines(numberedRows(1), 0));
}

TEST_F(TextExport, DevicesAndMissingFoldersAreToldApart) {
    EXPECT_EQ(appendToFile(QStringLiteral("/dev/null"), "x").status, AppendStatus::BadName);
    EXPECT_EQ(appendToFile(out(QStringLiteral("none/x.csv")), "x").status, AppendStatus::NoFolder);
}

// Phone records: what the layout makes of the shown texts.
DirRecord shownRecord() {
    return {QStringLiteral("0334567890"), QStringLiteral("山田　太郎"),
            QStringLiteral("〒160-0022"), QStringLiteral("東京都"),
            QStringLiteral("新宿区"),     QStringLiteral("新宿"),
            QStringLiteral("３丁目")};
}

TEST(OutItemSet, EmptyLayoutGivesFiveValuesAndOtherwiseUpToTheLastUsedColumn) {
    EXPECT_EQ(OutItemSet(OutFileInfo{}, shownRecord()),
              (QStringList{QStringLiteral("0334567890"), QStringLiteral("山田　太郎"),
                           QStringLiteral("〒160-0022"), QStringLiteral("東京都新宿区"),
                           QStringLiteral("新宿３丁目")}));
    OutFileInfo layout;
    layout[0][0] = QStringLiteral("名称");
    layout[2][0] = QStringLiteral("区域名");
    layout[2][1] = QStringLiteral("電話番号");
    layout[2][2] = QStringLiteral("不明");
    EXPECT_EQ(
        OutItemSet(layout, shownRecord()),
        (QStringList{QStringLiteral("山田　太郎"), QString(), QStringLiteral("３丁目0334567890")}));
    OutFileInfo unknownOnly;
    unknownOnly[5][0] = QStringLiteral("不明");
    EXPECT_EQ(OutItemSet(unknownOnly, shownRecord()).size(), 5);
}

TEST_F(TextExport, PhoneSaveAppendsTheShownRecordAndSaysTheFileName) {
    setOutFile(out());
    EXPECT_FALSE(PhoneSave(*f.ctx, DirRecord{}, nullptr));
    EXPECT_EQ(messages.texts(), QStringList(QStringLiteral("検索結果が表示されていません。")));
    EXPECT_FALSE(QFile::exists(out()));

    messages.clear();
    EXPECT_TRUE(PhoneSave(*f.ctx, shownRecord(), nullptr));
    EXPECT_TRUE(PhoneSave(*f.ctx, shownRecord(), nullptr));
    const QByteArray line = sjis(QStringLiteral(
        "\"0334567890\",\"山田　太郎\",\"〒160-0022\",\"東京都新宿区\",\"新宿３丁目\"\r\n"));
    EXPECT_EQ(readAll(out()), line + line);
    EXPECT_EQ(messages.texts().constFirst(),
              QStringLiteral("ファイル名：") + out() + QStringLiteral("\r\nに出力しました。"));
}

} // namespace
