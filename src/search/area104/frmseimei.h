#pragma once

// The name dictionary screen. It takes the surname and given name typed on a search screen,
// converts them to half-width katakana, lists the written forms the name dictionary
// (Seimei.dic in the program folder, read through the seimei component) has for each, and
// writes the user's picks back into the calling screen's name boxes.

#include <QDialog>
#include <QString>

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QToolButton;

namespace pikotel {

class AppContext;

// Who opened the screen and the boxes it reads and writes; they outlive the screen.
struct SeimeiCaller {
    enum : int { PhoneScreen = 1, Screen104 = 2 };

    // The phone-number search: one box holding surname, blank, given name.
    static SeimeiCaller phoneScreen(QLineEdit* nameBox) { return {PhoneScreen, nameBox, {}, {}}; }
    // The 104-style search: a surname box and a given-name box.
    static SeimeiCaller screen104(QLineEdit* surnameBox, QLineEdit* givenNameBox) {
        return {Screen104, nullptr, surnameBox, givenNameBox};
    }

    int callform = PhoneScreen;
    QLineEdit* nameBox = nullptr;
    QLineEdit* surnameBox = nullptr;
    QLineEdit* givenNameBox = nullptr;
};

class frmSeimei : public QDialog {
    Q_OBJECT
public:
    frmSeimei(AppContext& ctx, const SeimeiCaller& caller, QWidget* parent = nullptr);
    ~frmSeimei() override;

    // The dictionary file of a program folder: "/" between them unless the folder is a root
    // that ends with one already.
    static QString dictionaryPath(const QString& programFolder);

    // Opens the dictionary and lists the candidates of the caller's name. When the dictionary
    // does not open, says so and leaves the lists empty; the screen stays usable.
    void Form_Load();
    // Form_Load, then the screen modally through the context's modal-screen service; its
    // result (accepted when the user confirmed).
    int run();

    // Looks one reading (half-width katakana) up and appends its written forms to lstsei or
    // lstMei; an empty reading or a failed look-up leaves the list as it is.
    void SetSei(const QString& reading);
    void SetMei(const QString& reading);

    // The handlers, as the controls run them.
    void cmdKakutei_Click();
    void cmdCancel_Click();

protected:
    // Form_Unload: every way out releases the dictionary.
    void done(int result) override;

private:
    void buildUi();
    bool openDictionary();
    void closeDictionary();
    void lookUp(const QString& reading, QListWidget* list);
    static QListWidgetItem* chosen(const QListWidget* list);

    AppContext& ctx_;
    SeimeiCaller caller_;
    std::int32_t handle_ = 0;

    QLabel* label1_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QLabel* lblSei_ = nullptr;
    QListWidget* lstsei_ = nullptr;
    QLabel* lblMei_ = nullptr;
    QListWidget* lstMei_ = nullptr;
    QToolButton* cmdKakutei_ = nullptr;
    QToolButton* cmdCancel_ = nullptr;
    QLabel* imgHand_ = nullptr;
};

} // namespace pikotel
