// Kills a writer of the store at random moments and checks what it leaves behind: the store
// must open, and every value must be absent or a whole text of some generation, with the
// values written in one commit all of one generation. Then the store as start-up meets it
// when another program holds it locked, or when a page of it was damaged: never taken for a
// first run, never overwritten, never read differently without a word.

#include "settings/regstore.h"
#include "store_pattern.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

using namespace pikotel;
using namespace pikotel::test;

namespace {

// Nanoseconds: a commit shows as a change, however soon after the last one it comes.
std::int64_t modifiedNs(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

struct Verdict {
    bool readable = true;
    int torn = 0;
    std::int64_t newest = 0;
};

// Generations of the values of one group: all present ones must agree.
std::optional<std::int64_t> groupGeneration(const std::vector<std::optional<std::int64_t>>& gens,
                                            int first, int end, int& torn) {
    std::optional<std::int64_t> group;
    for (int i = first; i < end; ++i) {
        if (!gens[i])
            continue;
        if (group && *group != *gens[i])
            ++torn;
        group = gens[i];
    }
    return group;
}

Verdict inspect(const QString& path, bool keyExpected) {
    Verdict verdict;
    SettingsStore store({QString(), path, QString()});
    RegHandle handle;
    const bool opened = store.RegKeyOpen(kCrashKey, 1, handle) == 0;
    if (!store.takeProblems().isEmpty() || (keyExpected && !opened)) {
        verdict.readable = false;
        return verdict;
    }
    if (!opened)
        return verdict;
    std::vector<std::optional<std::int64_t>> gens(kCrashValues);
    QStringList texts;
    for (int i = 0; i < kCrashValues; ++i) {
        QString text;
        const int rc = store.RegValueGet(handle, crashValueName(i), text);
        if (rc == 1)
            continue;
        texts.append(text);
        gens[i] = rc == 0 ? crashGeneration(text, i) : std::nullopt;
        if (!gens[i])
            ++verdict.torn;
        else
            verdict.newest = std::max(verdict.newest, *gens[i]);
    }
    // Written in order: the flushed group, the values set one by one, the list.
    const auto put = groupGeneration(gens, 0, kSetFirst, verdict.torn);
    const auto listed = groupGeneration(gens, kListFirst, kCrashValues, verdict.torn);
    for (int i = kSetFirst; i < kListFirst; ++i) {
        if (gens[i] && ((put && *gens[i] > *put) || (listed && *gens[i] < *listed)))
            ++verdict.torn;
    }
    store.RegKeyClose(handle);
    // The enumeration must see the very same texts (in its own order: a value deleted and
    // written again comes last).
    RegValueListData list;
    store.RegValueList(1, kCrashKey, list);
    QStringList listedTexts;
    for (const RegValuePair& pair : list)
        listedTexts.append(pair.text);
    listedTexts.sort();
    texts.sort();
    if (listedTexts != texts)
        ++verdict.torn;
    return verdict;
}

} // namespace

TEST(StoreCrashSafety, KilledWriterLeavesEveryValueOldOrNew) {
    ScratchDir dir;
    const QString path = dir.file(QStringLiteral("config/pikotel/HKCU.db"));
    const quint32 seed = QRandomGenerator::system()->generate();
    QRandomGenerator random(seed);
    int kills = 0;
    int unreadable = 0;
    int torn = 0;
    int progressed = 0;
    int journals = 0; // kills inside a transaction, which the next open rolls back
    std::int64_t newest = 0;
    for (int round = 0; round < KILL_ROUNDS; ++round) {
        const std::int64_t before = modifiedNs(path);
        QProcess writer;
        writer.start(QStringLiteral(STORE_WRITER), {path});
        ASSERT_TRUE(writer.waitForStarted());
        // Its first commit tells that it has the store open and is writing.
        QElapsedTimer waited;
        waited.start();
        while (modifiedNs(path) == before && waited.elapsed() < 20000 &&
               !writer.waitForFinished(1)) {
        }
        ASSERT_NE(modifiedNs(path), before) << "the writer did not write; seed " << seed;
        ASSERT_EQ(writer.state(), QProcess::Running) << writer.readAllStandardError().constData();
        QThread::usleep(random.bounded(500u, 30000u));
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished());
        ++kills;
        if (QFileInfo::exists(path + QStringLiteral("-journal")))
            ++journals;

        const Verdict verdict = inspect(path, newest > 0);
        unreadable += verdict.readable ? 0 : 1;
        torn += verdict.torn;
        if (verdict.newest > newest)
            ++progressed;
        newest = std::max(newest, verdict.newest);
    }
    std::printf("kills: %d, unreadable: %d, torn: %d (left a journal %d, rounds with progress %d, "
                "generation %lld, seed %u)\n",
                kills, unreadable, torn, journals, progressed, static_cast<long long>(newest),
                seed);
    EXPECT_EQ(unreadable, 0);
    EXPECT_EQ(torn, 0);
    EXPECT_GT(progressed, 0);
}

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The crash key's texts as the program reads them; empty when the key cannot be opened.
QStringList crashTexts(SettingsStore& store) {
    RegValueListData list;
    store.RegValueList(1, kCrashKey, list);
    QStringList texts;
    for (const RegValuePair& pair : list)
        texts.append(pair.name + u'=' + pair.text);
    return texts;
}

bool has(const QList<StoreProblem>& problems, StoreProblem::Kind kind) {
    return std::any_of(problems.begin(), problems.end(),
                       [kind](const StoreProblem& p) { return p.kind == kind; });
}

} // namespace

TEST(StoreCrashSafety, LockedOrDamagedStoreIsNeverAFirstRun) {
    ScratchDir dir;
    const QString path = dir.file(QStringLiteral("config/pikotel/HKCU.db"));
    const quint32 seed = QRandomGenerator::system()->generate();
    QRandomGenerator random(seed);
    const int rounds = std::max(5, KILL_ROUNDS / 5);
    int locked = 0;
    int lockReported = 0;
    int damaged = 0;
    int damageReported = 0;
    int readAlike = 0;
    int firstRuns = 0;
    int overwritten = 0;
    int silent = 0;
    for (int round = 0; round < rounds; ++round) {
        // A store as a killed writer leaves it, a little further on each round.
        {
            QProcess writer;
            writer.start(QStringLiteral(STORE_WRITER), {path});
            ASSERT_TRUE(writer.waitForStarted());
            QThread::msleep(random.bounded(30u, 120u));
            writer.kill();
            writer.waitForFinished();
        }
        SettingsStore reference({QString(), path, QString()});
        const QStringList expected = crashTexts(reference);
        ASSERT_FALSE(expected.isEmpty()) << "seed " << seed;
        ASSERT_TRUE(reference.takeProblems().isEmpty());

        // Start-up while another program holds the file: the first look fails, the run is
        // held off the file, and the first-run save writes nothing.
        const QByteArray before = bytesOf(path);
        QProcess holder;
        holder.start(QStringLiteral(STORE_WRITER), {QStringLiteral("--hold"), path});
        ASSERT_TRUE(holder.waitForReadyRead(20000)) << holder.readAllStandardError().constData();
        {
            SettingsStore store({QString(), path, QString()});
            store.setLockWait(static_cast<int>(random.bounded(0u, 100u)));
            RegHandle h;
            ++locked;
            const bool opened = store.RegKeyOpen(kCrashKey, 1, h) == 0;
            if (opened || store.userRootUsable())
                ++firstRuns;
            if (store.RegValueListPut(kCrashKey, {{crashValueName(0), QStringLiteral("default")}}))
                ++overwritten;
            if (has(store.takeProblems(), StoreProblem::Kind::Locked))
                ++lockReported;
        }
        holder.kill();
        holder.waitForFinished();
        if (bytesOf(path) != before)
            ++overwritten;

        // A copy with part of one page scrambled, as a bad sector or a stray write leaves it.
        const QString copy = dir.file(QStringLiteral("copy/HKCU.db"));
        QDir(dir.file(QStringLiteral("copy"))).removeRecursively();
        QDir().mkpath(dir.file(QStringLiteral("copy")));
        QByteArray bad = before;
        // Somewhere that holds something: much of a page is zeros nobody reads.
        qsizetype at = 0;
        do
            at = static_cast<qsizetype>(random.bounded(static_cast<quint32>(bad.size())));
        while (bad.at(at) == 0);
        const qsizetype length = std::min<qsizetype>(1 + random.bounded(16u), bad.size() - at);
        for (qsizetype i = at; i < at + length; ++i)
            bad[i] = static_cast<char>(random.bounded(256u));
        {
            QFile out(copy);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(bad);
        }
        SettingsStore store({QString(), copy, QString()});
        const QStringList read = crashTexts(store);
        ++damaged;
        const QList<StoreProblem> problems = store.takeProblems();
        if (!problems.isEmpty())
            ++damageReported;
        else if (read == expected)
            ++readAlike;
        else
            ++silent;
    }
    std::printf("locked at start-up: %d, reported: %d, taken for a first run: %d, overwritten: %d; "
                "damaged copies: %d, reported and set aside: %d, read alike: %d, silently "
                "different: %d (seed %u)\n",
                locked, lockReported, firstRuns, overwritten, damaged, damageReported, readAlike,
                silent, seed);
    EXPECT_EQ(lockReported, locked);
    EXPECT_EQ(firstRuns, 0);
    EXPECT_EQ(overwritten, 0);
    EXPECT_EQ(silent, 0);
}
