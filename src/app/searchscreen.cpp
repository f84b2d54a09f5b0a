#include "app/searchscreen.h"

#include "app/help.h"
#include "app/keyboard.h"
#include "app/pictures.h"
#include "app/placement.h"
#include "app/screens.h"
#include "core/context.h"
#include "results/workbookoutput.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>

namespace pikotel {

SearchScreen::SearchScreen(AppContext& ctx, SearchScreenHost& host, const QString& objectName,
                           const QString& caption, QString settingsCaller)
    : QWidget(nullptr), ctx_(ctx), host_(host), hostWindow_(host.hostWindow()),
      settingsCaller_(std::move(settingsCaller)) {
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(caption);
    setAccessibleName(caption);
    setWindowIcon(applicationIcon());
    ReleaseClosedWorkbook(ctx_);
}

SearchScreen::~SearchScreen() = default;

void SearchScreen::centreOverHost() {
    CenterFormOver(hostWindow_.data(), this);
}

void SearchScreen::openHelp() {
    if (!hostWindow_.isNull())
        host_.openHelp(helpPageOf(objectName()));
}

bool SearchScreen::settingsAvailable() const {
    return !hostWindow_.isNull() && host_.screens().hasSettingsScreen();
}

void SearchScreen::openSettings() {
    if (!settingsAvailable())
        return;
    QWidget* settings =
        host_.screens().createSettingsScreen(settingsCaller_, this, [this] { settingsSaved(); });
    if (settings == nullptr)
        return;
    settings_ = settings;
    settingsOpen_ = true;
    settings->installEventFilter(this);
    // A screen deleted while still shown sends no hide event.
    connect(settings, &QObject::destroyed, this, [this] {
        if (settingsOpen_)
            settingsScreenGone();
    });
    settings->setWindowModality(Qt::ApplicationModal);
    settings->show();
}

void SearchScreen::settingsScreenGone() {
    settingsOpen_ = false;
    if (!settings_.isNull())
        settings_->removeEventFilter(this);
    settings_.clear();
    settingsClosed();
}

bool SearchScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == settings_.data() && event->type() == QEvent::Hide && !event->spontaneous() &&
        settingsOpen_)
        settingsScreenGone();
    return QWidget::eventFilter(watched, event);
}

void SearchScreen::keyPressEvent(QKeyEvent* event) {
    if (!escapePresses(*event, findChild<QAbstractButton*>(QStringLiteral("CmdExit"))))
        QWidget::keyPressEvent(event);
}

void SearchScreen::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
        if (!hostWindow_.isNull())
            host_.searchScreenClosed(this, screenNo());
        else
            ctx_.shell().lastFormNo = static_cast<qint16>(screenNo());
    }
    event->accept();
}

} // namespace pikotel
