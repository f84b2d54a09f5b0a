#include "directory/resultoverride.h"

#include "common/texthelpers.h"

namespace pikotel {

const QList<OverrideRow>& ResultOverride::rows() {
    // Listings of the current directory edition that are known to be wrong: businesses
    // that closed or numbers whose holders asked to be left out (drop), and businesses that
    // renamed or moved within their street (replace).
    static const QList<OverrideRow> table = {
        {QStringLiteral("0847584462"), true, {}, {}},
        {QStringLiteral("0957260098"), true, {}, {}},
        {QStringLiteral("0986473629"), true, {}, {}},
        {QStringLiteral("0174056389"), true, {}, {}},
        {QStringLiteral("0154260976"), true, {}, {}},
        {QStringLiteral("0924374555"), false, QStringLiteral("志摩野北工務店"),
         QStringLiteral("１５２番地１")},
        {QStringLiteral("0697086328"), false, QStringLiteral("フラワーショップ鷺洲"),
         QStringLiteral("３丁目１７－５")},
        {QStringLiteral("0782168697"), false, QStringLiteral("カレーハウスこころ山田店"), {}},
    };
    return table;
}

const OverrideRow* ResultOverride::find(const QString& telNo) {
    const QString digits = DelHifon(telNo);
    for (const OverrideRow& row : rows()) {
        if (row.number == digits)
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
