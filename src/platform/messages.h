#pragma once

// The one way the program shows a message: MyMsgBoxShow. Who presents it is a seam: the
// application installs its dialog, tests install a presenter that records and answers from
// a script, and with none installed (command-line tools) the text goes to stderr.

#include <QString>

namespace pikotel {

// Button sets and answers, with the values of the platform's standard message box. The
// critical icon is a flag added to a button set (MsgOk | MsgCritical), as there.
enum MsgStyle : int { MsgOk = 0, MsgOkCancel = 1, MsgYesNo = 4, MsgCritical = 16 };
enum MsgResult : int { MsgResultOk = 1, MsgResultCancel = 2, MsgResultYes = 6, MsgResultNo = 7 };

// The button set of a style, without its icon.
constexpr int msgButtons(int style) {
    return style & 0x0F;
}
constexpr bool msgCritical(int style) {
    return (style & MsgCritical) != 0;
}

inline const QString kAppTitle = QStringLiteral("ぴ～こぴこ電話帳１８");

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual int present(const QString& text, int style, const QString& caption) = 0;
};

// Installs the presenter for the process (nullptr: none); returns the one it replaces.
MessagePresenter* setMessagePresenter(MessagePresenter* presenter);

int MyMsgBoxShow(const QString& text, int style, const QString& caption = kAppTitle);

// "エラー番号：" + number (a leading blank unless negative) + CR + description, OK button.
void ShowUnexpectedError(int number, const QString& description);

} // namespace pikotel
