#include "app/frmmsg.h"

#include "app/pictures.h"
#include "app/placement.h"
#include "app/twips.h"
#include "app/widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace pikotel {

namespace MyMsgBox {
qint16 MsgResult = 0;
} // namespace MyMsgBox

namespace {

// Both CR LF and a lone CR end a line.
QString normalisedLines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    return lines;
}

// The platform's Yes/No/Cancel set: the program never asks it, but its width and places
// are kept so that such a call still gets a sensible dialog with its OK button.
constexpr int kMsgYesNoCancel = 3;

constexpr int kButtonFontPoints = 9;
constexpr int kButtonIconPixels = 20;
// The critical icon left of the text, and the gap between them.
constexpr int kMessageIconPixels = 32;
constexpr int kMessageIconGapPixels = 12;

} // namespace

MsgBoxGeometry msgBoxGeometry(int lw, int lh, int bw, int style) {
    MsgBoxGeometry g;
    if (2 * bw + lw > 2865) {
        g.width = lw + (style == MsgOk ? 500 : 1500);
    } else if (style == MsgOk) {
        g.width = 2 * bw + lw;
    } else if (style == kMsgYesNoCancel) {
        g.width = 4 * bw + lw;
    } else {
        g.width = 3 * bw + lw;
    }
    const double w = g.width;
    const double b = bw;
    g.labelLeft = (w - lw) / 2;
    g.labelTop = kMsgLabelTop;
    g.okLeft = (w - b) / 2;
    if (style == kMsgYesNoCancel) {
        g.yesLeft = (w - b) / 2 - bw - 70;
        g.noLeft = (w - b) / 2;
        g.cancelLeft = (w - b) / 2 + bw + 70;
    } else {
        g.yesLeft = (w - b) / 2 - bw / 2.0 - 50;
        g.noLeft = (w - b) / 2 + bw / 2.0 + 50;
        g.cancelLeft = (w - b) / 2 + bw / 2.0 + 50;
    }
    g.ok2Left = (w - b) / 2 - bw / 2.0 - 50;
    g.height = lh + 1300;
    g.buttonTop = g.labelTop + lh + kMsgButtonHeight / 2.0;
    return g;
}

frmMsg::frmMsg(QWidget* parent)
    : QDialog(parent), Label1(new QLabel(this)), imgIcon(new QLabel(this)),
      CmdOK(newPictureButton(this, QStringLiteral("CmdOK"), QStringLiteral("icon_ok"),
                             QStringLiteral("OK"), Qt::ToolButtonTextUnderIcon)),
      CmdYes(newPictureButton(this, QStringLiteral("CmdYes"), QStringLiteral("icon_yes"),
                              QStringLiteral("はい"), Qt::ToolButtonTextUnderIcon)),
      CmdNo(newPictureButton(this, QStringLiteral("CmdNo"), QStringLiteral("icon_no"),
                             QStringLiteral("いいえ"), Qt::ToolButtonTextUnderIcon)),
      CmdOk2(newPictureButton(this, QStringLiteral("CmdOk2"), QStringLiteral("icon_ok"),
                              QStringLiteral("OK"), Qt::ToolButtonTextUnderIcon)),
      cmdCancel(newPictureButton(this, QStringLiteral("cmdCancel"), QStringLiteral("icon_cancel"),
                                 QStringLiteral("キャンセル"), Qt::ToolButtonTextUnderIcon)) {
    setObjectName(QStringLiteral("frmMsg"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setMargin(0);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(
        QWidget::style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(kMessageIconPixels));
    imgIcon->setFixedSize(kMessageIconPixels, kMessageIconPixels);
    imgIcon->hide();

    QFont buttonFont = font();
    buttonFont.setPointSize(kButtonFontPoints);
    for (QToolButton* button : {CmdOK, CmdYes, CmdNo, CmdOk2, cmdCancel}) {
        button->setFont(buttonFont);
        button->setIconSize(QSize(kButtonIconPixels, kButtonIconPixels));
        button->resize(twipsToPixelsX(this, kMsgButtonWidth),
                       twipsToPixelsY(this, kMsgButtonHeight));
    }
    connect(CmdOK, &QToolButton::clicked, this, &frmMsg::CmdOK_Click);
    connect(CmdYes, &QToolButton::clicked, this, &frmMsg::CmdYes_Click);
    connect(CmdNo, &QToolButton::clicked, this, &frmMsg::CmdNo_Click);
    connect(CmdOk2, &QToolButton::clicked, this, &frmMsg::CmdOk2_Click);
    connect(cmdCancel, &QToolButton::clicked, this, &frmMsg::cmdCancel_Click);
}

void frmMsg::prepare(const QString& text, int style, const QString& caption) {
    style_ = style;
    const int buttons = msgButtons(style);
    setWindowTitle(caption);
    Label1->setText(normalisedLines(text));
    const QSize labelPixels = Label1->sizeHint();
    Label1->resize(labelPixels);
    // The icon and the text are placed as one block, the icon on the left.
    const bool critical = msgCritical(style);
    imgIcon->setVisible(critical);
    const int iconBlock = critical ? kMessageIconPixels + kMessageIconGapPixels : 0;
    const int blockHeight =
        critical ? std::max(labelPixels.height(), kMessageIconPixels) : labelPixels.height();
    const int lw = pixelsToTwipsX(this, labelPixels.width() + iconBlock);
    const int lh = pixelsToTwipsY(this, blockHeight);

    const bool yesNo = buttons == MsgYesNo;
    const bool okCancel = buttons == MsgOkCancel;
    CmdOK->setVisible(!yesNo && !okCancel);
    CmdYes->setVisible(yesNo);
    CmdNo->setVisible(yesNo);
    CmdOk2->setVisible(okCancel);
    cmdCancel->setVisible(okCancel);

    const int bw = twipsWidth(CmdOK);
    const MsgBoxGeometry g = msgBoxGeometry(lw, lh, bw, buttons);
    setFixedSize(twipsToPixelsX(this, g.width), twipsToPixelsY(this, g.height));
    setTwipsLeft(Label1, g.labelLeft);
    setTwipsTop(Label1, g.labelTop);
    imgIcon->move(Label1->pos());
    Label1->move(Label1->x() + iconBlock, Label1->y());
    const std::pair<QToolButton*, double> lefts[] = {
        {CmdOK, g.okLeft},   {CmdYes, g.yesLeft},       {CmdNo, g.noLeft},
        {CmdOk2, g.ok2Left}, {cmdCancel, g.cancelLeft},
    };
    for (const auto& [button, left] : lefts) {
        setTwipsLeft(button, left);
        setTwipsTop(button, g.buttonTop);
    }
    QToolButton* first = yesNo ? CmdYes : (okCancel ? CmdOk2 : CmdOK);
    first->setFocus();
}

void frmMsg::answer(int code) {
    MyMsgBox::MsgResult = static_cast<qint16>(code);
    done(code);
}

void frmMsg::reject() {
    if (msgButtons(style_) == MsgYesNo)
        answer(MsgResultNo);
    else if (msgButtons(style_) == MsgOkCancel)
        answer(MsgResultCancel);
    else
        answer(MsgResultOk);
}

void frmMsg::keyPressEvent(QKeyEvent* event) {
    // A focused picture button takes Enter as a press, as a command button would.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QToolButton*>(focusWidget())) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

int DialogMessagePresenter::present(const QString& text, int style, const QString& caption) {
    QWidget* over = QApplication::activeModalWidget();
    if (over == nullptr)
        over = QApplication::activeWindow();
    frmMsg dialog(over);
    dialog.prepare(text, style, caption);
    CenterFormOver(over, &dialog);
    dialog.exec();
    return MyMsgBox::MsgResult;
}

} // namespace pikotel
