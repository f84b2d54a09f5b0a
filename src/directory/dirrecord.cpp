#include "directory/dirrecord.h"

#include "common/cp932.h"

#include <cstring>

namespace pikotel {

QString AnsiPtrToStr(const char* text, qint32 length) {
    if (text == nullptr)
        return QString();
    const qsizetype size = length < 0 ? static_cast<qsizetype>(std::strlen(text)) : length;
    return fromCp932(text, size);
}

QString FixedFieldText(const char* field, qsizetype width, qint32 length) {
    const qsizetype n = qBound(qsizetype{0}, qsizetype{length}, width);
    return fromCp932(field, n);
}

QString FixedFieldTrimmed(const char* field, qsizetype width) {
    qsizetype first = 0;
    qsizetype last = width;
    // A record the engine left untouched holds NUL bytes: padding as much as blanks.
    const auto padding = [](char c) { return c == ' ' || c == '\0'; };
    while (first < last && padding(field[first]))
        ++first;
    while (last > first && padding(field[last - 1]))
        --last;
    return fromCp932(field + first, last - first);
}

QString RepeatedText::fromCp932(const char* text) {
    if (text == nullptr)
        return QString();
    const QByteArrayView bytes(text, static_cast<qsizetype>(std::strlen(text)));
    if (bytes != bytes_) {
        bytes_ = bytes.toByteArray();
        text_ = pikotel::fromCp932(bytes);
    }
    return text_;
}

DirRecord DirRecordFromDxs(const DxsResultRec& rec, RepeatedText& pref, RepeatedText& city) {
    DirRecord r;
    r.telNo = AnsiPtrToStr(rec.number, -1);
    r.name = AnsiPtrToStr(rec.name, -1);
    r.zip = AnsiPtrToStr(rec.zip, -1);
    r.pref = pref.fromCp932(rec.prefName);
    r.city = city.fromCp932(rec.cityName);
    r.town = AnsiPtrToStr(rec.town, -1);
    r.block = AnsiPtrToStr(rec.block, -1);
    return r;
}

QString DxsSearchErrorText(qint32 result) {
    switch (result) {
    case -1:
        return QStringLiteral("検索ハンドルが割り当てられていません");
    case -3:
        return QStringLiteral("-3 : 検索失敗（メモリが確保できない）");
    case -4:
        return QStringLiteral("-4 : 検索失敗（データ読み込み時に問題が発生した）");
    case -5:
        return QStringLiteral("-5 : 検索失敗");
    case -20:
        return QStringLiteral("検索条件指定に誤りがあります(電話番号)");
    case -21:
        return QStringLiteral("検索条件指定に誤りがあります(住所)");
    case -22:
        return QStringLiteral("検索条件指定に誤りがあります(名称)");
    case -23:
        return QStringLiteral("検索条件指定に誤りがあります(業種)");
    default:
        return QString();
    }
}

} // namespace pikotel
