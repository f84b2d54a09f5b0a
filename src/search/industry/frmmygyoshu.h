#pragma once

// The original-industries editor ("オリジナル業種編集"), modal over the industry search
// screen. In its browse state one stored industry can be picked, deleted or taken into the
// edit state; in the edit state ("新規" or "修正") its name and its target and exclusion
// strings are edited and saved. Every save and delete raises the changed flag, which tells
// the industry screen to read the originals again.

#include "search/industry/originalindustries.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;

namespace pikotel {

class frmMyGyoshu : public QDialog {
    Q_OBJECT
public:
    // selectedIndustry: the industry chosen on the industry screen; an original ("※" and its
    // name) is picked when the editor loads.
    frmMyGyoshu(OriginalIndustries& originals, QString selectedIndustry, QWidget* parent = nullptr);
    ~frmMyGyoshu() override;

    void Form_Load();

    bool changed() const { return changed_; }
    // "", "新規" or "修正".
    const QString& editMode() const { return editMode_; }

    // The handlers, as the controls run them.
    void CmbMyGyosyu_Click();
    void Cmd新規_Click();
    void Cmd修正_Click();
    void Cmd削除_Click();
    void Cmd保存_Click();
    void Cmd取消_Click();
    void cmdAdd_Click();
    void cmdDel_Click();
    void CmdTagetDell_Click();
    void CmdNoTagetDell_Click();

protected:
    // Every way out (the close button, Esc, the window's close) asks first while editing.
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One of the two string editors: its input box, its list and its limit message.
    struct StringSide {
        QLineEdit* box = nullptr;
        QListWidget* list = nullptr;
        QString limitMessage;
    };

    void buildUi();
    void fillCombo();
    void browseReset();
    void browseButtons();
    void editState(const QString& mode);
    void refreshColours();
    void enterString(StringSide& side);
    void leaveBox(StringSide& side);
    void moveSelected(QListWidget* from, QListWidget* to);
    void showStatus(QObject* watched);
    StringSide* sideOfBox(QObject* watched);
    StringSide* sideOfList(QObject* watched);
    QStringList strings(const QListWidget* list) const;

    OriginalIndustries& originals_;
    QString selectedIndustry_;
    bool changed_ = false;
    QString editMode_;
    int currentSlot_ = -1;

    QComboBox* cmbMyGyosyu_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QLineEdit* txtGyoshu_ = nullptr;
    QGroupBox* frmMojiRetu_ = nullptr;
    StringSide target_;
    StringSide noTarget_;
    QToolButton* cmdAdd_ = nullptr;
    QToolButton* cmdDel_ = nullptr;
    QToolButton* cmdTagetDell_ = nullptr;
    QToolButton* cmdNoTagetDell_ = nullptr;
    QToolButton* cmd新規_ = nullptr;
    QToolButton* cmd修正_ = nullptr;
    QToolButton* cmd削除_ = nullptr;
    QToolButton* cmd保存_ = nullptr;
    QToolButton* cmd取消_ = nullptr;
    QToolButton* cmdExit_ = nullptr;
    QLabel* lblStatus_ = nullptr;
};

} // namespace pikotel
