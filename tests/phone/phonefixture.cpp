#include "phone/phonefixture.h"

#include "app/desktopservices.h"

#include "builder.h"
#include "zipcomp/zipbuilder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QTimer>

namespace pikotel::test {

namespace {

// 03-3456-7892 is listed three times; the other numbers are the correction table's.
const char kListings[] =
    "number,name,reading,kind,zip,pref,city,city_code,town,block\n"
    "03-3456-7890,山田　太郎,ヤマダ　タロウ,1,160-0022,東京都,新宿区,13104,新宿,３丁目１２－５\n"
    "03-3456-7892,佐藤　花子,サトウ　ハナコ,1,160-0023,東京都,新宿区,13104,西新宿,１－１\n"
    "03-3456-7892,佐藤　一郎,サトウ　イチロウ,1,160-0023,東京都,新宿区,13104,西新宿,１－２\n"
    "03-3456-7892,佐藤商店,サトウショウテン,2,160-0023,東京都,新宿区,13104,西新宿,１－３\n"
    "03-3456-7893,鈴木　次郎,スズキ　ジロウ,1,160-0022,東京都,新宿区,13104,新宿,１丁目２－３\n"
    "03-3456-7894,高橋商事,タカハシショウジ,2,160-0022,東京都,新宿区,13104,新宿,２丁目３－４\n"
    "0826-78-6320,スナック天王寺,スナックテンノウジ,2,731-3845,広島県,山県郡安芸太田町,34368,那須,"
    "３１２\n"
    "0948-84-5305,株式会社打木工務店,カブシキガイシャウチキコウムテン,2,820-0334,福岡県,嘉麻市,"
    "40227,泉河内,１１５番地\n"
    "078-875-6396,カレーハウス若葉,カレーハウスワカバ,2,651-1623,兵庫県,神戸市北区,28109,"
    "淡河町野瀬,１９１\n";

const char* const kKenRows[] = {
    "01102,001,0010010,ホッカイドウ,サッポロシキタク,キタ１０ジョウニシ（１−４チョウメ）,北海道,"
    "札幌市北区,北十条西（１〜４丁目）,1,0,1,0,yubin",
    "13104,160,1600000,トウキョウト,シンジュクク,イカニケイサイガナイバアイ,東京都,新宿区,"
    "以下に掲載がない場合,0,0,0,0,yubin",
    "13104,162,1620842,トウキョウト,シンジュクク,イチガヤサドハラチョウ,東京都,新宿区,市谷砂土原町,"
    "0,0,0,0,yubin",
    "13104,160,1600023,トウキョウト,シンジュクク,ニシシンジュク（ツギノビルヲノゾク）,東京都,"
    "新宿区,"
    "西新宿（次のビルを除く）,0,0,1,0,yubin",
    "13104,163,1630401,トウキョウト,シンジュクク,ニシシンジュクシンジュクミツイビル（１カイ）,"
    "東京都,"
    "新宿区,西新宿新宿三井ビル（１階）,0,0,0,0,yubin",
    "13104,160,1600022,トウキョウト,シンジュクク,シンジュク,東京都,新宿区,新宿,0,0,1,0,yubin",
};

const char* const kJigyosyoRows[] = {
    "13104,163,1638001,東京都,新宿区,西新宿,２丁目８−１,東京都庁,ﾄｳｷﾖｳﾄﾁﾖｳ,新宿,0",
};

// 03-3340: two towns of 新宿区, the first with a code of its own. 03-3341: 札幌 and 新宿.
// 03-3342: only the divided town 西新宿.
const char* const kExchangeRows[] = {
    "033340\t13104\t東京都\t新宿区\t市谷砂土原町\t",
    "033340\t13104\t東京都\t新宿区\t西新宿\t２丁目",
    "033341\t01102\t北海道\t札幌市北区\t北十条西\t",
    "033341\t13104\t東京都\t新宿区\t西新宿\t２丁目",
    "033342\t13104\t東京都\t新宿区\t西新宿\t２丁目",
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(bytes);
}

QByteArray lines(const char* const* rows, std::size_t count) {
    QByteArray out;
    for (std::size_t i = 0; i < count; ++i)
        out.append(rows[i]).append('\n');
    return out;
}

} // namespace

void PhoneFixture::SetUp() {
    shell = std::make_unique<ShellFixture>();
    messages = std::make_unique<ScriptedMessagePresenter>();
    shell->ctx->env().setText(EnvKey::DicDrive, QStringLiteral("0"));
    buildDirectory();
    buildZip();
    installDesktopServices(*shell->ctx);
    mainMenu = std::make_unique<frmMain>(*shell->ctx, screens);
}

void PhoneFixture::TearDown() {
    mainMenu.reset();
    messages.reset();
    shell.reset();
}

void PhoneFixture::buildDirectory() {
    const QString source = shell->dir.file(QStringLiteral("listings.csv"));
    writeFile(source, kListings);
    const QString dic = shell->programFolder() + QStringLiteral("/DIC");
    ASSERT_TRUE(QDir().mkpath(dic));
    dict::BuildOptions options;
    options.listingsCsv = source;
    options.output = dic + QStringLiteral("/dxs9999.dct");
    options.engine = dict::Engine::Dxs;
    options.buildTime = 1700000000;
    QString error;
    ASSERT_TRUE(dict::buildDictionary(options, nullptr, &error)) << qPrintable(error);
}

void PhoneFixture::buildZip() {
    const QString ken = shell->dir.file(QStringLiteral("ken.csv"));
    const QString jigyosyo = shell->dir.file(QStringLiteral("jigyosyo.csv"));
    const QString exchange = shell->dir.file(QStringLiteral("exchange.tsv"));
    writeFile(ken, lines(kKenRows, std::size(kKenRows)));
    writeFile(jigyosyo, lines(kJigyosyoRows, std::size(kJigyosyoRows)));
    writeFile(exchange, lines(kExchangeRows, std::size(kExchangeRows)));
    zipcomp::ZipDictionaryBuilder builder;
    QString error;
    ASSERT_TRUE(builder.readAddresses(ken, error)) << qPrintable(error);
    ASSERT_TRUE(builder.readBusinesses(jigyosyo, error)) << qPrintable(error);
    ASSERT_TRUE(builder.readExchanges(exchange, error)) << qPrintable(error);
    const auto licence = zipcomp::verifyKeyBlock(QString::fromLatin1(zipcomp::kProgramKeyBlock));
    ASSERT_TRUE(licence.has_value());
    const QByteArray image = builder.build(20240131, *licence);
    ASSERT_TRUE(builder.warnings().isEmpty()) << qPrintable(builder.warnings().join(u'\n'));
    ASSERT_TRUE(zipcomp::ZipDictionaryBuilder::write(
        image, shell->programFolder() + QStringLiteral("/ZIP"), error))
        << qPrintable(error);
}

QMap<QString, QString> PhoneFixture::mruValues() {
    RegValueListData list;
    shell->ctx->store().RegValueList(1, kMruKey, list);
    QMap<QString, QString> out;
    for (const RegValuePair& p : list)
        out.insert(p.name, p.text);
    return out;
}

void typeText(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

void AddressDialogDriver::onShow(std::function<void(frmJyusho2&)> act) {
    QTimer::singleShot(0, [shown = shown_, act = std::move(act)] {
        auto* dialog = qobject_cast<frmJyusho2*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        *shown = true;
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

QStringList itemTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

} // namespace pikotel::test
