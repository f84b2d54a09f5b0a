#include "search/industry/frmmygyoshu.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "common/textfold.h"
#include "platform/messages.h"
#include "search/industry/industrysearch.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include <iterator>

namespace pikotel {

namespace {

const QString kNew = QStringLiteral("新規");
const QString kModify = QStringLiteral("修正");
const QString kAlreadySet = QStringLiteral("指定した項目は既に設定されています。");
const QColor kEditColour(180, 250, 250);
const QColor kWhite(255, 255, 255);

// Design size of the client area, in twips.
constexpr int kFormWidth = 8400;
constexpr int kFormHeight = 6420;

void paint(QWidget* w, const QColor& colour) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::Base, colour);
    w->setPalette(palette);
}

bool onlyBlanks(const QString& text) {
    return text.trimmed().isEmpty();
}

} // namespace

frmMyGyoshu::frmMyGyoshu(OriginalIndustries& originals, QString selectedIndustry, QWidget* parent)
    : QDialog(parent), originals_(originals), selectedIndustry_(std::move(selectedIndustry)) {
    setObjectName(QStringLiteral("frmMyGyoshu"));
    setWindowTitle(QStringLiteral("オリジナル業種編集"));
    setAccessibleName(windowTitle());
    setWindowIcon(applicationIcon());
    buildUi();
}

frmMyGyoshu::~frmMyGyoshu() = default;

void frmMyGyoshu::buildUi() {
    setFixedSize(twipsToPixelsX(this, kFormWidth), twipsToPixelsY(this, kFormHeight));
    const auto label = [](QWidget* parent, const char* name, const char* text, QWidget* buddy,
                          int left, int top, int width) {
        QLabel* l = newLabel(parent, QString::fromLatin1(name), QString::fromUtf8(text));
        l->setBuddy(buddy);
        setTwipsGeometry(l, left, top, width, 300);
        return l;
    };
    const auto field = [](QWidget* parent, const char* name, const char* accessible) {
        QLineEdit* box = newField(parent, QString::fromLatin1(name), QString::fromUtf8(accessible));
        box->setMaxLength(OriginalIndustries::kMaxLength);
        return box;
    };
    const auto list = [](QWidget* parent, const char* name, const char* accessible) {
        auto* l = new QListWidget(parent);
        l->setObjectName(QString::fromLatin1(name));
        l->setAccessibleName(QString::fromUtf8(accessible));
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        return l;
    };

    cmbMyGyosyu_ = new QComboBox(this);
    cmbMyGyosyu_->setObjectName(QStringLiteral("CmbMyGyosyu"));
    cmbMyGyosyu_->setAccessibleName(QStringLiteral("登録済業種"));
    cmbMyGyosyu_->setMaxVisibleItems(20);
    setTwipsGeometry(cmbMyGyosyu_, 1560, 200, 3000, 360);
    label(this, "Label4", "登録済業種", cmbMyGyosyu_, 240, 230, 1320);

    frame1_ = newFrame(this, QStringLiteral("Frame1"), QStringLiteral("オリジナル業種名称の設定"));
    setTwipsGeometry(frame1_, 120, 660, 8160, 900);
    txtGyoshu_ = field(frame1_, "TxtGyoshu", "新規作成の業種名入力");
    setTwipsGeometry(txtGyoshu_, 2520, 360, 2400, 360);
    label(frame1_, "Label3", "新規作成の業種名入力", txtGyoshu_, 240, 390, 2240);

    frmMojiRetu_ = newFrame(this, QStringLiteral("FrmMojiRetu"), QStringLiteral("文字列の設定"));
    setTwipsGeometry(frmMojiRetu_, 120, 1680, 8160, 3420);
    target_.box = field(frmMojiRetu_, "TxtTarget", "検索対象 文字列");
    setTwipsGeometry(target_.box, 240, 660, 3000, 360);
    label(frmMojiRetu_, "label1", "検索対象 文字列", target_.box, 240, 330, 3000);
    target_.list = list(frmMojiRetu_, "LstTarget", "検索対象 文字列の一覧");
    setTwipsGeometry(target_.list, 240, 1080, 3000, 1740);
    target_.limitMessage = QStringLiteral("検索対象文字列の設定は%1種類までです。")
                               .arg(OriginalIndustries::kMaxStrings);
    noTarget_.box = field(frmMojiRetu_, "TxtNoTarget", "検索対象外 文字列");
    setTwipsGeometry(noTarget_.box, 4920, 660, 3000, 360);
    label(frmMojiRetu_, "Label2", "検索対象外 文字列", noTarget_.box, 4920, 330, 3000);
    noTarget_.list = list(frmMojiRetu_, "LstNoTarget", "検索対象外 文字列の一覧");
    setTwipsGeometry(noTarget_.list, 4920, 1080, 3000, 1740);
    noTarget_.limitMessage = QStringLiteral("検索後対象外文字列の設定は%1種類までです。")
                                 .arg(OriginalIndustries::kMaxStrings);

    cmdAdd_ = newTextButton(frmMojiRetu_, QStringLiteral("cmdAdd"), QStringLiteral("対象外へ →"));
    setTwipsGeometry(cmdAdd_, 3420, 1320, 1320, 420);
    cmdDel_ = newTextButton(frmMojiRetu_, QStringLiteral("cmdDel"), QStringLiteral("← 対象へ"));
    setTwipsGeometry(cmdDel_, 3420, 1920, 1320, 420);
    cmdTagetDell_ =
        newTextButton(frmMojiRetu_, QStringLiteral("CmdTagetDell"), QStringLiteral("削除"));
    setTwipsGeometry(cmdTagetDell_, 240, 2910, 1200, 390);
    cmdNoTagetDell_ =
        newTextButton(frmMojiRetu_, QStringLiteral("CmdNoTagetDell"), QStringLiteral("削除"));
    setTwipsGeometry(cmdNoTagetDell_, 4920, 2910, 1200, 390);
    // Tab goes down the target column, through the buttons between the lists, then down the
    // exclusion column.
    QWidget* const columns[] = {target_.box, target_.list,  cmdTagetDell_,  cmdAdd_,
                                cmdDel_,     noTarget_.box, noTarget_.list, cmdNoTagetDell_};
    for (std::size_t i = 1; i < std::size(columns); ++i)
        setTabOrder(columns[i - 1], columns[i]);

    lblStatus_ = newLabel(this, QStringLiteral("lblStatus"), QStringLiteral("メッセージ"));
    lblStatus_->setAccessibleName(QStringLiteral("ヒント"));
    setTwipsGeometry(lblStatus_, 120, 5220, 8160, 300);

    cmd新規_ = newTextButton(this, QStringLiteral("Cmd新規"), QStringLiteral("新規"));
    cmd修正_ = newTextButton(this, QStringLiteral("Cmd修正"), QStringLiteral("修正"));
    cmd削除_ = newTextButton(this, QStringLiteral("Cmd削除"), QStringLiteral("削除"));
    cmd保存_ = newTextButton(this, QStringLiteral("Cmd保存"), QStringLiteral("保存"));
    cmd取消_ = newTextButton(this, QStringLiteral("Cmd取消"), QStringLiteral("取消"));
    cmdExit_ = newPictureButton(this, QStringLiteral("CmdExit"), QStringLiteral("icon_close"),
                                QStringLiteral("閉じる"));
    int left = 120;
    for (QToolButton* b : {cmd新規_, cmd修正_, cmd削除_, cmd保存_, cmd取消_, cmdExit_}) {
        setTwipsGeometry(b, left, 5700, 1260, 540);
        left += 1380;
    }

    connect(cmbMyGyosyu_, &QComboBox::activated, this, [this] { CmbMyGyosyu_Click(); });
    connect(cmd新規_, &QToolButton::clicked, this, &frmMyGyoshu::Cmd新規_Click);
    connect(cmd修正_, &QToolButton::clicked, this, &frmMyGyoshu::Cmd修正_Click);
    connect(cmd削除_, &QToolButton::clicked, this, &frmMyGyoshu::Cmd削除_Click);
    connect(cmd保存_, &QToolButton::clicked, this, &frmMyGyoshu::Cmd保存_Click);
    connect(cmd取消_, &QToolButton::clicked, this, &frmMyGyoshu::Cmd取消_Click);
    connect(cmdExit_, &QToolButton::clicked, this, &QDialog::reject);
    connect(cmdAdd_, &QToolButton::clicked, this, &frmMyGyoshu::cmdAdd_Click);
    connect(cmdDel_, &QToolButton::clicked, this, &frmMyGyoshu::cmdDel_Click);
    connect(cmdTagetDell_, &QToolButton::clicked, this, &frmMyGyoshu::CmdTagetDell_Click);
    connect(cmdNoTagetDell_, &QToolButton::clicked, this, &frmMyGyoshu::CmdNoTagetDell_Click);
    for (StringSide* side : {&target_, &noTarget_}) {
        connect(side->list, &QListWidget::itemDoubleClicked, this,
                [this, side](QListWidgetItem* item) {
                    side->box->setText(item->text());
                    side->box->setFocus();
                    delete side->list->takeItem(side->list->row(item));
                    refreshColours();
                });
    }

    for (QToolButton* b : findChildren<QToolButton*>())
        b->setCursor(handCursor());
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    installEventFilter(this);

    cmd新規_->setEnabled(true);
    for (QToolButton* b : {cmd修正_, cmd削除_, cmd保存_, cmd取消_})
        b->setEnabled(false);
}

void frmMyGyoshu::Form_Load() {
    originals_.load();
    fillCombo();
    browseReset();
    if (!selectedIndustry_.startsWith(kOriginalMark))
        return;
    txtGyoshu_->setText(selectedIndustry_.mid(1));
    cmbMyGyosyu_->setCurrentIndex(
        cmbMyGyosyu_->findText(selectedIndustry_, Qt::MatchExactly | Qt::MatchCaseSensitive));
    CmbMyGyosyu_Click();
}

void frmMyGyoshu::fillCombo() {
    cmbMyGyosyu_->clear();
    for (int i = 0; i < OriginalIndustries::kSlots; ++i) {
        const QString& name = originals_.slot(i).name;
        if (!name.isEmpty())
            cmbMyGyosyu_->addItem(kOriginalMark + name, i);
    }
}

void frmMyGyoshu::browseReset() {
    cmbMyGyosyu_->setCurrentIndex(-1);
    cmbMyGyosyu_->setEnabled(true);
    for (QLineEdit* box : {txtGyoshu_, target_.box, noTarget_.box})
        box->clear();
    target_.list->clear();
    noTarget_.list->clear();
    txtGyoshu_->setEnabled(false);
    frmMojiRetu_->setEnabled(false);
    editMode_.clear();
    refreshColours();
}

void frmMyGyoshu::browseButtons() {
    cmd新規_->setEnabled(true);
    for (QToolButton* b : {cmd修正_, cmd削除_, cmd保存_, cmd取消_})
        b->setEnabled(false);
}

void frmMyGyoshu::editState(const QString& mode) {
    cmbMyGyosyu_->setEnabled(false);
    txtGyoshu_->setEnabled(true);
    txtGyoshu_->setFocus();
    frmMojiRetu_->setEnabled(true);
    for (QToolButton* b : {cmd新規_, cmd修正_, cmd削除_})
        b->setEnabled(false);
    cmd保存_->setEnabled(true);
    cmd取消_->setEnabled(true);
    editMode_ = mode;
    refreshColours();
}

void frmMyGyoshu::refreshColours() {
    const bool editing = !editMode_.isEmpty();
    for (QLineEdit* box : {txtGyoshu_, target_.box, noTarget_.box})
        paint(box, editing ? kEditColour : kWhite);
    for (QListWidget* list : {target_.list, noTarget_.list})
        paint(list, editing && list->count() > 0 ? kEditColour : kWhite);
}

void frmMyGyoshu::CmbMyGyosyu_Click() {
    if (cmbMyGyosyu_->currentText().isEmpty()) {
        txtGyoshu_->clear();
        for (QToolButton* b : {cmd修正_, cmd削除_, cmd保存_, cmd取消_})
            b->setEnabled(false);
        frmMojiRetu_->setEnabled(false);
        return;
    }
    cmd修正_->setEnabled(true);
    cmd削除_->setEnabled(true);
    cmd保存_->setEnabled(false);
    cmd取消_->setEnabled(false);
    currentSlot_ = cmbMyGyosyu_->currentData().toInt();
    const OriginalIndustry& industry = originals_.slot(currentSlot_);
    target_.list->clear();
    noTarget_.list->clear();
    target_.list->addItems(industry.targets);
    noTarget_.list->addItems(industry.exclusions);
    txtGyoshu_->setText(industry.name);
    refreshColours();
}

void frmMyGyoshu::Cmd新規_Click() {
    if (cmbMyGyosyu_->count() >= OriginalIndustries::kMaxIndustries) {
        MyMsgBoxShow(QStringLiteral("オリジナル業種は、%1件までの登録です。\r\n"
                                    "不要業種を削除後、再度登録してください。")
                         .arg(OriginalIndustries::kMaxIndustries),
                     MsgOk);
        return;
    }
    browseReset();
    editState(kNew);
}

void frmMyGyoshu::Cmd修正_Click() {
    editState(kModify);
}

void frmMyGyoshu::Cmd削除_Click() {
    if (MyMsgBoxShow(QStringLiteral("表示されているオリジナル業種を削除しますか？"), MsgYesNo) !=
        MsgResultYes)
        return;
    originals_.remove(currentSlot_);
    changed_ = true;
    fillCombo();
    browseReset();
    browseButtons();
}

void frmMyGyoshu::Cmd保存_Click() {
    const QString name = txtGyoshu_->text();
    if (onlyBlanks(name)) {
        MyMsgBoxShow(QStringLiteral("オリジナル検索業種名称を入力してください。"), MsgOk);
        txtGyoshu_->setFocus();
        return;
    }
    if (name.startsWith(kOriginalMark)) {
        MyMsgBoxShow(QStringLiteral("先頭に※をつけないでください。"), MsgOk);
        return;
    }
    if (target_.list->count() == 0) {
        MyMsgBoxShow(QStringLiteral("検索対象文字列を入力してください。"), MsgOk);
        target_.box->setFocus();
        return;
    }
    const bool creating = editMode_ == kNew;
    const QString question = creating ? QStringLiteral("新規設定を保存しますか？     ")
                                      : QStringLiteral("変更内容の設定を保存しますか？");
    if (MyMsgBoxShow(question, MsgOkCancel) != MsgResultOk)
        return;
    const OriginalIndustry industry{name, strings(target_.list), strings(noTarget_.list)};
    if (creating) {
        if (originals_.saveNew(industry) < 0) {
            MyMsgBoxShow(QStringLiteral("オリジナル業種は、%1件までの登録です。\r\n"
                                        "不要業種を削除後、再度登録してください。")
                             .arg(OriginalIndustries::kMaxIndustries),
                         MsgOk);
            return;
        }
    } else {
        originals_.saveChanged(currentSlot_, industry);
    }
    changed_ = true;
    originals_.load();
    fillCombo();
    browseReset();
    browseButtons();
}

void frmMyGyoshu::Cmd取消_Click() {
    browseReset();
    browseButtons();
}

QStringList frmMyGyoshu::strings(const QListWidget* list) const {
    QStringList texts;
    for (int i = 0; i < list->count() && i < OriginalIndustries::kMaxStrings; ++i)
        texts.append(list->item(i)->text());
    return texts;
}

void frmMyGyoshu::moveSelected(QListWidget* from, QListWidget* to) {
    const QList<QListWidgetItem*> selected = from->selectedItems();
    if (selected.isEmpty())
        return;
    const QString text = selected.first()->text();
    if (!to->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
        MyMsgBoxShow(kAlreadySet, MsgOk);
        return;
    }
    delete from->takeItem(from->row(selected.first()));
    to->addItem(text);
    refreshColours();
}

void frmMyGyoshu::cmdAdd_Click() {
    moveSelected(target_.list, noTarget_.list);
}

void frmMyGyoshu::cmdDel_Click() {
    moveSelected(noTarget_.list, target_.list);
}

void frmMyGyoshu::CmdTagetDell_Click() {
    qDeleteAll(target_.list->selectedItems());
    refreshColours();
}

void frmMyGyoshu::CmdNoTagetDell_Click() {
    qDeleteAll(noTarget_.list->selectedItems());
    refreshColours();
}

void frmMyGyoshu::enterString(StringSide& side) {
    if (side.list->count() >= OriginalIndustries::kMaxStrings) {
        side.box->clear();
        MyMsgBoxShow(side.limitMessage, MsgOk);
        return;
    }
    if (onlyBlanks(side.box->text())) {
        side.box->clear();
        return;
    }
    const QString text = toFullWidth(side.box->text());
    side.box->clear();
    if (!side.list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
        MyMsgBoxShow(kAlreadySet, MsgOk);
        return;
    }
    side.list->addItem(text);
    refreshColours();
}

// Leaving the box keeps what was typed, as typed; blanks alone are not a string.
void frmMyGyoshu::leaveBox(StringSide& side) {
    if (side.list->count() >= OriginalIndustries::kMaxStrings) {
        MyMsgBoxShow(side.limitMessage, MsgOk);
        return;
    }
    const QString text = side.box->text();
    side.box->clear();
    if (onlyBlanks(text))
        return;
    side.list->addItem(text);
    refreshColours();
}

frmMyGyoshu::StringSide* frmMyGyoshu::sideOfBox(QObject* watched) {
    if (watched == target_.box)
        return &target_;
    if (watched == noTarget_.box)
        return &noTarget_;
    return nullptr;
}

frmMyGyoshu::StringSide* frmMyGyoshu::sideOfList(QObject* watched) {
    if (watched == target_.list)
        return &target_;
    if (watched == noTarget_.list)
        return &noTarget_;
    return nullptr;
}

void frmMyGyoshu::showStatus(QObject* watched) {
    static const QList<std::pair<const char*, const char*>> texts = {
        {"Cmd新規", "オリジナル業種の新規登録を行います。"},
        {"Cmd修正", "表示されているオリジナル業種の修正を行います。"},
        {"Cmd削除", "表示されているオリジナル業種の削除を行います。"},
        {"Cmd保存", "表示されているオリジナル業種の内容を保存します。"},
        {"Cmd取消", "表示されている設定を破棄して、編集前の状態に戻します。"},
        {"TxtGyoshu", "オリジナル業種の名称（カテゴリー）を入力してください。"},
        {"TxtTarget", "検索対象とする文字列を入力してください。"},
        {"TxtNoTarget", "検索対象外とする文字列を入力してください。"},
        {"LstTarget", "検索対象とする文字列"},
        {"LstNoTarget", "検索対象外とする文字列"},
        {"cmdDel", "選択されている文字列を対象文字列に移動します。"},
        {"cmdAdd", "選択されている文字列を対象外文字列に移動します。"},
        {"CmdTagetDell", "選択されている対象文字列を削除します。"},
        {"CmdNoTagetDell", "選択されている対象外文字列を削除します。"},
        {"CmdExit", "業種検索画面に戻ります。"},
        {"frmMyGyoshu", ""},
        {"Frame1", ""},
        {"FrmMojiRetu", ""},
    };
    const QString name = watched->objectName();
    for (const auto& [control, text] : texts) {
        if (name == QString::fromUtf8(control)) {
            lblStatus_->setText(QString::fromUtf8(text));
            return;
        }
    }
}

bool frmMyGyoshu::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        showStatus(watched);
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (StringSide* side = sideOfBox(watched)) {
            if (enter) {
                if (!side->box->text().isEmpty())
                    enterString(*side);
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                side->box->clear();
                return true;
            }
        } else if (StringSide* listSide = sideOfList(watched); listSide != nullptr && enter) {
            const QString text = listSide->box->text();
            if (!text.isEmpty()) {
                listSide->box->clear();
                listSide->list->addItem(text);
                refreshColours();
            }
            return true;
        }
        break;
    }
    case QEvent::FocusOut: {
        // Switching to another window is not leaving the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        StringSide* side = sideOfBox(watched);
        if (side != nullptr && !side->box->text().isEmpty() &&
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            leaveBox(*side);
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmMyGyoshu::done(int result) {
    if (!editMode_.isEmpty() &&
        MyMsgBoxShow(QStringLiteral("編集中のデータがあります。\r\n"
                                    "このまま画面を閉じると編集中のデータは保存されません。\r\n"
                                    "画面を終了してもかまいませんか？"),
                     MsgOkCancel) != MsgResultOk)
        return;
    QDialog::done(result);
}

} // namespace pikotel
