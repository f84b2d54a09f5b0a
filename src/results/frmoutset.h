#pragma once

// The output layout editor ("出力形体拡張設定"): the user places the seven result items into
// seven columns, in order. Saving checks the order of the address items, stores the layout
// and hands it to the result list controller; cancelling keeps the stored one.

#include "results/outputlayout.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QRadioButton;
class QToolButton;

namespace pikotel {

class AppContext;

class FrmOutSet final : public QDialog {
    Q_OBJECT
public:
    FrmOutSet(AppContext& ctx, QWidget* parent = nullptr);

    // Reads the stored layout into the column lists and makes column 0 current.
    void Form_Load();

    // The layout the lists show now.
    OutFileInfo shownLayout() const;
    int currentColumn() const { return currentColumn_; }

    void OptMeisai_Click(int column);
    void CmdInput_Click();
    void CmdOutput_Click();
    void CmdClere_Click();
    void cmdSave_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildUi();
    void rebuildOutList();
    void refreshPreviews();
    bool placed(const QString& item) const;
    void placeItem(QListWidgetItem* item);
    void takeOut(int column, QListWidgetItem* item);
    void showStatus(QObject* over);

    AppContext& ctx_;
    int currentColumn_ = -1;

    QGroupBox* framOut_ = nullptr;
    QListWidget* lstOutList_ = nullptr;
    QGroupBox* framMeisai_ = nullptr;
    std::array<QRadioButton*, kLayoutColumns> optMeisai_{};
    std::array<QListWidget*, kLayoutColumns> lstMeisai_{};
    QGroupBox* frame1_ = nullptr;
    std::array<QLineEdit*, kLayoutColumns> txtImeji_{};
    QToolButton* cmdInput_ = nullptr;
    QToolButton* cmdOutput_ = nullptr;
    QToolButton* cmdClere_ = nullptr;
    QToolButton* cmdSave_ = nullptr;
    QToolButton* cmdCancel_ = nullptr;
    QLabel* lblStatus_ = nullptr;
};

} // namespace pikotel
