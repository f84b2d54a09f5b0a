// pikotel-zip: builds the postal-code dictionary and queries it through the component's
// own operations, printing tab-separated rows (UTF-8).

#include "search/postal/postalcomponent.h"
#include "zipcomp/zipbuilder.h"
#include "zipcomp/zipdictionary.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace pikotel::zipcomp;

namespace {

const char kUsage[] =
    "usage: pikotel-zip build --ken KEN.csv --jigyosyo JIGYOSYO.csv [--exchange EXCHANGE.tsv]\n"
    "                         [--date YYYYMMDD] OUTDIR\n"
    "       pikotel-zip [--dict DIR] code DIGITS\n"
    "       pikotel-zip [--dict DIR] prefs\n"
    "       pikotel-zip [--dict DIR] cities PREFCODE\n"
    "       pikotel-zip [--dict DIR] towns CITYCODE\n"
    "       pikotel-zip [--dict DIR] blocks CITYCODE TOWN\n"
    "       pikotel-zip [--dict DIR] exchange NUMBER\n"
    "DIR defaults to the installation's ZIP folder (<bin>/../share/pikotel/ZIP).\n";

void printLine(const QStringList& fields) {
    std::fputs(fields.join(QLatin1Char('\t')).toUtf8().append('\n').constData(), stdout);
}

void printError(const QString& text) {
    std::fputs(text.toUtf8().append('\n').constData(), stderr);
}

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// A code as the lists take it: decimal digits that fit, nothing else.
std::optional<int> codeArgument(const QString& text) {
    if (text.isEmpty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    return text.toInt();
}

// A telephone number: digits, with hyphens between them.
bool isPhoneNumber(const QString& text) {
    const QString digits = QString(text).remove(QLatin1Char('-'));
    return !digits.isEmpty() && std::all_of(digits.begin(), digits.end(),
                                            [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// yyyymmdd of the build: --date, else SOURCE_DATE_EPOCH for reproducible builds, else today.
std::optional<std::uint32_t> buildDate(const QString& option) {
    QDate date;
    if (!option.isEmpty()) {
        date = QDate::fromString(option, QStringLiteral("yyyyMMdd"));
    } else if (const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH"); !epoch.isEmpty()) {
        bool ok = false;
        const qint64 seconds = epoch.toLongLong(&ok);
        if (ok)
            date = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).date();
    } else {
        date = QDate::currentDate();
    }
    if (!date.isValid())
        return std::nullopt;
    return std::uint32_t(date.year() * 10000 + date.month() * 100 + date.day());
}

int build(const QStringList& args) {
    QString ken, jigyosyo, exchange, date, out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--ken") && hasValue)
            ken = args[++i];
        else if (a == QLatin1String("--jigyosyo") && hasValue)
            jigyosyo = args[++i];
        else if (a == QLatin1String("--exchange") && hasValue)
            exchange = args[++i];
        else if (a == QLatin1String("--date") && hasValue)
            date = args[++i];
        else if (!a.startsWith(QLatin1String("--")) && out.isEmpty())
            out = a;
        else
            return usage();
    }
    if (ken.isEmpty() || jigyosyo.isEmpty() || out.isEmpty())
        return usage();
    const std::optional<std::uint32_t> when = buildDate(date);
    if (!when) {
        printError(QStringLiteral("pikotel-zip: 日付が正しくありません"));
        return 2;
    }
    ZipDictionaryBuilder builder;
    QString error;
    if (!builder.readAddresses(ken, error) || !builder.readBusinesses(jigyosyo, error) ||
        (!exchange.isEmpty() && !builder.readExchanges(exchange, error))) {
        printError(QStringLiteral("pikotel-zip: %1").arg(error));
        return 1;
    }
    const auto licence = verifyKeyBlock(QString::fromLatin1(kProgramKeyBlock));
    const QByteArray image = builder.build(*when, *licence);
    for (const QString& w : builder.warnings())
        printError(QStringLiteral("pikotel-zip: 警告: %1").arg(w));
    if (!ZipDictionaryBuilder::write(image, out, error)) {
        printError(QStringLiteral("pikotel-zip: %1").arg(error));
        return 1;
    }
    const auto opened = ZipDictionary::fromImage(image, *licence);
    const ZipDictionary& d = *opened.dictionary;
    printError(
        QStringLiteral("pikotel-zip: %1: %2 bytes, %3 prefectures, %4 cities, %5 towns, "
                       "%6 blocks, %7 records, %8 exchanges%9")
            .arg(QDir(out).filePath(QLatin1String(pikotel::zipcomp::format::kDictionaryFileName)))
            .arg(image.size())
            .arg(d.prefectures().size())
            .arg(d.cities().size())
            .arg(d.towns().size())
            .arg(d.blocks().size())
            .arg(d.records().size())
            .arg(d.exchanges().size())
            .arg(exchange.isEmpty() ? QStringLiteral(" (no exchange table)") : QString()));
    return 0;
}

// A query command: the component opened on the folder, the command run against it.
int query(const QString& folder, const QStringList& args) {
    const QString command = args.value(0);
    const auto need = [&](qsizetype n) { return args.size() == n + 1; };
    const bool known = (command == QLatin1String("code") && need(1)) ||
                       (command == QLatin1String("prefs") && need(0)) ||
                       (command == QLatin1String("cities") && need(1)) ||
                       (command == QLatin1String("towns") && need(1)) ||
                       (command == QLatin1String("blocks") && need(2)) ||
                       (command == QLatin1String("exchange") && need(1));
    if (!known)
        return usage();
    // Codes are numbers and a number is digits: anything else would list everything.
    const bool coded = command == QLatin1String("cities") || command == QLatin1String("towns") ||
                       command == QLatin1String("blocks");
    if ((coded && !codeArgument(args[1])) ||
        (command == QLatin1String("exchange") && !isPhoneNumber(args[1]))) {
        printError(
            QStringLiteral("pikotel-zip: not a %1: '%2'")
                .arg(coded ? QStringLiteral("code") : QStringLiteral("telephone number"), args[1]));
        return usage();
    }

    pikotel::PostalComponent postal;
    const auto failed = [&postal] {
        printError(QStringLiteral("pikotel-zip: %1").arg(postal.lastError().description));
        return 1;
    };
    if (!postal.open(folder))
        return failed();
    const auto number = [](const QString& s) { return codeArgument(s).value_or(-1); };
    const auto printEntries = [](const QList<pikotel::PostalEntry>& entries) {
        for (const pikotel::PostalEntry& e : entries)
            printLine({e.code, e.name, e.reading});
        return 0;
    };
    QList<pikotel::PostalEntry> entries;
    QList<pikotel::PostalTown> towns;

    if (command == QLatin1String("code")) {
        QString digits = args[1];
        digits.remove(QLatin1Char('-'));
        QList<pikotel::PostalRecord> records;
        if (!postal.searchCode(digits, records))
            return failed();
        for (const pikotel::PostalRecord& r : records)
            printLine(QStringList{r.code} + QStringList(r.parts.begin(), r.parts.end()));
        return 0;
    }
    if (command == QLatin1String("prefs"))
        return postal.prefectures(entries) ? printEntries(entries) : failed();
    if (command == QLatin1String("cities"))
        return postal.cities(number(args[1]), entries) ? printEntries(entries) : failed();
    if (command == QLatin1String("blocks"))
        return postal.blocks(number(args[1]), args[2], entries) ? printEntries(entries) : failed();
    if (command == QLatin1String("towns")) {
        if (!postal.towns(number(args[1]), towns))
            return failed();
        for (const pikotel::PostalTown& t : towns)
            printLine({t.code, t.name, t.note, t.reading, t.noteReading});
        return 0;
    }

    // exchange: every candidate down to the blocks, one line per postal code:
    // prefecture code, prefecture, city code, city, postal code, town, note, block.
    const QString phone = args[1];
    QList<pikotel::PostalEntry> prefectures;
    if (!postal.prefectures(prefectures, phone))
        return failed();
    if (prefectures.isEmpty()) {
        printError(QStringLiteral("pikotel-zip: %1 の局番は登録されていません").arg(phone));
        return 1;
    }
    for (const pikotel::PostalEntry& pref : prefectures) {
        QList<pikotel::PostalEntry> cities;
        if (!postal.cities(pref.code.toInt(), cities, phone))
            return failed();
        for (const pikotel::PostalEntry& city : cities) {
            if (!postal.towns(city.code.toInt(), towns, phone))
                return failed();
            const QStringList head = {pref.code, pref.name, city.code, city.name};
            for (const pikotel::PostalTown& t : towns) {
                if (!t.code.isEmpty()) {
                    printLine(head + QStringList{t.code, t.name, t.note, QString()});
                    continue;
                }
                if (!postal.blocks(city.code.toInt(), t.name, entries, phone))
                    return failed();
                for (const pikotel::PostalEntry& block : entries)
                    printLine(head + QStringList{block.code, t.name, t.note, block.name});
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.value(0) == QLatin1String("build"))
        return build(args.mid(1));
    QString folder =
        QDir(app.applicationDirPath()).filePath(QStringLiteral("../share/pikotel/ZIP"));
    if (args.value(0) == QLatin1String("--dict")) {
        if (args.size() < 2)
            return usage();
        folder = args[1];
        args = args.mid(2);
    }
    return query(folder, args);
}
