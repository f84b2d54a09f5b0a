#include "app/help.h"

#include "app/pictures.h"
#include "core/context.h"
#include "platform/messages.h"
#include "platform/paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace pikotel {

namespace {

struct HelpPage {
    const char* screen;
    const char* page;
};

const HelpPage kPages[] = {
    {"frmMain", "main.html"},         {"frmTelFind", "telfind.html"},
    {"frmJyusho2", "jyusho.html"},    {"frm104Find", "find104.html"},
    {"frmSeimei", "seimei.html"},     {"frmGyoshuFind2", "gyoshu.html"},
    {"frmMyGyoshu", "mygyoshu.html"}, {"frmZipFind3", "zipfind.html"},
    {"frmKekka3", "kekka.html"},      {"FrmOutSet", "outset.html"},
    {"frmEnvset", "envset.html"},     {"frmRirekiSelect", "rireki.html"},
};

// The program's own help window, for a desktop without a browser: one, reused.
class HelpWindow final : public QWidget {
public:
    // Under a modal dialog the window belongs to the dialog, or the dialog would block it.
    explicit HelpWindow(QWidget* modal) : QWidget(modal, Qt::Window) {
        setObjectName(QStringLiteral("frmHelp"));
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("ぴ～こぴこ電話帳１８ ヘルプ"));
        setWindowIcon(applicationIcon());
        browser_ = new QTextBrowser(this);
        browser_->setObjectName(QStringLiteral("txtHelp"));
        browser_->setAccessibleName(QStringLiteral("ヘルプ"));
        // Pages of the help open here, addresses outside it in the desktop's browser.
        browser_->setOpenExternalLinks(true);
        connect(browser_, &QTextBrowser::sourceChanged, this,
                [this] { setWindowTitle(browser_->documentTitle()); });
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser_);
        resize(760, 620);
    }
    void showPage(const QString& file) {
        // The pages' linked style sheet is a browser's business; the text browser takes it
        // as its default one.
        QFile css(QFileInfo(file).dir().filePath(QStringLiteral("help.css")));
        if (css.open(QIODevice::ReadOnly))
            browser_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
        browser_->setSource(QUrl::fromLocalFile(file));
        show();
        raise();
        activateWindow();
    }

private:
    QTextBrowser* browser_ = nullptr;
};

QPointer<HelpWindow> g_helpWindow;

class HelpKey final : public QObject {
public:
    explicit HelpKey(AppContext& ctx, QObject* parent) : QObject(parent), ctx_(ctx) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        // The first receiver takes it, so the key is not handled again on its way up.
        const auto* widget = qobject_cast<const QWidget*>(watched);
        OpenHelp(ctx_, helpPageFor(widget != nullptr ? widget : QApplication::activeWindow()));
        return true;
    }

private:
    AppContext& ctx_;
};

} // namespace

QString helpPageOf(const QString& screenName) {
    for (const HelpPage& p : kPages) {
        if (screenName == QLatin1String(p.screen))
            return QString::fromLatin1(p.page);
    }
    return QString::fromLatin1(kHelpContents);
}

QString helpPageFor(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (!w->isWindow())
            continue;
        const QString page = helpPageOf(w->objectName());
        if (page != QLatin1String(kHelpContents))
            return page;
    }
    return QString::fromLatin1(kHelpContents);
}

void OpenHelp(AppContext& ctx, const QString& page) {
    const QString help = joinPath(ctx.programFolder(), QStringLiteral("help/") + page);
    if (!QFile::exists(help)) {
        MyMsgBoxShow(QStringLiteral("ヘルプが見つかりません。"), MsgOk);
        return;
    }
    if (ctx.launcher().openWithDesktop(help))
        return;
    QWidget* modal = QApplication::activeModalWidget();
    if (!g_helpWindow.isNull() && g_helpWindow->parentWidget() != modal)
        delete g_helpWindow.data();
    if (g_helpWindow.isNull())
        g_helpWindow = new HelpWindow(modal);
    g_helpWindow->showPage(help);
}

QObject* installHelpKey(QApplication& app, AppContext& ctx) {
    auto* key = new HelpKey(ctx, &app);
    app.installEventFilter(key);
    return key;
}

} // namespace pikotel
