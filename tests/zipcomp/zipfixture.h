#pragma once

// A small postal-code dictionary built from hand-written Japan Post rows that hold every
// kind of town text the builder has rules for, plus helpers to read the component's cp932
// answers back as text.

#include "support/testdirs.h"
#include "zipcomp/zipcomponent.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace pikotel::test {

QString cp932(const QByteArray& bytes);

struct TownRow {
    QString code, name, note;
};
struct BlockRow {
    QString code, name;
};

// The component's lists read back whole; each fails the test on a failing call.
QStringList prefectureCodes(zipcomp::ZipComponent& zip, const QString& text = {});
QStringList cityCodes(zipcomp::ZipComponent& zip, int pref, const QString& text = {});
std::vector<TownRow> towns(zipcomp::ZipComponent& zip, int city, const QString& text = {});
std::vector<BlockRow> blocks(zipcomp::ZipComponent& zip, int city, const QString& town,
                             const QString& text = {});
// Forward search: the code and the five address parts joined, one line per record.
QStringList searchCode(zipcomp::ZipComponent& zip, const QString& digits);
// Old-code search, read back as searchCode's.
QStringList searchOldCode(zipcomp::ZipComponent& zip, const QString& digits);

class SmallDictionary : public ::testing::Test {
protected:
    void SetUp() override;

    // Builds the dictionary into folder()/ZIP; false with the builder's error.
    bool build(QString& error, bool withExchanges = true);
    QString zipFolder() const { return dir.file(QStringLiteral("ZIP")); }
    QString dictionaryFile() const { return dir.file(QStringLiteral("ZIP/pp00")); }
    // A component with the program's key, on zipFolder(), opened.
    void open(zipcomp::ZipComponent& zip);

    ScratchDir dir;
    QString kenFile, jigyosyoFile, exchangeFile;
    QStringList warnings;
};

} // namespace pikotel::test
