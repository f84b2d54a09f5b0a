#include "search/area104/frmseimei.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "common/cp932.h"
#include "common/textfold.h"
#include "core/context.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "seimei/seimei.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include <cstring>

namespace pikotel {

namespace {

const QString kCaption = QStringLiteral("姓名辞書");
const QString kInstruction = QStringLiteral("姓名漢字候補から該当する姓名を選択してください。");
const QString kMsgNoDictionary =
    QStringLiteral("ぴこぴこ電話帳のフォルダに姓名辞書ファイルがありません。");
const QString kMsgChooseSei = QStringLiteral("姓を選択してください。");
const QString kMsgChooseMei = QStringLiteral("名を選択してください。");
const QString kDictionaryFile = QStringLiteral("Seimei.dic");

// Design size of the client area, in twips.
constexpr int kFormWidth = 6600;
constexpr int kFormHeight = 5160;

// A blank is a half-width or a full-width space, wherever a name is split or trimmed.
bool isBlank(QChar c) {
    return c == u' ' || c == u'\u3000';
}

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1)))
        --end;
    return text.left(end);
}

QString withoutLeadingBlanks(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && isBlank(text.at(start)))
        ++start;
    return text.mid(start);
}

qsizetype firstBlank(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isBlank(text.at(i)))
            return i;
    }
    return -1;
}

// What the dictionary is asked with: hiragana to katakana, then full width to half width.
QString toReading(const QString& text) {
    return toHalfWidth(hiraganaToKatakana(text));
}

// setsp: the first blank of the text, or nothing.
QString firstBlankOf(const QString& text) {
    const qsizetype at = firstBlank(text);
    return at < 0 ? QString() : text.mid(at, 1);
}

// seiset: without leading blanks, up to and including the first blank; all of it without one.
QString surnameWithBlank(const QString& text) {
    const QString trimmed = withoutLeadingBlanks(text);
    const qsizetype at = firstBlank(trimmed);
    return at < 0 ? trimmed : trimmed.left(at + 1);
}

// A written form as the component returns it: up to its NUL or the field's end, and without
// the blanks a fixed field may be filled with.
QString writtenForm(const HNameCandidateRec& rec) {
    const auto* end = static_cast<const char*>(std::memchr(rec.name, 0, sizeof rec.name));
    const qsizetype length = end ? end - rec.name : qsizetype(sizeof rec.name);
    return withoutTrailingBlanks(fromCp932(rec.name, length));
}

} // namespace

frmSeimei::frmSeimei(AppContext& ctx, const SeimeiCaller& caller, QWidget* parent)
    : QDialog(parent), ctx_(ctx), caller_(caller) {
    setObjectName(QStringLiteral("frmSeimei"));
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    buildUi();
}

frmSeimei::~frmSeimei() {
    closeDictionary();
}

QString frmSeimei::dictionaryPath(const QString& programFolder) {
    return joinPath(programFolder, kDictionaryFile);
}

void frmSeimei::buildUi() {
    setFixedSize(twipsToPixelsX(this, kFormWidth), twipsToPixelsY(this, kFormHeight));
    setAccessibleName(kCaption);

    label1_ = newLabel(this, QStringLiteral("Label1"), kInstruction);
    label1_->setAccessibleName(kInstruction);
    setTwipsGeometry(label1_, 120, 120, 6360, 300);

    frame1_ = newFrame(this, QStringLiteral("Frame1"), QStringLiteral("姓名確定"));
    frame1_->setAccessibleName(frame1_->title());
    setTwipsGeometry(frame1_, 120, 480, 6360, 3840);
    const auto list = [this](const QString& labelName, const QString& caption,
                             const QString& listName, int left, QLabel*& label) {
        label = newLabel(frame1_, labelName, caption);
        label->setAccessibleName(caption);
        setTwipsGeometry(label, left, 300, 2880, 300);
        auto* box = new QListWidget(frame1_);
        box->setObjectName(listName);
        box->setAccessibleName(caption);
        box->setSelectionMode(QAbstractItemView::SingleSelection);
        label->setBuddy(box);
        setTwipsGeometry(box, left, 600, 2880, 3060);
        return box;
    };
    lstsei_ = list(QStringLiteral("lblSei"), QStringLiteral("姓"), QStringLiteral("lstsei"), 240,
                   lblSei_);
    lstMei_ = list(QStringLiteral("lblMei"), QStringLiteral("名"), QStringLiteral("lstMei"), 3240,
                   lblMei_);

    cmdKakutei_ = newPictureButton(this, QStringLiteral("cmdKakutei"), QStringLiteral("icon_ok"),
                                   QStringLiteral("確定"));
    setTwipsGeometry(cmdKakutei_, 3600, 4440, 1380, 540);
    connect(cmdKakutei_, &QToolButton::clicked, this, &frmSeimei::cmdKakutei_Click);
    cmdCancel_ = newPictureButton(this, QStringLiteral("cmdCancel"), QStringLiteral("icon_cancel"),
                                  QStringLiteral("キャンセル"));
    setTwipsGeometry(cmdCancel_, 5100, 4440, 1380, 540);
    connect(cmdCancel_, &QToolButton::clicked, this, &frmSeimei::cmdCancel_Click);

    imgHand_ = newLabel(this, QStringLiteral("imgHand"), QString());
    imgHand_->setPixmap(picture(QStringLiteral("hand")));
    imgHand_->setAccessibleName(QStringLiteral("手のポインター"));
    imgHand_->hide();
}

void frmSeimei::Form_Load() {
    setCursor(handCursor());
    if (!openDictionary()) {
        MyMsgBoxShow(kMsgNoDictionary, MsgOk);
        return;
    }
    if (caller_.callform == SeimeiCaller::PhoneScreen) {
        // Surname, first blank, given name; further blanks stay with the given name.
        const QString name = withoutTrailingBlanks(caller_.nameBox->text());
        if (name.isEmpty())
            return;
        const qsizetype blank = firstBlank(name);
        SetSei(toReading(blank < 0 ? name : name.left(blank)));
        SetMei(toReading(blank < 0 ? QString() : name.mid(blank + 1)));
        return;
    }
    SetSei(toReading(caller_.surnameBox->text()));
    SetMei(toReading(caller_.givenNameBox->text()));
}

int frmSeimei::run() {
    Form_Load();
    return ctx_.modals().exec(*this);
}

bool frmSeimei::openDictionary() {
    const QString path = dictionaryPath(ctx_.programFolder());
    const QByteArray bytes = QFile::encodeName(path);
    HNameOpenRec rec{};
    // A path longer than the record's field cannot be handed over; it is no dictionary here.
    if (std::size_t(bytes.size()) > sizeof rec.path)
        return false;
    std::memcpy(rec.path, bytes.constData(), std::size_t(bytes.size()));
    rec.pathLength = static_cast<std::int32_t>(path.size() * 2);
    std::int32_t handle = 0;
    if (HNameDB_Open(&rec, &handle) >= 1)
        return false;
    handle_ = handle;
    return true;
}

void frmSeimei::closeDictionary() {
    if (handle_ > 0)
        HNameDB_Close(handle_);
    handle_ = 0;
}

void frmSeimei::SetSei(const QString& reading) {
    lookUp(reading, lstsei_);
}

void frmSeimei::SetMei(const QString& reading) {
    lookUp(reading, lstMei_);
}

void frmSeimei::lookUp(const QString& reading, QListWidget* list) {
    if (reading.isEmpty() || handle_ <= 0)
        return;
    HNameSearchRec search{};
    const QByteArray key = toCp932(reading);
    if (std::size_t(key.size()) > sizeof search.key)
        return;
    std::memcpy(search.key, key.constData(), std::size_t(key.size()));
    search.keyLength = static_cast<std::int32_t>(reading.size() * 2);
    if (HNameDB_Search(handle_, &search) != 0)
        return;
    for (std::int32_t i = 0; i < search.count; ++i) {
        HNameCandidateRec rec{};
        HNameDB_GetName(handle_, i, &rec);
        list->addItem(writtenForm(rec));
    }
}

QListWidgetItem* frmSeimei::chosen(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

void frmSeimei::cmdKakutei_Click() {
    const QListWidgetItem* sei = chosen(lstsei_);
    const QListWidgetItem* mei = chosen(lstMei_);
    if (lstsei_->count() > 0 && sei == nullptr) {
        MyMsgBoxShow(kMsgChooseSei, MsgOk);
        return;
    }
    if (lstMei_->count() > 0 && mei == nullptr) {
        MyMsgBoxShow(kMsgChooseMei, MsgOk);
        return;
    }
    if (caller_.callform == SeimeiCaller::PhoneScreen) {
        QLineEdit* box = caller_.nameBox;
        box->window()->show();
        // The typed blank, full-width or not, goes between the chosen parts; with only one
        // part listed there is nothing to put it between.
        const QString separator = lstsei_->count() > 0 && lstMei_->count() > 0
                                      ? firstBlankOf(withoutLeadingBlanks(box->text()))
                                      : QString();
        if (sei != nullptr)
            box->setText(sei->text() + separator);
        if (mei != nullptr)
            box->setText(surnameWithBlank(box->text()) + mei->text());
    } else {
        caller_.surnameBox->window()->show();
        if (sei != nullptr)
            caller_.surnameBox->setText(sei->text());
        if (mei != nullptr)
            caller_.givenNameBox->setText(mei->text());
    }
    accept();
}

void frmSeimei::cmdCancel_Click() {
    reject();
    QLineEdit* box =
        caller_.callform == SeimeiCaller::PhoneScreen ? caller_.nameBox : caller_.surnameBox;
    box->window()->show();
    box->setFocus();
}

void frmSeimei::done(int result) {
    closeDictionary();
    QDialog::done(result);
}

} // namespace pikotel
