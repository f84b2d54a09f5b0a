#pragma once

// The postal-code search screen: forward search (code → addresses in a grid) and reverse
// search (prefecture → city → town → block lists giving a code). It lives from the main
// menu's postal-code command until it is closed, then shows the main menu again.

#include "app/searchscreen.h"
#include "search/postal/zipsearch.h"

#include <array>

class QCheckBox;
class QFrame;
class QInputMethodEvent;
class QKeyEvent;
class QGroupBox;
class QHelpEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QScrollBar;
class QTableWidget;
class QTableWidgetItem;
class QToolButton;

namespace pikotel {

class frmZipFind3 : public SearchScreen {
    Q_OBJECT
public:
    // Option indexes of OptSelect.
    enum Mode : int { Reverse = 0, Forward = 1 };

    frmZipFind3(AppContext& ctx, SearchScreenHost& host);
    ~frmZipFind3() override;

    // Hooks the grid, opens the dictionary, places the screen over the main menu and enters
    // the start mode: reverse when a prefecture is stored, else forward.
    void Form_Load();

    // Display form "ddd-dddd" of a code.
    static QString ZipHifon(const QString& code);
    // Restores the stored conditions of the current mode when BEFOREEXEC asks for it.
    void ZipFind_BeforeExecSet();

    bool dictionaryOpen() const { return search_.isOpen(); }
    bool forwardMode() const;

    // The handlers, as the controls run them.
    void OptSelect_Click(int index);
    void CmdFindZip_Click();
    void cmdClear_Click();
    void flgAddressList_MouseDown(int row);
    bool lstTodoufuken_Click();
    bool lstSikuchouson_Click();
    void lstChomei_Click();
    void lstKu_Click();
    void chkChomeiSort_Click();
    void HScroll1_Change(int value);
    void CmdSetting_Click();
    void CmdHELP_Click();

protected:
    int screenNo() const override;
    void Form_Unload() override;
    void settingsClosed() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void forwardSetup();
    void reverseSetup();
    void clearReverseLists();
    void clearBlocks();
    void clearReverseResult();
    void stripeGrid();
    void showGridHeaderOnly();
    bool listCities();
    bool listTowns();
    bool listBlocks(const QString& townName);
    void fillList(QListWidget* list, const QList<ZipListEntry>& entries);
    void saveConditionsWhenRestoring();
    bool restoring() const;
    bool filterCodeKey(QKeyEvent* event);
    bool filterCodeInputMethod(QInputMethodEvent* event);
    // A grid row whose address is cut short shows its code and whole address as a tooltip.
    bool gridToolTip(QHelpEvent* event);
    bool isCut(const QTableWidgetItem* item) const;
    int SearchByCode(const QString& text);
    void disableAllButExit();

    PostalSearch search_;

    QGroupBox* fraSelect_ = nullptr;
    std::array<QRadioButton*, 2> optSelect_{};
    QGroupBox* fraZipCode_ = nullptr;
    QLineEdit* txtZipCode_ = nullptr;
    QToolButton* cmdFindZip_ = nullptr;
    QToolButton* cmdClear_ = nullptr;
    QLabel* lblExplanation_ = nullptr;
    std::array<QWidget*, 2> picResult_{};
    QTableWidget* flgAddressList_ = nullptr;
    QLabel* lblRecordCount_ = nullptr;
    QLineEdit* txtSelectAddress_ = nullptr;
    QWidget* picL1L2_ = nullptr;
    QListWidget* lstTodoufuken_ = nullptr;
    QListWidget* lstSikuchouson_ = nullptr;
    QListWidget* lstChomei_ = nullptr;
    QCheckBox* chkChomeiSort_ = nullptr;
    QListWidget* lstKu_ = nullptr;
    QScrollBar* hScroll1_ = nullptr;
    QLineEdit* txtAdress_ = nullptr;
    QListWidget* lstTemp_ = nullptr;
    QToolButton* cmdSetting_ = nullptr;
    QToolButton* cmdHelp_ = nullptr;
    QToolButton* cmdExit_ = nullptr;
};

} // namespace pikotel
