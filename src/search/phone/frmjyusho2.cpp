#include "search/phone/frmjyusho2.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "common/texthelpers.h"
#include "platform/messages.h"
#include "platform/services.h"

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
QString formattedCode(const QString& code) {
    return code.left(3) + u'-' + code.mid(3);
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

frmJyusho2::~frmJyusho2() = default;

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
        labels_[i]->setBuddy(list);
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
    if (!postal_.open(postalFolder(programFolder_))) {
        MyMsgBoxShow(kMsgOpenFailed, MsgOk);
        exchange_.resultFlag = 1;
        return;
    }

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

bool frmJyusho2::run(ModalScreens& modals) {
    Form_Load();
    if (exchange_.resultFlag == 1) {
        postal_.close();
        return false;
    }
    modals.exec(*this);
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
    const zipcomp::ZipError& e = postal_.lastError();
    ShowUnexpectedError(e.number, e.description);
    return false;
}

bool frmJyusho2::addEntries(int level, const QList<PostalEntry>& entries) {
    for (const PostalEntry& e : entries) {
        tables_[level].append({e.code, {e.name, e.reading}});
        addItem(level, e.name + u'\t' + e.reading);
    }
    return true;
}

bool frmJyusho2::fillPrefectures() {
    QList<PostalEntry> entries;
    return postal_.prefectures(entries, number_) ? addEntries(Prefecture, entries) : failed();
}

bool frmJyusho2::fillCities(int prefectureCode) {
    QList<PostalEntry> entries;
    return postal_.cities(prefectureCode, entries, number_) ? addEntries(City, entries) : failed();
}

bool frmJyusho2::fillTowns(int cityCode) {
    QList<PostalTown> towns;
    if (!postal_.towns(cityCode, towns, number_))
        return failed();
    for (const PostalTown& town : towns) {
        Row row{formattedCode(town.code), {town.name, town.reading, town.note, town.noteReading}};
        const QString texts = row.texts.join(u' ');
        tables_[Town].append(row);
        addItem(Town, startsWithDigit(row.code) ? row.code.leftJustified(8) + u'|' + texts : texts);
    }
    return true;
}

bool frmJyusho2::fillBlocks(int cityCode, const QString& townName) {
    QList<PostalEntry> blocks;
    if (!postal_.blocks(cityCode, townName, blocks, number_))
        return failed();
    for (const PostalEntry& block : blocks) {
        Row row{formattedCode(block.code), {block.name, block.reading}};
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
    postal_.close();
    QDialog::done(result);
}

} // namespace pikotel
