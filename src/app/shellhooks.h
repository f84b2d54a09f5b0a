#pragma once

// The steps of start-up, shutdown and the main menu that other subsystems provide. Each
// has a default that does nothing and reports success, so the shell runs before those
// subsystems exist; the entry procedure installs the real ones as they arrive.

#include <QString>

#include <functional>

class QWidget;

namespace pikotel {

struct ShellHooks {
    // Carry-over of an earlier version's settings: kind 0 everything, 1 the output layout,
    // 2 the original industries. 1 when something was carried over.
    std::function<int(int kind)> importOldSettings = [](int) { return 0; };

    // Start-up loading, in this order: the 104-style and industry histories, the phone-number
    // history, the output layout, the postal-code history.
    std::function<void()> loadAreaAndIndustryHistories = [] {};
    std::function<void()> loadPhoneHistory = [] {};
    std::function<void()> loadOutputLayout = [] {};
    std::function<void()> loadZipHistory = [] {};
    // True when all seven entries of the output layout are empty.
    std::function<bool()> outputLayoutEmpty = [] { return false; };

    // Hands the output layout, and the separator and hyphen/mark options, to the result list.
    std::function<void()> handLayoutToResultList = [] {};
    std::function<void(int csvType, int telHifon, int zipHifon, int zipMark)>
        handOptionsToResultList = [](int, int, int, int) {};

    // The dictionaries: the open sequence (with or without its failure message), the check
    // before a screen opens (true when the dictionary is unreachable; a message was shown),
    // the alternate engine alone (0 opened), and the close at exit.
    // The context connects these to its directory.
    std::function<void(bool withMessages)> dicOpen;
    std::function<bool()> dicExistChk;
    std::function<int()> xchDicOpen;
    std::function<void()> dicClose;
    // The open again after the settings were stored, without a message.
    std::function<void()> dicReopen;
    // The first CD-ROM root, for a first run.
    std::function<QString()> getCdromDrive;

    // Search screens by screen number 1 to 4 (4 is the postal-code screen in either mode).
    // The main menu enables a command only while its screen exists.
    std::function<bool(int screenNo)> searchScreenAvailable = [](int) { return false; };
    std::function<QWidget*(int screenNo, QWidget* mainMenu)> createSearchScreen =
        [](int, QWidget*) -> QWidget* { return nullptr; };
    // The settings screen for a caller ("初期メイン", "メイン").
    std::function<bool()> settingsScreenAvailable = [] { return false; };
    std::function<QWidget*(const QString& caller, QWidget* mainMenu)> createSettingsScreen =
        [](const QString&, QWidget*) -> QWidget* { return nullptr; };
};

} // namespace pikotel
