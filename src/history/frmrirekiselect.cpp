#include "history/frmrirekiselect.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "core/context.h"
#include "platform/messages.h"

#include <QListWidget>
#include <QToolButton>

namespace pikotel {

namespace {
const QString kChooseOne = QStringLiteral("履歴を１件選択してください。");
// The phone-number lines are short: its dialog is this much narrower (twips).
constexpr int kPhoneNarrowing = 2000;
} // namespace

frmRirekiSelect::frmRirekiSelect(AppContext& ctx, HistoryKind kind, std::function<void(int)> apply,
                                 QWidget* parent)
    : QDialog(parent), ctx_(ctx), kind_(kind), apply_(std::move(apply)) {
    setObjectName(QStringLiteral("frmRirekiSelect"));
    setWindowTitle(historyCaption(kind));
    setAccessibleName(windowTitle());
    setWindowIcon(applicationIcon());
    const int narrowing = kind == HistoryKind::Phone ? kPhoneNarrowing : 0;
    setFixedSize(twipsToPixelsX(this, 8400 - narrowing), twipsToPixelsY(this, 3300));

    lstrireki_ = new QListWidget(this);
    lstrireki_->setObjectName(QStringLiteral("lstrireki"));
    lstrireki_->setAccessibleName(windowTitle());
    setTwipsGeometry(lstrireki_, 120, 120, 8160 - narrowing, 2280);
    connect(lstrireki_, &QListWidget::itemDoubleClicked, this, &frmRirekiSelect::CmdOK_Click);

    QToolButton* ok = newPictureButton(this, QStringLiteral("CmdOK"), QStringLiteral("icon_ok"),
                                       QStringLiteral("OK"));
    QToolButton* cancel =
        newPictureButton(this, QStringLiteral("Cmdキャンセル"), QStringLiteral("icon_cancel"),
                         QStringLiteral("キャンセル"));
    QToolButton* clear =
        newTextButton(this, QStringLiteral("Cmdクリア"), QStringLiteral("履歴削除"));
    int left = 8400 - narrowing - 3 * 1560 - 120;
    for (QToolButton* b : {clear, ok, cancel}) {
        setTwipsGeometry(b, left, 2580, 1440, 480);
        b->setCursor(handCursor());
        left += 1560;
    }
    // The Tab key follows the buttons from left to right.
    setTabOrder(lstrireki_, clear);
    setTabOrder(clear, ok);
    setTabOrder(ok, cancel);
    connect(ok, &QToolButton::clicked, this, &frmRirekiSelect::CmdOK_Click);
    connect(cancel, &QToolButton::clicked, this, &QDialog::reject);
    connect(clear, &QToolButton::clicked, this, &frmRirekiSelect::Cmdクリア_Click);

    HistoryStore& history = ctx_.history();
    if (kind_ == HistoryKind::Phone)
        history.LoadPhoneHistory();
    else if (kind_ == HistoryKind::Industry)
        history.LoadIndustryHistory();
    fillList();
}

void frmRirekiSelect::fillList() {
    lstrireki_->clear();
    lstrireki_->addItems(historyLines(ctx_.history(), kind_));
}

void frmRirekiSelect::CmdOK_Click() {
    if (lstrireki_->count() == 0) {
        reject();
        return;
    }
    const int row = lstrireki_->currentRow();
    if (row < 0 || !lstrireki_->item(row)->isSelected()) {
        MyMsgBoxShow(kChooseOne, MsgOk);
        return;
    }
    apply_(row);
    accept();
}

void frmRirekiSelect::Cmdクリア_Click() {
    if (lstrireki_->count() == 0) {
        MyMsgBoxShow(QStringLiteral("履歴がありません。"), MsgOk);
        return;
    }
    const int row = lstrireki_->currentRow();
    if (row < 0 || !lstrireki_->item(row)->isSelected()) {
        MyMsgBoxShow(kChooseOne, MsgOk);
        return;
    }
    HistoryStore& history = ctx_.history();
    switch (kind_) {
    case HistoryKind::Phone:
        history.DeletePhoneHistory(row);
        history.LoadPhoneHistory();
        break;
    case HistoryKind::Area104:
        history.Delete104History(row);
        history.Load104History();
        break;
    case HistoryKind::Industry:
        history.DeleteIndustryHistory(row);
        history.LoadIndustryHistory();
        break;
    }
    fillList();
}

} // namespace pikotel
