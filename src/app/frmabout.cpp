#include "app/frmabout.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "core/context.h"
#include "platform/messages.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVersionNumber>

#include <cmath>

namespace pikotel {

namespace {

// Design, in pixels at 96 dpi.
constexpr int kWidth = 460;
constexpr int kHeight = 448;
constexpr int kTextLeft = 100;
constexpr int kLineTop = 174;
constexpr QRect kPanel(20, 186, 420, 100);
constexpr int kRowHeight = 22;
constexpr int kNameWidth = 230;
constexpr int kDateLeft = 240;
constexpr int kDateWidth = 172;
// Rows overlap by this much so that they sit as one table (twips).
constexpr int kRowOverlap = 15;
// XCHDB.DIC files dated before this month are from the old CD-ROMs.
const QString kNewCdRomMonth = QStringLiteral("2003/02");

QLabel* newLabel(QWidget* parent, const QString& objectName, const QString& text, QRect rect) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(rect);
    return label;
}

// The file's last change in the user's date and time format; empty when it cannot be read.
QString fileDate(const QString& path) {
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return QLocale::system().toString(info.lastModified(), QLocale::ShortFormat);
}

QDateTime fileTime(const QString& path) {
    return QFileInfo(path).lastModified();
}

// The CD-ROM drive root followed by a file name; empty without a drive.
QString onCdDrive(const QString& cdDrive, const QString& name) {
    return cdDrive.isEmpty() ? QString() : joinPath(cdDrive, name);
}

} // namespace

QString programVersionText() {
    QString text = QCoreApplication::applicationVersion();
    if (text.isEmpty())
        text = QStringLiteral(PIKOTEL_VERSION);
    const QVersionNumber v = QVersionNumber::fromString(text);
    return QStringLiteral("%1.%2.%3")
        .arg(v.majorVersion())
        .arg(v.minorVersion())
        .arg(v.microVersion());
}

void DrawEtchedLine(QWidget* form, QFrame* lineA, QFrame* lineB) {
    if (form == nullptr || lineA == nullptr || lineB == nullptr)
        return;
    const long perPixel = std::lround(twipsPerPixelX(form));
    if (perPixel <= 0)
        return;
    const int x1 = 15;
    const int x2 = static_cast<int>(twipsWidth(form) / perPixel) - 20;
    const int y = lineA->y();
    lineA->setGeometry(x1, y, std::max(0, x2 - x1), 1);
    lineB->setGeometry(x1, y - 1, std::max(0, x2 - x1), 1);
    for (auto [line, role] :
         {std::pair{lineB, QPalette::Dark}, std::pair{lineA, QPalette::Light}}) {
        line->setFrameShape(QFrame::NoFrame);
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, form->palette().color(role));
        line->setPalette(palette);
    }
    lineB->show();
}

frmAbout::frmAbout(const DictionaryPlaces& places, QWidget* parent)
    : QDialog(parent), Picture2_(new QFrame(this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(kWidth, kHeight);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Picture3"));
    logo->setPixmap(picture(QStringLiteral("appicon")));
    logo->setGeometry(20, 18, 64, 64);

    QLabel* title = newLabel(this, QStringLiteral("LblTitle"), QString(), {kTextLeft, 16, 340, 32});
    QFont titleFont = title->font();
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    title->setFont(titleFont);
    QLabel* version =
        newLabel(this, QStringLiteral("lblVersion"), QString(), {kTextLeft, 52, 340, 20});

    const std::pair<const char*, QString> modes[] = {
        {"lblDescription", QStringLiteral("①電話番号からの検索")},
        {"Label1", QStringLiteral("②NTTの１０４サービス方式での検索")},
        {"Label2", QStringLiteral("③業種からの検索")},
        {"Label3", QStringLiteral("④郵便番号の検索")},
    };
    int top = 82;
    for (const auto& [name, text] : modes) {
        newLabel(this, QString::fromLatin1(name), text, {kTextLeft, top, 340, 20});
        top += 21;
    }

    Line1_[0] = new QFrame(this);
    Line1_[0]->setObjectName(QStringLiteral("Line10"));
    Line1_[0]->setGeometry(15, kLineTop, kWidth - 35, 1);

    Picture2_->setObjectName(QStringLiteral("Picture2"));
    Picture2_->setGeometry(kPanel);
    Picture2_->setFrameShape(QFrame::StyledPanel);
    Picture2_->setFrameShadow(QFrame::Sunken);
    Picture2_->setAutoFillBackground(true);
    QPalette panelPalette = Picture2_->palette();
    panelPalette.setColor(QPalette::Window, panelPalette.color(QPalette::Base));
    Picture2_->setPalette(panelPalette);
    newLabel(Picture2_, QStringLiteral("lblInfoNameHed"), QStringLiteral("辞 書 情 報"),
             {10, 6, kNameWidth, kRowHeight});
    newLabel(Picture2_, QStringLiteral("lblInfoDateHed"), QStringLiteral("更新日時"),
             {kDateLeft, 6, kDateWidth, kRowHeight});
    lblInfoName_[0] = newLabel(Picture2_, QStringLiteral("lblInfoName0"), QString(),
                               {10, 30, kNameWidth, kRowHeight});
    lblInfoDate_[0] = newLabel(Picture2_, QStringLiteral("lblInfoDate0"), QString(),
                               {kDateLeft, 30, kDateWidth, kRowHeight});

    QLabel* notice = newLabel(
        this, QStringLiteral("Label4"),
        QStringLiteral("このソフトウェアおよび付属の辞書の全部または一部を、著作権者の許可なく"
                       "複製、改変、配布することを禁じます。"),
        {20, 298, 420, 40});
    notice->setWordWrap(true);
    QLabel* rights =
        newLabel(this, QStringLiteral("lblDisclaimer"),
                 QStringLiteral("Copyright (C) 株式会社　ザクロ・コボ  All rights reserved.\n"
                                "収録の電話帳データは、見本として生成した架空のデータです。"),
                 {20, 342, 420, 40});
    rights->setWordWrap(true);

    auto* publisher = new QLabel(this);
    publisher->setObjectName(QStringLiteral("imgLogo"));
    publisher->setPixmap(picture(QStringLiteral("logo"), QSize(150, 40)));
    publisher->setGeometry(20, 394, 150, 40);

    auto* hand = new QLabel(this);
    hand->setObjectName(QStringLiteral("imgHand"));
    hand->setPixmap(picture(QStringLiteral("hand")));
    hand->hide();

    cmdOK_ =
        new QPushButton(pictureIcon(QStringLiteral("icon_close")), QStringLiteral("閉じる"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setIconSize(QSize(20, 20));
    cmdOK_->setGeometry(kWidth - 20 - 110, 396, 110, 36);
    cmdOK_->setDefault(true);
    cmdOK_->setAutoDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    // Load, in the designed order.
    cmdOK_->setCursor(handCursor());
    Line1_[1] = new QFrame(this);
    Line1_[1]->setObjectName(QStringLiteral("Line11"));
    Line1_[1]->setGeometry(Line1_[0]->geometry());
    DrawEtchedLine(this, Line1_[0], Line1_[1]);
    setWindowTitle(kAppTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    version->setText(QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + programVersionText());
    title->setText(kAppTitle);
    LayoutDicInfo();
    ShowDicInfo(places);
    cmdOK_->setFocus();
}

void frmAbout::LayoutDicInfo() {
    for (size_t i = 1; i <= 2; ++i) {
        for (auto* column : {&lblInfoName_, &lblInfoDate_}) {
            QLabel* above = (*column)[i - 1];
            auto* label = new QLabel(Picture2_);
            label->setObjectName(above->objectName().chopped(1) + QString::number(i));
            label->setTextFormat(Qt::PlainText);
            label->resize(above->size());
            setTwipsLeft(label, twipsLeft(above));
            setTwipsTop(label, twipsTop(above) + twipsHeight(above) - kRowOverlap);
            label->show();
            (*column)[i] = label;
        }
    }
}

DictionaryPlaces DictionaryPlaces::of(AppContext& ctx) {
    DictionaryPlaces places;
    places.programFolder = ctx.programFolder();
    places.cdDrive = ctx.env().text(EnvKey::CdDrive);
    places.deltaFile = ctx.env().text(EnvKey::XchdbAdd);
    places.dicKind = ctx.directory().dicKind();
    places.onCdRom = !ctx.env().firstChoice(EnvKey::DicDrive);
    return places;
}

void frmAbout::ShowDicInfo(const DictionaryPlaces& places) {
    QString kind;
    QString date;
    if (!places.programFolder.isEmpty()) {
        if (places.dicKind != 0) {
            const QString file = onCdDrive(places.cdDrive, QStringLiteral("XCHDB.DIC"));
            date = fileDate(file);
            if (!date.isEmpty())
                kind = fileTime(file).toString(QStringLiteral("yyyy/MM")) < kNewCdRomMonth
                           ? QStringLiteral("(旧版CD-ROM)")
                           : QStringLiteral("(CD-ROM)");
        } else if (places.onCdRom) {
            date = fileDate(onCdDrive(places.cdDrive, QStringLiteral("dxs9999.dct")));
            if (!date.isEmpty())
                kind = QStringLiteral("(CD-ROM)");
        } else {
            date = fileDate(joinPath(places.programFolder, QStringLiteral("DIC/dxs9999.dct")));
            if (!date.isEmpty())
                kind = QStringLiteral("(HDD)");
        }
    }
    lblInfoName_[0]->setText(QStringLiteral(" 電話番号辞書") + kind);
    lblInfoDate_[0]->setText(date);

    lblInfoName_[1]->setText(QStringLiteral(" 郵便番号辞書"));
    lblInfoDate_[1]->setText(
        places.programFolder.isEmpty()
            ? QString()
            : fileDate(joinPath(places.programFolder, QStringLiteral("ZIP/pp00"))));

    lblInfoName_[2]->setText(QStringLiteral(" 差分辞書"));
    lblInfoDate_[2]->setText(fileDate(places.deltaFile));
}

} // namespace pikotel
