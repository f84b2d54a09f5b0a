#include "platform/messages.h"

#include <cstdio>

namespace pikotel {

namespace {
MessagePresenter* g_presenter = nullptr;
}

MessagePresenter* setMessagePresenter(MessagePresenter* presenter) {
    MessagePresenter* previous = g_presenter;
    g_presenter = presenter;
    return previous;
}

int MyMsgBoxShow(const QString& text, int style, const QString& caption) {
    if (g_presenter != nullptr)
        return g_presenter->present(text, style, caption);
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    const int buttons = msgButtons(style);
    return buttons == MsgYesNo ? MsgResultNo
                               : (buttons == MsgOkCancel ? MsgResultCancel : MsgResultOk);
}

void ShowUnexpectedError(int number, const QString& description) {
    const QString num =
        number < 0 ? QString::number(number) : QStringLiteral(" ") + QString::number(number);
    MyMsgBoxShow(QStringLiteral("エラー番号：") + num + QChar(u'\r') + description, MsgOk);
}

} // namespace pikotel
