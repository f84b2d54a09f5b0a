#pragma once

// The 104-style search screen ("１０４式検索"): a prefecture, one city (通常検索) or several
// (広域検索), an optional town, and a person's surname and given name or a company name.
// The search runs city by city into the run's result set and opens the results screen.

#include "app/searchscreen.h"
#include "history/historystore.h"
#include "search/area104/search104.h"

#include <array>

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QToolButton;

namespace pikotel {

class frm104Find : public SearchScreen {
    Q_OBJECT
public:
    enum Mode : int { Normal = 0, Wide = 1 };

    frm104Find(AppContext& ctx, SearchScreenHost& host);
    ~frm104Find() override;

    // Opens the dictionary when none is open, fills the prefectures, restores the last
    // conditions when the settings ask for it and centres the screen over its host. False
    // when no dictionary could be opened (the screen stays empty).
    bool Form_Load();

    // True when the town text holds a lot number: exactly "丁目" or "番地", or any digit.
    static bool Banchi_chk(const QString& town);
    // Checks the conditions; the first failure shows its message and takes the focus.
    bool Chk104Cond();
    // The conditions as the screen holds them (names trimmed as the search takes them).
    Area104Conditions conditions() const;

    bool searchRunning() const { return running_; }
    Mode mode() const;

    // The handlers, as the controls run them.
    void SikuListSet();
    void Opt検索方法_Click(int index);
    void cmdSikuSel_Click(int index);
    void optKojin_Click();
    void optHojin_Click();
    void cmdExec_Click();
    void CmdRireki_Click();
    void cmdseimei_Click();
    // Puts a stored search back into the controls, names included.
    void applyHistory(const Area104Conditions& entry);

protected:
    int screenNo() const override;
    void Form_Unload() override;
    void settingsSaved() override;
    void settingsClosed() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildUi();
    void fillPrefectures();
    void lstsikuSelComments();
    void Before104ExecSet();
    // The prefecture, the mode and the cities (or city) of a stored search; walk limits how
    // many lines of the city list are looked at.
    void showArea(const Area104Conditions& entry, int walk);
    // Selects the lines equal to the cities, matched in their order.
    void selectCitiesInOrder(const QStringList& cities, int walk);
    void showOutFile();
    // The name-dictionary button and the input mode of the name boxes follow SEIMEI.
    void followSeimeiSetting();
    bool moveOnEnter(QObject* watched, QKeyEvent* key);
    void showHint(QObject* watched);
    QList<ChosenCity> chosenCities() const;
    void personKindChanged();

    bool running_ = false;
    QString loadedPrefecture_;

    QGroupBox* frame1_ = nullptr;
    QComboBox* cmbTodoufuken_ = nullptr;
    QComboBox* cmbSikuchouson_ = nullptr;
    QListWidget* lstSikuchouson_ = nullptr;
    std::array<QToolButton*, 2> cmdSikuSel_{};
    QLabel* lblChomei_ = nullptr;
    QLineEdit* txtChomei_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    std::array<QRadioButton*, 2> opt検索方法_{};
    QGroupBox* fraHojinkojin_ = nullptr;
    QRadioButton* optKojin_ = nullptr;
    QRadioButton* optHojin_ = nullptr;
    QGroupBox* fraSeimei_ = nullptr;
    QLineEdit* txtSei_ = nullptr;
    QLineEdit* txtMei_ = nullptr;
    QToolButton* cmdseimei_ = nullptr;
    QGroupBox* fraShamei_ = nullptr;
    QLineEdit* txtShamei_ = nullptr;
    QLabel* lblStatus1_ = nullptr;
    QLabel* lblStatus2_ = nullptr;
    QLabel* lblOutFile_ = nullptr;
    QToolButton* cmdExec_ = nullptr;
    QToolButton* cmdRireki_ = nullptr;
    QToolButton* cmdSetting_ = nullptr;
    QToolButton* cmdHelp_ = nullptr;
    QToolButton* cmdExit_ = nullptr;
};

// Creates and loads the screen over its host; the caller shows it.
QWidget* create104FindScreen(AppContext& ctx, SearchScreenHost& host);

} // namespace pikotel
