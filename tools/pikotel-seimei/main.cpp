// pikotel-seimei: builds the name dictionary Seimei.dic from the name list and looks readings
// up through the component's own calls, printing tab-separated rows (UTF-8).

#include "jtext/cp932.h"
#include "seimei/namebuilder.h"
#include "seimei/namedictionary.h"
#include "seimei/seimei.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <optional>

using namespace pikotel::seimei;

namespace {

const char kUsage[] =
    "usage: pikotel-seimei build --names NAMES.tsv [--time SECONDS] OUT\n"
    "       pikotel-seimei [--dict FILE] lookup READING...\n"
    "       pikotel-seimei [--dict FILE] info\n"
    "FILE defaults to the installation's Seimei.dic (<bin>/../share/pikotel/Seimei.dic).\n"
    "A reading may be written in hiragana or katakana of either width.\n";

void printLine(const QStringList& fields) {
    std::fputs(fields.join(QLatin1Char('\t')).toUtf8().append('\n').constData(), stdout);
}

void printError(const QString& text) {
    std::fputs(QStringLiteral("pikotel-seimei: %1\n").arg(text).toUtf8().constData(), stderr);
}

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// Seconds since 1970 of the build: --time, else SOURCE_DATE_EPOCH for reproducible builds,
// else now.
std::optional<std::int64_t> buildTime(const QString& option) {
    const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
    const QString given = option.isEmpty() ? QString::fromLatin1(epoch) : option;
    if (given.isEmpty())
        return QDateTime::currentSecsSinceEpoch();
    bool ok = false;
    const qint64 seconds = given.toLongLong(&ok);
    if (!ok || seconds < 0)
        return std::nullopt;
    return seconds;
}

int build(const QStringList& args) {
    QString names, time, out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--names") && hasValue)
            names = args[++i];
        else if (a == QLatin1String("--time") && hasValue)
            time = args[++i];
        else if (!a.startsWith(QLatin1String("--")) && out.isEmpty())
            out = a;
        else
            return usage();
    }
    if (names.isEmpty() || out.isEmpty())
        return usage();
    const std::optional<std::int64_t> when = buildTime(time);
    if (!when) {
        printError(QStringLiteral("the build time is not a number of seconds"));
        return 2;
    }
    NameDictionaryBuilder builder;
    QString error;
    if (!builder.readNames(names, error)) {
        printError(error);
        return 1;
    }
    for (const QString& w : builder.warnings())
        printError(QStringLiteral("skipped: %1").arg(w));
    const QByteArray image = builder.build(*when);
    if (!NameDictionaryBuilder::write(image, out, error)) {
        printError(error);
        return 1;
    }
    const BuildSummary s = builder.summary();
    printError(QStringLiteral("%1: %2 bytes, %3 readings, %4 surnames, %5 given names, %6 rows "
                              "skipped")
                   .arg(out)
                   .arg(image.size())
                   .arg(s.readings)
                   .arg(s.surnames)
                   .arg(s.givenNames)
                   .arg(s.skippedRows));
    return 0;
}

int info(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("%1: %2").arg(path, file.errorString()));
        return 1;
    }
    const qint64 size = file.size();
    const uchar* data = size > 0 ? file.map(0, size) : nullptr;
    NameDictionary dictionary;
    const OpenError error = data ? dictionary.open({data, std::size_t(size)}) : OpenError::TooShort;
    if (error != OpenError::None) {
        printError(QStringLiteral("%1: %2").arg(path, QString::fromLatin1(describe(error))));
        return 1;
    }
    const Header& h = dictionary.header();
    printLine({QStringLiteral("version"), QString::number(h.version)});
    printLine({QStringLiteral("built"),
               QDateTime::fromSecsSinceEpoch(h.buildTime, Qt::UTC).toString(Qt::ISODate)});
    printLine({QStringLiteral("bytes"), QString::number(h.fileSize)});
    printLine({QStringLiteral("readings"), QString::number(h.readingCount)});
    printLine({QStringLiteral("surnames"), QString::number(h.surnameCount)});
    printLine({QStringLiteral("given names"), QString::number(h.givenNameCount)});
    return 0;
}

// Every candidate of each reading, one line each: reading, sei or mei, written form.
int lookup(const QString& path, const QStringList& readings) {
    HNameOpenRec open{};
    const QByteArray pathBytes = QFile::encodeName(path);
    if (std::size_t(pathBytes.size()) > sizeof open.path) {
        printError(QStringLiteral("%1: the path is longer than 128 bytes").arg(path));
        return 1;
    }
    std::memcpy(open.path, pathBytes.constData(), std::size_t(pathBytes.size()));
    open.pathLength = int32_t(path.size() * 2);
    int32_t handle = 0;
    if (const int32_t r = HNameDB_Open(&open, &handle); r != 0) {
        printError(QStringLiteral("%1: not opened (%2)").arg(path).arg(r));
        return 1;
    }
    int status = 0;
    for (const QString& reading : readings) {
        const QByteArray key = readingKey(reading);
        HNameSearchRec search{};
        if (key.isEmpty() || std::size_t(key.size()) > sizeof search.key) {
            printError(QStringLiteral("%1: no reading").arg(reading));
            status = 1;
            continue;
        }
        std::memcpy(search.key, key.constData(), std::size_t(key.size()));
        search.keyLength = int32_t(reading.size() * 2);
        if (HNameDB_Search(handle, &search) != 0 || search.count == 0) {
            printError(QStringLiteral("%1: no candidates").arg(reading));
            status = 1;
            continue;
        }
        for (int32_t i = 0; i < search.count; ++i) {
            HNameCandidateRec c;
            HNameDB_GetName(handle, i, &c);
            printLine(
                {reading, c.kind == 1 ? QStringLiteral("sei") : QStringLiteral("mei"),
                 pikotel::jtext::fromCp932({c.name, qsizetype(strnlen(c.name, sizeof c.name))})});
        }
    }
    HNameDB_Close(handle);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("build"))
        return build(args.mid(1));
    QString path = QDir(app.applicationDirPath())
                       .filePath(QStringLiteral("../share/pikotel/") +
                                 QString::fromLatin1(kDictionaryFileName));
    if (args.value(0) == QLatin1String("--dict")) {
        if (args.size() < 2)
            return usage();
        path = args[1];
        args = args.mid(2);
    }
    if (args.value(0) == QLatin1String("info") && args.size() == 1)
        return info(path);
    if (args.value(0) == QLatin1String("lookup") && args.size() > 1)
        return lookup(path, args.mid(1));
    return usage();
}
