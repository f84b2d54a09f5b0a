#include "directory/resultoverride.h"

#include <QStringView>

namespace pikotel {

const QList<OverrideRow>& ResultOverride::rows() {
    // Listings of the current directory edition that are known to be wrong: businesses
    // that closed or numbers whose holders asked to be left out (drop), and businesses that
    // renamed or moved within their street (replace).
    static const QList<OverrideRow> table = {
        {QStringLiteral("0826786320"), true, {}, {}},
        {QStringLiteral("0956897808"), true, {}, {}},
        {QStringLiteral("0986248520"), true, {}, {}},
        {QStringLiteral("0177274405"), true, {}, {}},
        {QStringLiteral("0112136491"), true, {}, {}},
        {QStringLiteral("0948845305"), false, QStringLiteral("泉河内工務店"),
         QStringLiteral("１１５番地１")},
        {QStringLiteral("0649377876"), false, QStringLiteral("フラワーショップ長吉六反"),
         QStringLiteral("１丁目１６－５")},
        {QStringLiteral("0788756396"), false, QStringLiteral("カレーハウス若葉北店"), {}},
    };
    return table;
}

namespace {

// Whether DelHifon(telNo) equals the row's number, without making that text: every hit of a
// city search is looked up.
bool sameNumber(QStringView telNo, QStringView number) {
    qsizetype n = 0;
    for (const QChar c : telNo) {
        if (c == u'|')
            break;
        if (c == u'-')
            continue;
        if (n == number.size() || number[n] != c)
            return false;
        ++n;
    }
    return n == number.size();
}

} // namespace

const OverrideRow* ResultOverride::find(const QString& telNo) {
    for (const OverrideRow& row : rows()) {
        if (sameNumber(telNo, row.number))
            return &row;
    }
    return nullptr;
}

bool ResultOverride::drops(const QString& telNo) {
    const OverrideRow* row = find(telNo);
    return row != nullptr && row->drop;
}

bool ResultOverride::replace(const QString& telNo, DirRecord& record) {
    const OverrideRow* row = find(telNo);
    if (row == nullptr || row->drop)
        return false;
    record.name = row->name;
    if (!row->block.isEmpty())
        record.block = row->block;
    return true;
}

} // namespace pikotel
