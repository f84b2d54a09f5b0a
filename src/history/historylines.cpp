#include "history/historylines.h"

namespace pikotel {

namespace {

// The first city, followed by " etc " when more were chosen.
QString firstCityPart(const QStringList& cities) {
    return cities.value(0) + (cities.size() > 1 ? QStringLiteral(" etc ") : QStringLiteral(" "));
}

} // namespace

QString historyCaption(HistoryKind kind) {
    switch (kind) {
    case HistoryKind::Phone:
        return QStringLiteral("電話番号検索履歴");
    case HistoryKind::Area104:
        return QStringLiteral("１０４式検索履歴");
    case HistoryKind::Industry:
        return QStringLiteral("業種検索履歴");
    }
    return {};
}

QString phoneHistoryLine(const QString& entry) {
    return entry + u' ';
}

QString area104HistoryLine(const Area104Conditions& e) {
    QString line = e.wideArea ? QStringLiteral("広域検索 ") : QStringLiteral("通常検索 ");
    line += e.prefecture + u' ';
    line += e.wideArea ? firstCityPart(e.cities) : e.city + u' ';
    line += e.town + u' ';
    line += e.company ? QStringLiteral("法人 ") + e.companyName
                      : QStringLiteral("個人 ") + e.surname + u' ' + e.givenName;
    return line;
}

QString industryHistoryLine(const IndustryConditions& e) {
    return e.prefecture + u' ' + firstCityPart(e.cities) + e.industry;
}

QStringList historyLines(const HistoryStore& history, HistoryKind kind) {
    QStringList lines;
    switch (kind) {
    case HistoryKind::Phone:
        for (const QString& entry : history.phoneHistory())
            lines.append(phoneHistoryLine(entry));
        break;
    case HistoryKind::Area104:
        for (const Area104Conditions& entry : history.area104History())
            lines.append(area104HistoryLine(entry));
        break;
    case HistoryKind::Industry:
        for (const IndustryConditions& entry : history.industryHistory())
            lines.append(industryHistoryLine(entry));
        break;
    }
    return lines;
}

} // namespace pikotel
