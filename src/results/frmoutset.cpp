#include "results/frmoutset.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "core/context.h"
#include "platform/messages.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QToolButton>

namespace pikotel {

namespace {

const QString kChooseColumn = QStringLiteral("列を選択してください。");
const QColor kCurrentColumn(180, 250, 250);
const QString kFullWidthDigits = QStringLiteral("１２３４５６７");

// One sample value per item, in the canonical order.
const char* const kSamples[] = {
    "03-1234-5678", "株式会社ぴこぴこ商事", "〒100-0001", "東京都", "千代田区", "千代田", "１－１"};

void setBase(QListWidget* list, const QColor& colour) {
    QPalette p = list->palette();
    p.setColor(QPalette::Base, colour);
    list->setPalette(p);
}

QStringList itemsOf(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

} // namespace

FrmOutSet::FrmOutSet(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("FrmOutSet"));
    setWindowTitle(QStringLiteral("出力形体拡張設定"));
    setAccessibleName(windowTitle());
    setWindowIcon(applicationIcon());
    setModal(true);
    buildUi();
}

void FrmOutSet::buildUi() {
    setFixedSize(twipsToPixelsX(this, 10600), twipsToPixelsY(this, 6900));

    framOut_ = newFrame(this, QStringLiteral("FramOut0"), QStringLiteral("出力項目"));
    setTwipsGeometry(framOut_, 120, 60, 1800, 3600);
    lstOutList_ = new QListWidget(framOut_);
    lstOutList_->setObjectName(QStringLiteral("LstOutList"));
    lstOutList_->setAccessibleName(QStringLiteral("出力項目"));
    lstOutList_->setSelectionMode(QAbstractItemView::MultiSelection);
    setTwipsGeometry(lstOutList_, 120, 300, 1560, 3180);
    connect(lstOutList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        lstOutList_->clearSelection();
        item->setSelected(true);
        CmdInput_Click();
    });

    cmdInput_ = newTextButton(this, QStringLiteral("CmdInput"), QStringLiteral("配置 →"));
    setTwipsGeometry(cmdInput_, 2040, 1200, 1080, 480);
    cmdOutput_ = newTextButton(this, QStringLiteral("CmdOutput"), QStringLiteral("← 解除"));
    setTwipsGeometry(cmdOutput_, 2040, 1800, 1080, 480);
    cmdClere_ = newTextButton(this, QStringLiteral("CmdClere"), QStringLiteral("全解除"));
    setTwipsGeometry(cmdClere_, 2040, 2400, 1080, 480);
    connect(cmdInput_, &QToolButton::clicked, this, &FrmOutSet::CmdInput_Click);
    connect(cmdOutput_, &QToolButton::clicked, this, &FrmOutSet::CmdOutput_Click);
    connect(cmdClere_, &QToolButton::clicked, this, &FrmOutSet::CmdClere_Click);

    framMeisai_ = newFrame(this, QStringLiteral("FramOut1"), QStringLiteral("出力項目配列"));
    setTwipsGeometry(framMeisai_, 3240, 60, 7240, 3600);
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < kLayoutColumns; ++i) {
        const auto n = static_cast<std::size_t>(i);
        const QString label = kFullWidthDigits.at(i) + QStringLiteral("列目");
        optMeisai_[n] = new QRadioButton(label, framMeisai_);
        optMeisai_[n]->setObjectName(QStringLiteral("OptMeisai%1").arg(i));
        setTwipsGeometry(optMeisai_[n], 120 + i * 1000, 300, 960, 300);
        group->addButton(optMeisai_[n], i);
        lstMeisai_[n] = new QListWidget(framMeisai_);
        lstMeisai_[n]->setObjectName(QStringLiteral("LstMeisai%1").arg(i));
        lstMeisai_[n]->setAccessibleName(label);
        lstMeisai_[n]->setToolTip(kFullWidthDigits.at(i) + QStringLiteral("列目に出力される項目"));
        lstMeisai_[n]->setSelectionMode(QAbstractItemView::MultiSelection);
        lstMeisai_[n]->installEventFilter(this);
        lstMeisai_[n]->viewport()->setCursor(handCursor());
        setTwipsGeometry(lstMeisai_[n], 120 + i * 1000, 660, 940, 2820);
        connect(lstMeisai_[n], &QListWidget::itemDoubleClicked, this,
                [this, i](QListWidgetItem* item) { takeOut(i, item); });
    }
    connect(group, &QButtonGroup::idClicked, this, &FrmOutSet::OptMeisai_Click);

    frame1_ = newFrame(this, QStringLiteral("Frame1"), QStringLiteral("出力イメージ"));
    setTwipsGeometry(frame1_, 120, 3780, 10360, 1800);
    for (int i = 0; i < kLayoutColumns; ++i) {
        const auto n = static_cast<std::size_t>(i);
        txtImeji_[n] = newField(frame1_, QStringLiteral("TxtImeji%1").arg(i),
                                kFullWidthDigits.at(i) + QStringLiteral("列目の出力イメージ"));
        txtImeji_[n]->setReadOnly(true);
        setTwipsGeometry(txtImeji_[n], 120 + (i % 4) * 2540, 300 + (i / 4) * 660, 2460, 420);
    }

    cmdSave_ = newPictureButton(this, QStringLiteral("cmdSave"), QStringLiteral("icon_ok"),
                                QStringLiteral("保存"));
    setTwipsGeometry(cmdSave_, 7480, 5760, 1440, 540);
    cmdCancel_ = newPictureButton(this, QStringLiteral("cmdCancel"), QStringLiteral("icon_cancel"),
                                  QStringLiteral("キャンセル"));
    setTwipsGeometry(cmdCancel_, 9040, 5760, 1440, 540);
    connect(cmdSave_, &QToolButton::clicked, this, &FrmOutSet::cmdSave_Click);
    connect(cmdCancel_, &QToolButton::clicked, this, &QDialog::reject);

    lblStatus_ = newLabel(this, QStringLiteral("lblStatus"), QString());
    lblStatus_->setAccessibleName(QStringLiteral("状態"));
    setTwipsGeometry(lblStatus_, 120, 6420, 10360, 360);

    for (QWidget* w : {static_cast<QWidget*>(lstOutList_), static_cast<QWidget*>(frame1_)})
        w->installEventFilter(this);
    for (QToolButton* b : {cmdInput_, cmdOutput_, cmdClere_, cmdSave_, cmdCancel_}) {
        b->setCursor(handCursor());
        b->installEventFilter(this);
    }
    lstOutList_->viewport()->setCursor(handCursor());
}

void FrmOutSet::Form_Load() {
    const OutFileInfo layout = LoadOutputLayout(ctx_.store());
    for (int i = 0; i < kLayoutColumns; ++i) {
        const auto n = static_cast<std::size_t>(i);
        lstMeisai_[n]->clear();
        txtImeji_[n]->clear();
        setBase(lstMeisai_[n], Qt::white);
        for (const QString& item : layout[n]) {
            if (!item.isEmpty())
                lstMeisai_[n]->addItem(item);
        }
    }
    optMeisai_[0]->setChecked(true);
    OptMeisai_Click(0);
    rebuildOutList();
    refreshPreviews();
}

bool FrmOutSet::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        rebuildOutList();
    return QDialog::event(event);
}

OutFileInfo FrmOutSet::shownLayout() const {
    OutFileInfo layout;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const QStringList items = itemsOf(lstMeisai_[i]);
        for (std::size_t j = 0; j < layout[i].size() && j < static_cast<std::size_t>(items.size());
             ++j)
            layout[i][j] = items.at(static_cast<qsizetype>(j));
    }
    return layout;
}

void FrmOutSet::OptMeisai_Click(int column) {
    if (column < 0 || column >= kLayoutColumns) {
        MyMsgBoxShow(QStringLiteral("選択されたオプションボタンが範囲外です。"), MsgOk);
        return;
    }
    for (int i = 0; i < kLayoutColumns; ++i) {
        QListWidget* list = lstMeisai_[static_cast<std::size_t>(i)];
        setBase(list, i == column ? kCurrentColumn : QColor(Qt::white));
        if (i != column)
            list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    }
    optMeisai_[static_cast<std::size_t>(column)]->setChecked(true);
    currentColumn_ = column;
}

bool FrmOutSet::placed(const QString& item) const {
    for (const QListWidget* list : lstMeisai_) {
        if (!list->findItems(item, Qt::MatchExactly).isEmpty())
            return true;
    }
    return false;
}

void FrmOutSet::rebuildOutList() {
    lstOutList_->clear();
    for (const QString& item : outputItems()) {
        if (!placed(item))
            lstOutList_->addItem(item);
    }
}

void FrmOutSet::refreshPreviews() {
    const QStringList& items = outputItems();
    for (std::size_t i = 0; i < lstMeisai_.size(); ++i) {
        QString preview;
        for (const QString& item : itemsOf(lstMeisai_[i])) {
            const qsizetype at = items.indexOf(item);
            if (at >= 0)
                preview.append(QString::fromUtf8(kSamples[at]));
        }
        txtImeji_[i]->setText(preview);
        txtImeji_[i]->setCursorPosition(0);
    }
}

void FrmOutSet::CmdInput_Click() {
    if (currentColumn_ < 0) {
        MyMsgBoxShow(kChooseColumn, MsgOk);
        return;
    }
    // In the list's order, whatever order they were selected in.
    QList<QListWidgetItem*> chosen;
    for (int i = 0; i < lstOutList_->count(); ++i) {
        if (lstOutList_->item(i)->isSelected())
            chosen.append(lstOutList_->item(i));
    }
    for (QListWidgetItem* item : chosen)
        placeItem(item);
    refreshPreviews();
}

void FrmOutSet::placeItem(QListWidgetItem* item) {
    if (placed(item->text())) {
        MyMsgBoxShow(QStringLiteral("指定した項目は既に設定されています。"), MsgOk);
        item->setSelected(false);
        return;
    }
    lstMeisai_[static_cast<std::size_t>(currentColumn_)]->addItem(item->text());
    delete lstOutList_->takeItem(lstOutList_->row(item));
}

void FrmOutSet::CmdOutput_Click() {
    if (currentColumn_ < 0) {
        MyMsgBoxShow(kChooseColumn, MsgOk);
        return;
    }
    QListWidget* column = lstMeisai_[static_cast<std::size_t>(currentColumn_)];
    for (int i = 0; i < column->count();) {
        if (column->item(i)->isSelected())
            delete column->takeItem(i);
        else
            ++i;
    }
    rebuildOutList();
    refreshPreviews();
}

void FrmOutSet::takeOut(int column, QListWidgetItem* item) {
    QListWidget* list = lstMeisai_[static_cast<std::size_t>(column)];
    delete list->takeItem(list->row(item));
    rebuildOutList();
    refreshPreviews();
}

void FrmOutSet::CmdClere_Click() {
    if (lstOutList_->count() >= static_cast<int>(outputItems().size()))
        return;
    if (MyMsgBoxShow(QStringLiteral("出力項目配列を出力項目に全て戻します。\r\nよろしいですか？"),
                     MsgYesNo) != MsgResultYes)
        return;
    for (std::size_t i = 0; i < lstMeisai_.size(); ++i) {
        lstMeisai_[i]->clear();
        txtImeji_[i]->clear();
    }
    OptMeisai_Click(0);
    rebuildOutList();
    refreshPreviews();
}

void FrmOutSet::cmdSave_Click() {
    const OutFileInfo layout = shownLayout();
    if (!addressOrderAccepted(layout)) {
        MyMsgBoxShow(QStringLiteral("住所の並びが\r\n"
                                    "都道府県・市区町村・町域名・区域名の順番に出力されません。\r\n"
                                    "出力イメージを確認してみてください。"),
                     MsgOk);
        if (MyMsgBoxShow(QStringLiteral("この出力形態を保存しますか？"), MsgYesNo) != MsgResultYes)
            return;
    }
    if (!SaveOutputLayout(ctx_.store(), layout)) {
        MyMsgBoxShow(QStringLiteral("出力形体設定を保存できませんでした。"), MsgOk);
        return;
    }
    ctx_.kekka().OutFileInfo_Set(layout);
    accept();
}

void FrmOutSet::showStatus(QObject* over) {
    QString text;
    if (over == lstOutList_) {
        text = QStringLiteral("出力可能な情報です。");
    } else if (over == cmdInput_) {
        text = QStringLiteral("指定している列に選択した項目を配置します。");
    } else if (over == cmdOutput_) {
        text = QStringLiteral("選択している項目の配置を解除します。");
    } else if (over == cmdClere_) {
        text = QStringLiteral("全ての項目の配置を解除して初期状態に戻します。");
    } else if (over == cmdSave_) {
        text = QStringLiteral("表示されている配列を保存します。");
    } else if (over == cmdCancel_) {
        text = QStringLiteral("表示されている配列を保存せずに環境設定のメイン画面に戻ります。");
    } else if (over == frame1_) {
        text = QStringLiteral("出力配列のイメージ。");
    } else {
        for (int i = 0; i < kLayoutColumns; ++i) {
            if (over == lstMeisai_[static_cast<std::size_t>(i)])
                text = QString::number(i + 1) +
                       QStringLiteral("列目に出力される情報です。配置された順番に出力されます。");
        }
    }
    lblStatus_->setText(text);
}

bool FrmOutSet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter)
        showStatus(watched);
    else if (event->type() == QEvent::Leave)
        lblStatus_->clear();
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < kLayoutColumns; ++i) {
            if (watched == lstMeisai_[static_cast<std::size_t>(i)])
                OptMeisai_Click(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pikotel
