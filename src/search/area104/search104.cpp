#include "search/area104/search104.h"

#include "common/cp932.h"
#include "core/context.h"
#include "directory/citysearchrun.h"
#include "directory/dirrecord.h"
#include "platform/messages.h"

#include <utility>

namespace pikotel {

namespace {
const QString kFullWidthBlank = QStringLiteral("　");
constexpr int kCaptionCities = 10;
} // namespace

QString cutToBytes(const QString& text, int maxBytes) {
    const QByteArray bytes = toCp932(text);
    if (bytes.size() <= maxBytes)
        return text;
    // Cut the text itself, so characters cp932 lacks ("?" in bytes) are kept as typed.
    QString cut;
    qsizetype used = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype step = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, step);
        const qsizetype width = toCp932(ch).size();
        if (used + width > maxBytes)
            break;
        cut.append(ch);
        used += width;
        i += step;
    }
    return cut;
}

QString namePattern104(const Area104Conditions& c) {
    if (c.company)
        return u'*' + c.companyName + u'*';
    const QString surname = c.surname.isEmpty() ? QStringLiteral("*") : c.surname;
    return c.givenName.isEmpty() ? surname + u'*' : surname + kFullWidthBlank + c.givenName;
}

QString wideCitiesCaption(const QStringList& cities) {
    QString caption;
    for (qsizetype i = 0; i < cities.size() && i < kCaptionCities; ++i)
        caption += cities.at(i) + QStringLiteral("  ");
    if (cities.size() > kCaptionCities) {
        caption.chop(2);
        caption += QStringLiteral("... 計%1市区町村").arg(cities.size());
    }
    return caption;
}

void set104Captions(AppContext& ctx, const Area104Conditions& c) {
    clsKekka3& k = ctx.kekka();
    const QString name = c.company ? c.companyName : c.surname + c.givenName;
    k.todofuken_Caption = c.prefecture;
    if (c.wideArea) {
        k.siku_Caption = wideCitiesCaption(c.cities);
        k.title1_Caption = QStringLiteral("選択名称：");
        k.label1_Caption = name;
        k.title2_Caption.clear();
        k.label2_Caption.clear();
    } else {
        k.siku_Caption = c.city;
        k.title1_Caption = QStringLiteral("選択町名：");
        k.label1_Caption = c.town;
        k.title2_Caption = QStringLiteral("選択名称：");
        k.label2_Caption = name;
    }
}

QString noHitMessage104(const Area104Conditions& c) {
    if (c.company)
        return QStringLiteral("<< 該当の法人は見つかりません >>\r\n\r\n法人名：") +
               c.companyName.trimmed();
    return QStringLiteral("<< 該当の個人は見つかりません >>\r\n\r\n姓：") + c.surname.trimmed() +
           QStringLiteral("\r\n名：") + c.givenName.trimmed();
}

QString engineErrorMessage(int result) {
    switch (result) {
    case -20:
        return QStringLiteral("検索条件指定に誤りがあります(電話番号)");
    case -21:
        return QStringLiteral("検索条件指定に誤りがあります(住所)");
    case -22:
        return QStringLiteral("検索条件指定に誤りがあります(名称)");
    case -23:
        return QStringLiteral("検索条件指定に誤りがあります(業種)");
    default:
        return DxsSearchErrorText(result);
    }
}

Search104Outcome runSearch104(AppContext& ctx, const Area104Conditions& c,
                              const QList<ChosenCity>& cities, SearchProgress* progress,
                              const std::function<void(const ChosenCity&)>& beforeCity) {
    ResultSet& results = ctx.results();
    results.clear();
    QList<CityCondition> conditions;
    for (const ChosenCity& city : cities) {
        CityCondition condition;
        condition.cityCode = city.code;
        condition.personKind = c.company ? CityCondition::Corporate : CityCondition::Individual;
        condition.namePattern = namePattern104(c);
        condition.town = c.wideArea ? QString() : c.town;
        condition.hitLimit = kMaxResults;
        conditions.append(condition);
    }

    Search104Outcome outcome;
    qint32 hitIndex = 0;
    const CityHitVisitor store = [&](DirRecord&& hit) {
        results.append({hitIndex++, std::move(hit.telNo), std::move(hit.name), std::move(hit.zip),
                        std::move(hit.pref), std::move(hit.city), std::move(hit.town),
                        std::move(hit.block)});
        if (results.size() < kMaxResults)
            return true;
        MyMsgBoxShow(QStringLiteral("検索結果が１０００件を超えました。\r\n以降は表示されません。"),
                     MsgOk);
        outcome.result = 1;
        return false;
    };
    CitySearchRun run(ctx.directory(), ctx.clock(), progress);
    const int result = run.run(conditions, store, [&](qsizetype i) {
        hitIndex = 0;
        if (beforeCity)
            beforeCity(cities.at(i));
    });
    if (result < 0) {
        outcome.result = result;
        results.clear();
    }
    outcome.hits = static_cast<int>(results.size());
    return outcome;
}

} // namespace pikotel
