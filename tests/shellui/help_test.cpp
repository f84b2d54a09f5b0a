#include "app/help.h"
#include "app/scriptedmessages.h"
#include "shellui/shellui_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <memory>

using namespace pikotel;
using namespace pikotel::test;

namespace {

const QString kHelpSource = QStringLiteral(PIKOTEL_HELP_DIR);

// Every screen and dialog a user can press F1 or a help button in.
const char* const kScreens[] = {"frmMain",   "frmTelFind",     "frmJyusho2",  "frm104Find",
                                "frmSeimei", "frmGyoshuFind2", "frmMyGyoshu", "frmZipFind3",
                                "frmKekka3", "FrmOutSet",      "frmEnvset",   "frmRirekiSelect"};

class Launcher final : public ProcessLauncher {
public:
    bool openWithDesktop(const QString& file) override {
        opened.append(file);
        return browserRegistered;
    }
    bool startDetached(const QString&, const QStringList&, const QString&) override { return true; }
    bool browserRegistered = true;
    QStringList opened;
};

class Help : public ::testing::Test {
protected:
    Help() {
        auto l = std::make_unique<Launcher>();
        launcher = l.get();
        f.ctx->setLauncher(std::move(l));
        const QString help = f.dir.file(QStringLiteral("help"));
        QDir().mkpath(help);
        for (const QString& name : QDir(kHelpSource).entryList(QDir::Files))
            QFile::copy(kHelpSource + u'/' + name, help + u'/' + name);
    }
    ~Help() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String("frmHelp"))
                delete w;
        }
    }
    QString page(const QString& name) const { return f.dir.file(QStringLiteral("help/") + name); }
    static QWidget* helpWindow() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String("frmHelp") && w->isVisible())
                return w;
        }
        return nullptr;
    }

    ContextFixture f;
    Launcher* launcher = nullptr;
};

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(HelpPages, EveryScreenHasItsOwnPageListedInTheContents) {
    const QString contents = readAll(kHelpSource + QStringLiteral("/index.html"));
    QStringList pages;
    for (const char* screen : kScreens) {
        const QString page = helpPageOf(QString::fromLatin1(screen));
        EXPECT_NE(page, QLatin1String(kHelpContents)) << screen;
        EXPECT_FALSE(pages.contains(page)) << screen << " shares a page";
        pages.append(page);
        const QString text = readAll(kHelpSource + u'/' + page);
        EXPECT_TRUE(text.contains(QStringLiteral("<h1>"))) << page.toStdString();
        EXPECT_TRUE(contents.contains(QStringLiteral("href=\"%1\"").arg(page)))
            << page.toStdString();
    }
    EXPECT_EQ(helpPageOf(QStringLiteral("frmAbout")), QLatin1String(kHelpContents));
}

TEST(HelpPages, EveryLinkLeadsToAPageOfTheHelp) {
    const QRegularExpression href(QStringLiteral("href=\"([^\"#]*)"));
    const QStringList files = QDir(kHelpSource).entryList({QStringLiteral("*.html")});
    ASSERT_GE(files.size(), 14);
    for (const QString& file : files) {
        const QString text = readAll(kHelpSource + u'/' + file);
        EXPECT_TRUE(text.contains(QStringLiteral("<meta charset=\"utf-8\">")))
            << file.toStdString();
        for (auto m = href.globalMatch(text); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (target.startsWith(QLatin1String("http")))
                continue;
            EXPECT_TRUE(QFile::exists(kHelpSource + u'/' + target))
                << file.toStdString() << " links to " << target.toStdString();
        }
    }
}

TEST_F(Help, OpensThePageInTheBrowserOrSaysItIsMissing) {
    OpenHelp(*f.ctx, QStringLiteral("kekka.html"));
    EXPECT_EQ(launcher->opened, QStringList{page(QStringLiteral("kekka.html"))});
    EXPECT_EQ(helpWindow(), nullptr);

    ScriptedMessagePresenter messages;
    OpenHelp(*f.ctx, QStringLiteral("nosuch.html"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("ヘルプが見つかりません。")});
}

TEST_F(Help, WithoutABrowserThePagesOpenInTheProgramsOwnWindow) {
    launcher->browserRegistered = false;
    OpenHelp(*f.ctx, QStringLiteral("kekka.html"));
    QWidget* window = helpWindow();
    ASSERT_NE(window, nullptr);
    auto* browser = window->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(page(QStringLiteral("kekka.html"))));
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("検索結果")));

    // The first link of a page leads back to the contents; following it by the keyboard
    // loads that page in the same window.
    window->activateWindow();
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(page(QStringLiteral("index.html"))));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("郵便番号検索")));

    OpenHelp(*f.ctx, QStringLiteral("zipfind.html"));
    EXPECT_EQ(helpWindow(), window) << "one help window, reused";
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(page(QStringLiteral("zipfind.html"))));
}

TEST_F(Help, F1OpensThePageOfTheWindowItIsPressedIn) {
    QObject* key = installHelpKey(*qobject_cast<QApplication*>(qApp), *f.ctx);
    QWidget results;
    results.setObjectName(QStringLiteral("frmKekka3"));
    auto* field = new QLineEdit(&results);
    results.show();
    QTest::keyClick(field, Qt::Key_F1);
    EXPECT_EQ(launcher->opened, QStringList{page(QStringLiteral("kekka.html"))})
        << "once, not again for each parent the key passes";

    // A message over a dialog has no page: the dialog's is opened.
    QWidget dictionary;
    dictionary.setObjectName(QStringLiteral("frmSeimei"));
    QDialog message(&dictionary);
    message.setObjectName(QStringLiteral("frmMsg"));
    message.show();
    launcher->opened.clear();
    QTest::keyClick(&message, Qt::Key_F1);
    EXPECT_EQ(launcher->opened, QStringList{page(QStringLiteral("seimei.html"))});

    QWidget other;
    other.show();
    launcher->opened.clear();
    QTest::keyClick(&other, Qt::Key_F1);
    QTest::keyClick(&other, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(launcher->opened, QStringList{page(QStringLiteral("index.html"))});
    delete key;
}

} // namespace
