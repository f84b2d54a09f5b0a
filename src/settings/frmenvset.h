#pragma once

// The settings screen ("環境設定"): the only place where the user changes the environment
// values. Who opened it (Pcall_Type) decides what it offers: the main menu's screen (the
// main menu, or start-up when no dictionary opened) lets the user choose the dictionary
// drive; a search screen's does not. Saving checks the input, writes every value, re-opens
// the dictionaries and, when the drive changed between hard disk and CD-ROM, ends the
// program so it restarts on the new drive.

#include "settings/envsave.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace pikotel {

class AppContext;

class FrmEnvset final : public QDialog {
    Q_OBJECT
public:
    // callType: the Pcall_Type ("初期メイン", "メイン", "電話", "１０４", "業種", "郵便").
    // over: the caller's window (start-up's screen shows it again when it closes).
    // afterSave runs once the values are saved; endProgram ends the program at once,
    // without the shutdown steps, after a change of the dictionary drive.
    FrmEnvset(AppContext& ctx, QString callType, QWidget* over, std::function<void()> afterSave,
              std::function<void()> endProgram);

    void Form_Load();

    bool mainMenuScreen() const;
    // What the controls hold now.
    EnvFormValues formValues() const;
    int selViewer() const { return selViewer_; }

    void optDic_Click(int index);
    void CmbHideExe_Click();
    void cmdView_Click();
    void cmdView2_Click();
    void cmdUpdate_Click();
    void CmdEnv_Click();
    void cmdSave_Click();
    void cmdCancel_Click();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using OptionPair = std::array<QRadioButton*, 2>;

    void buildUi();
    QGroupBox* newOptionPair(const QString& frameName, const QString& frameTip,
                             const QString& optionName, const QStringList& captions,
                             const QStringList& tips, OptionPair& pair);
    void fillDriveList(const QString& shownRoot);
    void showOutFileTip();
    void focusField(EnvField field);
    void Form_Unload();

    AppContext& ctx_;
    const QString callType_;
    QPointer<QWidget> over_;
    std::function<void()> afterSave_;
    std::function<void()> endProgram_;

    int selViewer_ = 0;
    bool openedWithCd_ = false;
    QString spreadsheetPath_;
    QString wordProcessorPath_;
    bool unloaded_ = false;

    QGroupBox* fraDicDrvChange_ = nullptr;
    OptionPair optDic_{};
    QLabel* lblDriveNm_ = nullptr;
    QComboBox* drvCdrom_ = nullptr;
    QLabel* lblCaution_ = nullptr;
    QLineEdit* txtXchdbAdd_ = nullptr;
    QToolButton* cmdView2_ = nullptr;
    QToolButton* cmdClear1_ = nullptr;
    QLineEdit* txtOutFile_ = nullptr;
    QToolButton* cmdView_ = nullptr;
    QToolButton* cmdClear2_ = nullptr;
    QComboBox* cmbHideExe_ = nullptr;
    OptionPair optDTelUse_{};
    QLabel* lblDefaultTel_ = nullptr;
    QLineEdit* txtDefaultTel_ = nullptr;
    OptionPair optBeforeExec_{};
    OptionPair optSeiMei_{};
    OptionPair optAni_{};
    OptionPair optOutForm_{};
    OptionPair optTelHifon_{};
    OptionPair optZipHifon_{};
    OptionPair optZipMark_{};
    QComboBox* cmbStartUpForm_ = nullptr;
    QToolButton* cmdEnv_ = nullptr;
    QToolButton* cmdUpdate_ = nullptr;
    QToolButton* cmdSave_ = nullptr;
    QToolButton* cmdCancel_ = nullptr;
};

} // namespace pikotel
