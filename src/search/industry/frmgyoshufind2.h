#pragma once

// The industry search screen ("業種検索"): a prefecture, one or more of its cities and one
// industry, built-in or one of the user's own (listed first, marked "※"). The search runs
// every city for every pattern of the industry and opens the results screen.

#include "app/searchscreen.h"
#include "search/area104/search104.h"
#include "search/industry/originalindustries.h"

#include <array>

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class QToolButton;

namespace pikotel {

class frmGyoshuFind2 : public SearchScreen {
    Q_OBJECT
public:
    frmGyoshuFind2(AppContext& ctx, SearchScreenHost& host);
    ~frmGyoshuFind2() override;

    // Opens the dictionary when none is open, fills the three lists, restores the last
    // conditions when the settings ask for it and centres the screen over its host. False
    // when no dictionary could be opened (the lists stay empty).
    bool Form_Load();

    // The city list for the prefecture text; a text that is not listed is refused.
    void SikuchouSet();
    // Puts the conditions of the last industry search back (when BEFOREEXEC asks for it).
    void Gyoshu_BeforeExecSet();
    void CmdRireki_Click();
    // The select-all or the clear-all button, whichever the city selection calls for.
    void lstsikuSelComments();
    // The checks before a search; the first failing one shows its message and takes the
    // focus.
    bool ValidateConditions();

    // The handlers, as the controls run them.
    void cmbTodoufuken_Click();
    void cmdSikuSel_Click(int index);
    void cmdExec_Click();
    void CmdMyGyoshu_Click();

    bool searchRunning() const { return running_; }
    const OriginalIndustries& originals() const { return originals_; }

protected:
    int screenNo() const override;
    void Form_Unload() override;
    void settingsClosed() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The prefecture, cities (matched in their stored order) and industry of a stored search.
    void showEntry(const IndustryConditions& entry);
    void buildUi();
    void fillPrefectures();
    void BuildIndustryList();
    QList<ChosenCity> chosenCities() const;
    QString selectedIndustry() const;
    bool moveOnEnter(QObject* watched, const QKeyEvent* key);
    void showHint(QObject* watched);
    void setRunning(bool running);

    OriginalIndustries originals_;
    bool running_ = false;
    QString currentPrefecture_;

    QGroupBox* frame1_ = nullptr;
    QComboBox* cmbTodoufuken_ = nullptr;
    QListWidget* lstSikuchouson_ = nullptr;
    std::array<QToolButton*, 2> cmdSikuSel_{};
    QGroupBox* fraGyoshu_ = nullptr;
    QListWidget* lstGyoshu_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QLabel* lblOutfile_ = nullptr;
    QToolButton* cmdExec_ = nullptr;
    QToolButton* cmdMyGyoshu_ = nullptr;
    QToolButton* cmdRireki_ = nullptr;
    QToolButton* cmdSetting_ = nullptr;
    QToolButton* cmdHelp_ = nullptr;
    QToolButton* cmdExit_ = nullptr;
};

// Creates and loads the screen over its host; the caller shows it.
QWidget* createGyoshuFindScreen(AppContext& ctx, SearchScreenHost& host);

} // namespace pikotel
