// Rewrites the crash test's values for ever, in the three ways the program writes: values
// put and flushed together, values set one by one (one of them deleted first), and a list.
// Killed from outside at a random moment; prints nothing.
//
// With --hold it is instead another program keeping the store locked: it takes an exclusive
// lock, says "held" and waits to be killed.

#include "settings/regstore.h"
#include "store_pattern.h"

#include <QCoreApplication>
#include <QFile>

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace pikotel;
using namespace pikotel::test;

namespace {

// Carries on after the newest generation in the store, so the test sees progress.
std::int64_t lastGeneration(SettingsStore& store) {
    std::int64_t newest = 0;
    RegHandle handle;
    if (store.RegKeyOpen(kCrashKey, 1, handle) != 0)
        return newest;
    for (int i = 0; i < kCrashValues; ++i) {
        QString text;
        if (store.RegValueGet(handle, crashValueName(i), text) == 0)
            newest = std::max(newest, crashGeneration(text, i).value_or(0));
    }
    return newest;
}

int hold(const char* path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return 1;
    std::puts("held");
    std::fflush(stdout);
    for (;;)
        ::pause();
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--hold") == 0)
        return hold(argv[2]);
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    SettingsStore store({QString(), QString::fromLocal8Bit(argv[1]), QString()});
    for (std::int64_t generation = lastGeneration(store) + 1;; ++generation) {
        RegHandle handle;
        if (store.RegKeyCreate(kCrashKey, 1, handle) != 0)
            return 1;
        for (int i = 0; i < kSetFirst; ++i)
            store.RegValuePut(handle, crashValueName(i), crashText(generation, i));
        store.RegKeyFlushClose(handle);

        if (store.RegKeyOpen(kCrashKey, 1, handle) != 0)
            return 1;
        store.RegValueDelete(handle, crashValueName(kSetFirst + generation % 5));
        for (int i = kSetFirst; i < kListFirst; ++i)
            store.RegValueSet(handle, crashValueName(i), crashText(generation, i));
        store.RegKeyClose(handle);

        RegValueListData list;
        for (int i = kListFirst; i < kCrashValues; ++i)
            list.append({crashValueName(i), crashText(generation, i)});
        store.RegValueListPut(kCrashKey, list);
    }
}
