#include "app/scriptedmessages.h"

#include <QStringList>

namespace pikotel::test {

ScriptedMessagePresenter::ScriptedMessagePresenter() : previous_(setMessagePresenter(this)) {}

ScriptedMessagePresenter::~ScriptedMessagePresenter() {
    setMessagePresenter(previous_);
}

int ScriptedMessagePresenter::present(const QString& text, int style, const QString& caption) {
    shown_.append({text, style, caption});
    if (!answers_.empty()) {
        const int result = answers_.front();
        answers_.pop_front();
        return result;
    }
    return msgButtons(style) == MsgYesNo ? MsgResultYes : MsgResultOk;
}

QStringList ScriptedMessagePresenter::texts() const {
    QStringList list;
    for (const ShownMessage& m : shown_)
        list << m.text;
    return list;
}

} // namespace pikotel::test
