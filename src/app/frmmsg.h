#pragma once

// The message dialog frmMsg: one text, one of three button sets, the critical icon when the
// style asks for it, sized to its text. Every message of the program reaches it through
// MyMsgBoxShow and DialogMessagePresenter.

#include "platform/messages.h"

#include <QDialog>

class QLabel;
class QToolButton;

namespace pikotel {

namespace MyMsgBox {
// The code of the button last pressed (1, 2, 6 or 7), kept between calls.
extern qint16 MsgResult;
} // namespace MyMsgBox

// The designed layout of frmMsg, in twips.
inline constexpr int kMsgButtonWidth = 990; // bw: every button has this width
inline constexpr int kMsgButtonHeight = 630;
inline constexpr int kMsgLabelTop = 150;

// Where everything goes for a label of lw × lh twips and a button set, in twips.
struct MsgBoxGeometry {
    double width = 0;
    double height = 0;
    double labelLeft = 0;
    double labelTop = 0;
    double okLeft = 0;
    double yesLeft = 0;
    double noLeft = 0;
    double ok2Left = 0;
    double cancelLeft = 0;
    double buttonTop = 0;
};
MsgBoxGeometry msgBoxGeometry(int lw, int lh, int bw, int style);

class frmMsg : public QDialog {
    Q_OBJECT
public:
    explicit frmMsg(QWidget* parent = nullptr);

    // Caption, text, button set and icon, size and positions for one message.
    void prepare(const QString& text, int style, const QString& caption);
    int style() const { return style_; }

    // Esc and the window's close box answer the cancelling choice of the button set.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void answer(int code);
    void CmdOK_Click() { answer(MsgResultOk); }
    void CmdYes_Click() { answer(MsgResultYes); }
    void CmdNo_Click() { answer(MsgResultNo); }
    void CmdOk2_Click() { answer(MsgResultOk); }
    void cmdCancel_Click() { answer(MsgResultCancel); }

    QLabel* Label1;
    QLabel* imgIcon;
    QToolButton* CmdOK;
    QToolButton* CmdYes;
    QToolButton* CmdNo;
    QToolButton* CmdOk2;
    QToolButton* cmdCancel;
    int style_ = MsgOk;
};

// Shows frmMsg modally, centred over the active window (or the screen).
class DialogMessagePresenter final : public MessagePresenter {
public:
    int present(const QString& text, int style, const QString& caption) override;
};

} // namespace pikotel
