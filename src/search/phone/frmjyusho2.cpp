#include "search/phone/frmjyusho2.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "common/cp932.h"
#include "common/texthelpers.h"
#include "platform/messages.h"
#include "platform/paths.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>

namespace pikotel {

namespace {

const QString kCaption = QStringLiteral("住所確定（郵便局番辞書より）");
const QString kInstruction = QStringLiteral(
    "都道府県・市区町村・町域名（・区域名）を選択して確定ボタンをクリックしてください。");
const QString kMsgOpenFailed = QStringLiteral("局番辞書のオープンで異常がありました。");
const QString kMsgNotRegistered =
    QStringLiteral("入力した電話番号は局番辞書に登録されていません。");

// Design size of the client area, in twips.
constexpr int kFormWidth = 10800;
constexpr int kFormHeight = 6720;

struct ListPlace {
    const char* labelName;
    const char* labelText;
    int left, top, width, height;
};
// Prefectures and cities above, towns and blocks (whose texts are long) below.
constexpr std::array<ListPlace, 4> kLists{{
    {"lblken", "都道府県", 180, 900, 5160, 1500},
    {"lblSi", "市区町村", 5460, 900, 5160, 1500},
    {"lblChou", "町域名", 180, 2760, 5160, 3000},
    {"lblKu", "区域名", 5460, 2760, 5160, 3000},
}};
constexpr int kLabelHeight = 300;

bool startsWithDigit(const QString& text) {
    return !text.isEmpty() && text.at(0) >= u'0' && text.at(0) <= u'9';
}

// A postal code as the lists show it: its first three characters, "-", the rest.
QString formattedCode(const QByteArray& code) {
    const QString text = fromCp932(code);
    return text.left(3) + u'-' + text.mid(3);
}

// The hourglass while a list fills.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

frmJyusho2::frmJyusho2(const QString& programFolder, JyushoExchange& exchange, QWidget* parent)
    : QDialog(parent), programFolder_(programFolder), exchange_(exchange) {
    setObjectName(QStringLiteral("frmJyusho2"));
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    buildUi();
}

frmJyusho2::~frmJyusho2() {
    closeComponent();
}

void frmJyusho2::buildUi() {
    setFixedSize(twipsToPixelsX(this, kFormWidth), twipsToPixelsY(this, kFormHeight));

    label1_ = new QLabel(kInstruction, this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextFormat(Qt::PlainText);
    setTwipsGeometry(label1_, 180, 120, 10440, kLabelHeight);
    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName(QStringLiteral("LblTitle"));
    lblTitle_->setTextFormat(Qt::PlainText);
    setTwipsGeometry(lblTitle_, 180, 480, 10440, kLabelHeight);

    for (int i = 0; i < 4; ++i) {
        const ListPlace& p = kLists[i];
        labels_[i] = new QLabel(QString::fromUtf8(p.labelText), this);
        labels_[i]->setObjectName(QString::fromLatin1(p.labelName));
        setTwipsGeometry(labels_[i], p.left, p.top, p.width, kLabelHeight);
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("lstAddress%1").arg(i));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setCursor(Qt::ArrowCursor);
        setTwipsGeometry(list, p.left, p.top + kLabelHeight, p.width, p.height);
        connect(list, &QListWidget::currentRowChanged, this, [this, i](int row) {
            if (row >= 0)
                lstAddress_Click(i);
        });
        lstAddress_[i] = list;
    }

    cmdExec_ = newPictureButton(this, QStringLiteral("CmdExec"), QStringLiteral("icon_ok"),
                                QStringLiteral("確定"));
    setTwipsGeometry(cmdExec_, 7740, 6060, 1380, 540);
    connect(cmdExec_, &QToolButton::clicked, this, &frmJyusho2::cmdExec_Click);
    cmdModori_ = newPictureButton(this, QStringLiteral("cmdModori"), QStringLiteral("icon_cancel"),
                                  QStringLiteral("戻る"));
    setTwipsGeometry(cmdModori_, 9240, 6060, 1380, 540);
    connect(cmdModori_, &QToolButton::clicked, this, &frmJyusho2::cmdModori_Click);
    for (QToolButton* b : {cmdExec_, cmdModori_})
        b->setCursor(handCursor());
}

void frmJyusho2::Form_Load() {
    exchange_.resultFlag = 0;
    lblTitle_->setText(QStringLiteral("電話番号：") + exchange_.telNo);
    zip_.SetKeyBlock(QString::fromLatin1(zipcomp::kProgramKeyBlock));
    zip_.SetFolder(joinPath(programFolder_, QStringLiteral("ZIP")));
    if (zip_.OpenDictionary() != zipcomp::kOpened) {
        MyMsgBoxShow(kMsgOpenFailed, MsgOk);
        exchange_.resultFlag = 1;
        return;
    }
    open_ = true;

    // A blank text would ask the component for every prefecture, not for an exchange.
    number_ = DelHifon(exchange_.telNo.trimmed());
    bool listed = false;
    if (number_.isEmpty()) {
        MyMsgBoxShow(kMsgNotRegistered, MsgOk);
    } else if (fillPrefectures()) {
        listed = lstAddress_[Prefecture]->count() > 0;
        if (!listed)
            MyMsgBoxShow(kMsgNotRegistered, MsgOk);
    }
    if (!listed) {
        exchange_.resultFlag = 1;
        exchange_.zip.clear();
        exchange_.pref.clear();
        exchange_.city.clear();
        exchange_.town.clear();
        exchange_.block.clear();
        return;
    }
    // Each choice fills the next level. The first block is chosen as well, so that
    // confirming at once gives the postal code of a town divided into blocks too.
    for (QListWidget* list : lstAddress_) {
        if (list->count() > 0)
            list->setCurrentRow(0);
    }
}

bool frmJyusho2::run() {
    Form_Load();
    if (exchange_.resultFlag == 1) {
        closeComponent();
        return false;
    }
    exec();
    return confirmed_;
}

void frmJyusho2::clearAfter(int index) {
    for (int level = index + 1; level < 4; ++level) {
        const QSignalBlocker block(lstAddress_[level]);
        lstAddress_[level]->clear();
        tables_[level].clear();
    }
}

void frmJyusho2::lstAddress_Click(int index) {
    const Row* row = chosen(index);
    if (row == nullptr)
        return;
    clearAfter(index);
    const WaitCursor wait;
    switch (index) {
    case Prefecture:
        fillCities(row->code.left(2).toInt());
        break;
    case City:
        fillTowns(row->code.toInt());
        break;
    case Town:
        if (row->code == QLatin1String("-")) {
            const Row* city = chosen(City);
            if (city != nullptr)
                fillBlocks(city->code.toInt(), row->texts.value(0));
        }
        break;
    default:
        break;
    }
}

void frmJyusho2::addItem(int level, const QString& text) {
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, static_cast<int>(tables_[level].size() - 1));
    lstAddress_[level]->addItem(item);
}

bool frmJyusho2::failed() {
    const zipcomp::ZipError& e = zip_.LastError();
    ShowUnexpectedError(e.number, e.description);
    return false;
}

bool frmJyusho2::fillPrefectures() {
    const int n = zip_.QueryPrefectures(number_, 0, 0);
    if (n < 0)
        return failed();
    QByteArray code, name, reading;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetPrefecture(i, code, name, reading))
            return failed();
        tables_[Prefecture].append({fromCp932(code), {fromCp932(name), fromCp932(reading)}});
        addItem(Prefecture, fromCp932(name) + u'\t' + fromCp932(reading));
    }
    return true;
}

bool frmJyusho2::fillCities(int prefectureCode) {
    const int n = zip_.QueryCities(number_, 0, prefectureCode, 0);
    if (n < 0)
        return failed();
    QByteArray code, name, reading;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetCity(i, code, name, reading))
            return failed();
        tables_[City].append({fromCp932(code), {fromCp932(name), fromCp932(reading)}});
        addItem(City, fromCp932(name) + u'\t' + fromCp932(reading));
    }
    return true;
}

bool frmJyusho2::fillTowns(int cityCode) {
    const int n = zip_.QueryTowns(number_, 0, cityCode, 0);
    if (n < 0)
        return failed();
    QByteArray code, name, reading, note, noteReading;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetTown(i, code, name, reading, note, noteReading))
            return failed();
        Row row{formattedCode(code),
                {fromCp932(name), fromCp932(reading), fromCp932(note), fromCp932(noteReading)}};
        const QString texts = row.texts.join(u' ');
        tables_[Town].append(row);
        addItem(Town, startsWithDigit(row.code) ? row.code.leftJustified(8) + u'|' + texts : texts);
    }
    return true;
}

bool frmJyusho2::fillBlocks(int cityCode, const QString& townName) {
    const int n = zip_.QueryBlocks(number_, 0, townName, cityCode, 0);
    if (n < 0)
        return failed();
    QByteArray code, name, reading;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetBlock(i, code, name, reading))
            return failed();
        Row row{formattedCode(code), {fromCp932(name), fromCp932(reading)}};
        tables_[Block].append(row);
        addItem(Block, row.code + u'|' + row.texts[0] + u'\t' + row.texts[1]);
    }
    return true;
}

const frmJyusho2::Row* frmJyusho2::chosen(int level) const {
    const QListWidgetItem* item = lstAddress_[level]->currentItem();
    if (item == nullptr)
        return nullptr;
    const int index = item->data(Qt::UserRole).toInt();
    if (index < 0 || index >= tables_[level].size())
        return nullptr;
    return &tables_[level][index];
}

void frmJyusho2::cmdExec_Click() {
    const Row* town = chosen(Town);
    const Row* block = chosen(Block);
    if (town != nullptr && startsWithDigit(town->code))
        exchange_.zip = town->code;
    else
        exchange_.zip = block != nullptr ? block->code : QString();
    const auto name = [this](int level) {
        const Row* row = chosen(level);
        return row != nullptr ? row->texts.value(0) : QString();
    };
    exchange_.pref = name(Prefecture);
    exchange_.city = name(City);
    exchange_.town = name(Town);
    exchange_.block = name(Block);
    confirmed_ = true;
    accept();
}

void frmJyusho2::cmdModori_Click() {
    reject();
}

void frmJyusho2::done(int result) {
    closeComponent();
    QDialog::done(result);
}

void frmJyusho2::closeComponent() {
    if (open_)
        zip_.CloseDictionary();
    open_ = false;
}

} // namespace pikotel
