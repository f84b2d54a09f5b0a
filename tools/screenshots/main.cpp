// Shows every screen once and saves a picture of each into OUTDIR. The screens read the
// dictionaries of the installation's program folder (the staged build); the settings are
// scratch ones. With --hold instead of OUTDIR it saves nothing: it keeps each screen shown,
// says "shown NAME COUNT" on its output (COUNT: the screen's visible buttons, text boxes,
// lists, combo boxes and grids) and goes on to the next one when a line arrives on its input,
// so that a tool may walk the screen's accessibility tree meanwhile.

#include "app/frmabout.h"
#include "app/frmmain.h"
#include "app/frmmsg.h"
#include "app/frmstart.h"
#include "app/frmtemp.h"
#include "app/frmwait.h"
#include "app/programscreens.h"
#include "core/context.h"
#include "history/frmrirekiselect.h"
#include "results/frmkekka3.h"
#include "results/frmoutset.h"
#include "search/area104/frm104find.h"
#include "search/area104/frmseimei.h"
#include "search/industry/frmmygyoshu.h"
#include "search/industry/industrysearch.h"
#include "search/industry/originalindustries.h"
#include "search/postal/frmzipfind3.h"
#include "settings/frmenvset.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QSocketNotifier>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <memory>
#include <unistd.h>
#include <utility>

using namespace pikotel;

namespace {

void settle() {
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
}

// Picks the first item of a list with the text, as a click on it would.
void pick(QWidget& screen, const char* list, const QString& text) {
    auto* l = screen.findChild<QListWidget*>(QString::fromLatin1(list));
    const QList<QListWidgetItem*> found = l->findItems(text, Qt::MatchExactly);
    if (!found.isEmpty())
        l->setCurrentItem(found.front());
}

int namedControls(const QWidget& screen) {
    int count = 0;
    for (const QWidget* w : screen.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        // The parts of a combo box or grid (its text box, its corner button) are its own.
        const QWidget* parent = w->parentWidget();
        for (; parent != &screen && parent != nullptr; parent = parent->parentWidget()) {
            if (qobject_cast<const QComboBox*>(parent) != nullptr ||
                qobject_cast<const QAbstractItemView*>(parent) != nullptr)
                break;
        }
        if (parent != &screen)
            continue;
        if (qobject_cast<const QAbstractButton*>(w) != nullptr ||
            qobject_cast<const QComboBox*>(w) != nullptr ||
            qobject_cast<const QAbstractItemView*>(w) != nullptr ||
            qobject_cast<const QLineEdit*>(w) != nullptr)
            ++count;
    }
    return count;
}

// Keeps the screen shown, answering the accessibility bus, until a line (or the end) arrives.
bool hold(QWidget& screen, const QString& name) {
    std::printf("shown %s %d\n", qPrintable(name), namedControls(screen));
    std::fflush(stdout);
    QEventLoop loop;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &loop, [&loop] {
        char c = 0;
        if (::read(STDIN_FILENO, &c, 1) <= 0 || c == '\n')
            loop.quit();
    });
    loop.exec();
    screen.hide();
    return true;
}

bool save(QWidget& screen, const QString& folder, const QString& name) {
    screen.show();
    settle();
    if (folder.isEmpty())
        return hold(screen, name);
    const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool ok = screen.grab().save(file);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(file));
    screen.hide();
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pikotel-screenshots OUTDIR|--hold PROGRAMFOLDER\n");
        return 2;
    }
    const QString out =
        qstrcmp(argv[1], "--hold") == 0 ? QString() : QString::fromLocal8Bit(argv[1]);
    if (!out.isEmpty())
        QDir().mkpath(out);
    QTemporaryDir scratch;
    ContextOptions options;
    options.programFolder = QString::fromLocal8Bit(argv[2]);
    options.storePaths.user = scratch.filePath(QStringLiteral("HKCU.db"));
    AppContext ctx(options);
    ctx.env().setText(EnvKey::DicDrive, QStringLiteral("0"));
    ctx.directory().DicOpen(false);

    bool ok = true;
    ProgramScreens screens(ctx);
    frmMain mainMenu(ctx, screens);
    ok &= save(mainMenu, out, QStringLiteral("frmMain"));
    // A listing the correction table rewrites: name and block come from the table.
    std::unique_ptr<QWidget> phone(screens.createSearchScreen(ScreenPhone, mainMenu));
    phone->findChild<QLineEdit*>(QStringLiteral("txtTelNo"))
        ->setText(QStringLiteral("092-437-4555"));
    phone->findChild<QToolButton*>(QStringLiteral("CmdFind"))->click();
    ok &= save(*phone, out, QStringLiteral("frmTelFind"));

    // The postal-code screen opens in its forward mode without a stored prefecture: an old
    // code's towns after today's codes, and a long office address picked.
    ctx.history().zipConditions().prefecture.clear();
    std::unique_ptr<QWidget> forward(screens.createSearchScreen(ScreenZipToAddress, mainMenu));
    forward->findChild<QLineEdit*>(QStringLiteral("txtZipCode"))->setText(QStringLiteral("001"));
    forward->findChild<QToolButton*>(QStringLiteral("CmdFindZip"))->click();
    auto* grid = forward->findChild<QTableWidget*>(QStringLiteral("flgAddressList"));
    const QList<QTableWidgetItem*> office =
        grid->findItems(QStringLiteral("001-8501"), Qt::MatchExactly);
    if (auto* zip = qobject_cast<frmZipFind3*>(forward.get()); zip && !office.isEmpty())
        zip->flgAddressList_MouseDown(office.front()->row());
    // Where today's codes end and the old code's towns begin.
    const QList<QTableWidgetItem*> tonden =
        grid->findItems(QStringLiteral("002-0851"), Qt::MatchExactly);
    forward->show();
    settle();
    if (!tonden.isEmpty())
        grid->scrollToItem(tonden.front(), QAbstractItemView::PositionAtCenter);
    ok &= save(*forward, out, QStringLiteral("frmZipFind3_forward"));
    forward.reset();
    // With a stored prefecture and city it opens in its reverse mode: a long Kyoto block.
    ctx.history().zipConditions().prefecture = QStringLiteral("京都府");
    ctx.history().zipConditions().city = QStringLiteral("京都市中京区");
    std::unique_ptr<QWidget> reverse(screens.createSearchScreen(ScreenZipToAddress, mainMenu));
    pick(*reverse, "lstChomei", QStringLiteral("大黒町 "));
    pick(*reverse, "lstKu",
         QStringLiteral("麩屋町通六角上る、麩屋町通六角下る、六角通麩屋町西入、富小路通六角上る、"
                        "富小路通六角下る、六角通富小路西入、六角通富小路東入、六角通柳馬場東入"));
    ok &= save(*reverse, out, QStringLiteral("frmZipFind3_reverse"));
    reverse.reset();

    // The 104-style screen in both modes, with conditions typed.
    {
        std::unique_ptr<QWidget> area(screens.createSearchScreen(Screen104, mainMenu));
        auto* screen104 = static_cast<frm104Find*>(area.get());
        area->findChild<QComboBox*>(QStringLiteral("cmbTodoufuken"))
            ->setCurrentText(QStringLiteral("東京都"));
        screen104->SikuListSet();
        area->findChild<QComboBox*>(QStringLiteral("cmbSikuchouson"))
            ->setCurrentText(QStringLiteral("新宿区"));
        area->findChild<QLineEdit*>(QStringLiteral("txtSei"))->setText(QStringLiteral("ヤマダ"));
        ok &= save(*area, out, QStringLiteral("frm104Find_normal"));
        screen104->Opt検索方法_Click(frm104Find::Wide);
        auto* cities = area->findChild<QListWidget*>(QStringLiteral("lstSikuchouson"));
        for (int i = 0; i < 5 && i < cities->count(); ++i)
            cities->item(i)->setSelected(true);
        ok &= save(*area, out, QStringLiteral("frm104Find_wide"));
    }

    // The results of a wide name search in one ward, as the area searches will leave them.
    ctx.kekka().Kekka3_Init();
    ctx.kekka().OutFileInfo_Set(OutFileInfo{});
    CityCondition ward;
    ward.cityCode = 13104;
    ward.namePattern = QStringLiteral("*会社*");
    ctx.directory().searchCity(ward, [&ctx](const DirRecord& hit) {
        ctx.results().append({static_cast<qint32>(ctx.results().size()), hit.telNo, hit.name,
                              hit.zip, hit.pref, hit.city, hit.town, hit.block});
        return ctx.results().size() < 300;
    });
    ctx.kekka().todofuken_Caption = QStringLiteral("東京都");
    ctx.kekka().siku_Caption = QStringLiteral("新宿区");
    ctx.kekka().title1_Caption = QStringLiteral("名称：");
    ctx.kekka().label1_Caption = QStringLiteral("*会社*");
    QWidget searchScreen;
    frmKekka3* results = showResults(ctx, &searchScreen);
    results->setAttribute(Qt::WA_DeleteOnClose, false);
    ok &= save(*results, out, QStringLiteral("frmKekka3"));
    delete results;

    // The industry screen with an original industry and its last search restored, the
    // restaurants it finds, and the original-industries editor changing that industry.
    OriginalIndustries originals(ctx.store());
    originals.saveNew(
        {QStringLiteral("ラーメン店"),
         {QStringLiteral("ラーメン"), QStringLiteral("らーめん"), QStringLiteral("中華そば")},
         {QStringLiteral("スナック"), QStringLiteral("製麺")}});
    const QList<ChosenCity> wards = {{QStringLiteral("千代田区"), 13101},
                                     {QStringLiteral("中央区"), 13102},
                                     {QStringLiteral("港区"), 13103}};
    ctx.history().recordIndustrySearch({QStringLiteral("東京都"),
                                        {wards.at(0).name, wards.at(1).name, wards.at(2).name},
                                        QStringLiteral("飲食店")});
    ctx.env().setText(EnvKey::BeforeExec, QStringLiteral("0"));
    std::unique_ptr<QWidget> industryScreen(screens.createSearchScreen(ScreenIndustry, mainMenu));
    ok &= save(*industryScreen, out, QStringLiteral("frmGyoshuFind2"));
    const IndustryKeywords restaurants =
        BuildKeywords(QStringLiteral("飲食店"), industry::Kind::PatternList, 0, originals);
    runIndustrySearch(ctx, restaurants, wards, nullptr);
    setIndustryCaptions(ctx, QStringLiteral("東京都"),
                        {wards.at(0).name, wards.at(1).name, wards.at(2).name},
                        QStringLiteral("飲食店"));
    frmKekka3* industryResults = showResults(ctx, industryScreen.get());
    industryResults->setAttribute(Qt::WA_DeleteOnClose, false);
    ok &= save(*industryResults, out, QStringLiteral("frmKekka3_industry"));
    delete industryResults;
    originals.load();
    frmMyGyoshu editor(originals, QStringLiteral("※ラーメン店"));
    editor.Form_Load();
    editor.Cmd修正_Click();
    editor.findChild<QLineEdit*>(QStringLiteral("TxtTarget"))->setText(QStringLiteral("つけ麺"));
    ok &= save(editor, out, QStringLiteral("frmMyGyoshu"));

    FrmOutSet layoutEditor(ctx);
    layoutEditor.Form_Load();
    ok &= save(layoutEditor, out, QStringLiteral("FrmOutSet"));

    // The name dictionary as the 104-style screen opens it for a typed reading.
    {
        QLineEdit surname;
        QLineEdit givenName;
        surname.setText(QStringLiteral("ｻﾄｳ"));
        givenName.setText(QStringLiteral("ﾋﾛｼ"));
        frmSeimei names(ctx, SeimeiCaller::screen104(&surname, &givenName));
        names.Form_Load();
        ok &= save(names, out, QStringLiteral("frmSeimei"));
    }

    // The settings screen as the main menu opens it, then as a search screen does, on a
    // hard-disk installation with an output file chosen.
    ctx.env().hddInstalled = true;
    ctx.env().setText(EnvKey::OutFile, QStringLiteral("/home/user/Documents/電話帳テキスト.txt"));
    for (const auto& [caller, name] :
         {std::pair{QStringLiteral("メイン"), QStringLiteral("frmEnvset_main")},
          std::pair{QStringLiteral("１０４"), QStringLiteral("frmEnvset_search")}}) {
        FrmEnvset settings(ctx, caller, nullptr, {}, {});
        settings.Form_Load();
        ok &= save(settings, out, name);
    }

    // The 104-style history with a person, a company and a wide-area search.
    Area104Conditions person;
    person.prefecture = QStringLiteral("東京都");
    person.city = QStringLiteral("新宿区");
    person.town = QStringLiteral("西新宿");
    person.surname = QStringLiteral("ヤマダ");
    person.givenName = QStringLiteral("タロウ");
    Area104Conditions company;
    company.prefecture = QStringLiteral("大阪府");
    company.city = QStringLiteral("大阪市北区");
    company.company = true;
    company.companyName = QStringLiteral("ぴこぴこ商事");
    Area104Conditions wide;
    wide.wideArea = true;
    wide.prefecture = QStringLiteral("北海道");
    wide.cities = {QStringLiteral("札幌市中央区"), QStringLiteral("札幌市北区"),
                   QStringLiteral("小樽市")};
    wide.surname = QStringLiteral("サトウ");
    for (const Area104Conditions& entry : {wide, company, person})
        ctx.history().record104Search(entry);
    frmRirekiSelect history(ctx, HistoryKind::Area104, [](int) {});
    ok &= save(history, out, QStringLiteral("frmRirekiSelect"));

    frmstart splash;
    ok &= save(splash, out, QStringLiteral("frmstart"));
    frmWait wait;
    ok &= save(wait, out, QStringLiteral("frmWait"));
    frmTemp progress;
    progress.setBarWidth(progress.fullBarWidth() / 3);
    ok &= save(progress, out, QStringLiteral("frmTemp"));
    frmAbout about(DictionaryPlaces::of(ctx));
    ok &= save(about, out, QStringLiteral("frmAbout"));
    const struct {
        const char* name;
        const char* text;
        int style;
    } messages[] = {
        {"frmMsg_ok", "ヘルプが見つかりません。", 0},
        {"frmMsg_okcancel", "出力ファイルに追記します。\r\nよろしいですか？", 1},
        {"frmMsg_yesno",
         "１１以上の市区町村が選択されています。検索に時間がかかりますが、続けますか？", 4},
        {"frmMsg_critical", "郵便番号辞書のオープンで異常がありました。", MsgOk | MsgCritical},
    };
    for (const auto& m : messages) {
        frmMsg dialog;
        dialog.prepare(QString::fromUtf8(m.text), m.style, kAppTitle);
        ok &= save(dialog, out, QString::fromLatin1(m.name));
    }
    return ok ? 0 : 1;
}
