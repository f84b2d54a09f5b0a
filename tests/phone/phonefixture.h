#pragma once

// A program folder with a small telephone directory (DIC/dxs9999.dct) and a small postal-code
// dictionary with exchange codes (ZIP/pp00), a fresh context over it, a hidden main menu and
// scripted messages.

#include "app/frmmain.h"
#include "app/scriptedmessages.h"
#include "search/phone/frmjyusho2.h"
#include "shell/recordingscreens.h"
#include "shell/shellfixture.h"

#include <QMap>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class QWidget;

namespace pikotel::test {

class PhoneFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the directory into the program folder's DIC folder.
    void buildDirectory();
    // Builds the postal-code dictionary into the program folder's ZIP folder.
    void buildZip();

    // The values of the MRU key, by name.
    QMap<QString, QString> mruValues();

    std::unique_ptr<ShellFixture> shell;
    std::unique_ptr<ScriptedMessagePresenter> messages;
    RecordingScreens screens;
    std::unique_ptr<frmMain> mainMenu;
};

// Types a text into a widget as an input method commits it (Japanese text included).
void typeText(QWidget* widget, const QString& text);

// Acts on the address dialog while it is shown modally: the next time events run, act runs on
// the open dialog, which is then closed if act left it open. Records whether it was shown.
class AddressDialogDriver {
public:
    void onShow(std::function<void(frmJyusho2&)> act);
    bool shown() const { return *shown_; }

private:
    // Shared with the pending timer, which may outlive the driver.
    std::shared_ptr<bool> shown_ = std::make_shared<bool>(false);
};

// Text of a list's items.
QStringList itemTexts(const class QListWidget* list);

} // namespace pikotel::test
