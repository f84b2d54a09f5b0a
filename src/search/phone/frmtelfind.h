#pragma once

// The phone-number search screen: a telephone number gives the name and address listed for
// it, one hit at a time with paging. A number that is not listed offers the address of its
// exchange for confirmation (frmJyusho2). The screen lives from the main menu's command
// until it is closed, then shows the main menu again.
//
// The name dictionary (frmSeimei) turns a reading typed into the name box into its written
// form. The shown record, as the user corrected it, is saved to the output text file or
// workbook (cmdSave), and the output opened in its viewer (cmdMemo).

#include "app/searchscreen.h"
#include "search/phone/frmjyusho2.h"

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolButton;

namespace pikotel {

class frmTelFind : public SearchScreen {
    Q_OBJECT
public:
    frmTelFind(AppContext& ctx, SearchScreenHost& host);
    ~frmTelFind() override;

    // Reads the output file and the last typed number, clears the screen (with the default
    // area code), restores the last number when the settings ask for it and centres the
    // screen over the main menu.
    void Form_Load();
    // Refreshes the output file label.
    void Form_Activate();

    // Empties the number and the result fields, locks the result fields, hides the paging,
    // and puts in the default area code when the settings ask for it.
    void FormClear();

    // The handlers, as the controls run them.
    void CmdFind_Click();
    void cmdClear_Click();
    void cmdBefore_Click();
    void cmdAfter_Click();
    void CmdRireki_Click();
    // Opens the name dictionary over the name box; asks for a name when the box is empty.
    void cmdseimei_Click();
    void CmdSetting_Click();
    void CmdHELP_Click();
    // Saves the shown record; enabled while a name is shown.
    void cmdSave_Click();
    // Opens the output file in the chosen viewer.
    void cmdMemo_Click();

    // The hit shown, 1-based (0 before the first search).
    int currentHit() const { return currentHit_; }
    // The number of the hit shown, or the number typed when nothing was found; empty while a
    // search has not got that far.
    const QString& lastFoundNumber() const { return lastFoundNo_; }

protected:
    int screenNo() const override;
    void Form_Unload() override;
    void settingsSaved() override;
    void settingsClosed() override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    QToolButton* newButton(QWidget* parent, const QString& name, const QString& picture,
                           const QString& text);
    void setResultFieldsLocked(bool locked);
    void clearResultFields();
    void hidePaging();
    void showHit(int n);
    void showPage();
    void refreshAddress();
    void confirmAddress(const QString& number);
    void recordHistory();
    bool filterTelNoKey(QKeyEvent* event);

    int currentHit_ = 0;
    QString lastFoundNo_;

    QGroupBox* fraInputTelNo_ = nullptr;
    QLineEdit* txtTelNo_ = nullptr;
    QToolButton* cmdFind_ = nullptr;
    QToolButton* cmdClear_ = nullptr;
    QToolButton* cmdRireki_ = nullptr;
    QGroupBox* fraFind_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QLineEdit* txtYubin_ = nullptr;
    QLineEdit* txtAddress1_ = nullptr;
    QLineEdit* txtAddress2_ = nullptr;
    QLineEdit* txtAddress3_ = nullptr;
    QLineEdit* txtAddress4_ = nullptr;
    QLineEdit* txtAddress_ = nullptr;
    QToolButton* cmdseimei_ = nullptr;
    QToolButton* cmdBefore_ = nullptr;
    QToolButton* cmdAfter_ = nullptr;
    QLabel* lblPage_ = nullptr;
    QToolButton* cmdSave_ = nullptr;
    QToolButton* cmdMemo_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QLabel* lblOutfile_ = nullptr;
    QToolButton* cmdSetting_ = nullptr;
    QToolButton* cmdHelp_ = nullptr;
    QToolButton* cmdExit_ = nullptr;
    QLabel* imgHand_ = nullptr;
};

} // namespace pikotel
