#pragma once

// The one-line texts the history dialog lists, one per stored entry of a kind.

#include "history/historystore.h"

#include <QStringList>

namespace pikotel {

enum class HistoryKind { Phone, Area104, Industry };

// The dialog's caption for the kind ("電話番号検索履歴", "１０４式検索履歴", "業種検索履歴").
QString historyCaption(HistoryKind kind);

QString phoneHistoryLine(const QString& entry);
QString area104HistoryLine(const Area104Conditions& entry);
QString industryHistoryLine(const IndustryConditions& entry);

// The lines of the kind as the store holds them in memory, entry 0 first.
QStringList historyLines(const HistoryStore& history, HistoryKind kind);

} // namespace pikotel
