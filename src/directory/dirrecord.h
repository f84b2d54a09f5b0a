#pragma once

// What the program keeps of the directory: one hit as seven texts, one city of the area
// table, and the conversions from the engines' cp932 records.

#include "dxs4.h"
#include "xchdb.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace pikotel {

// One listing, in the order every screen and export uses.
struct DirRecord {
    QString telNo; // as the engine gives it, usually hyphenated
    QString name;
    QString zip;
    QString pref;  // 都道府県
    QString city;  // 市区町村
    QString town;  // 町域名
    QString block; // 区域名: lot and house number

    bool operator==(const DirRecord&) const = default;
};

struct AreaEntry {
    qint32 cityCode = 0;
    QString prefName;
    QString cityName;

    bool operator==(const AreaEntry&) const = default;
};

// In the engine's order: one prefecture's cities are consecutive.
using AreaList = QList<AreaEntry>;

// A prefecture as the search screens list it: its number and name.
struct PrefectureItem {
    int prefNo = 0;
    QString name;

    bool operator==(const PrefectureItem&) const = default;
};

// The prefecture number of a city code.
inline int prefectureOf(qint32 cityCode) {
    return cityCode / 1000;
}

// A cp932 text from an engine: empty for a null pointer; length -1 reads to the NUL byte,
// any other length takes that many bytes.
QString AnsiPtrToStr(const char* text, qint32 length);

// The first `length` bytes of a fixed-width cp932 field. A length outside 0..width (an
// engine record that does not hold what it says) is clamped to the field.
QString FixedFieldText(const char* field, qsizetype width, qint32 length);

// The whole fixed-width field with leading and trailing blanks (and NUL bytes) removed.
QString FixedFieldTrimmed(const char* field, qsizetype width);

// A text that comes again and again from an engine (a city search's prefecture and city):
// the same bytes as the last time give back the same shared text, decoded once.
class RepeatedText {
public:
    QString fromCp932(const char* text);

private:
    QByteArray bytes_;
    QString text_;
};

// The seven texts of a first-engine hit; prefecture and city through the texts that repeat
// from one hit of the search to the next.
DirRecord DirRecordFromDxs(const DxsResultRec& rec, RepeatedText& pref, RepeatedText& city);

// The message for a Dxs4_Search result, empty for a result that has none. -20 to -23
// (faulty conditions) are shown by the 104-style search only.
QString DxsSearchErrorText(qint32 result);

} // namespace pikotel
