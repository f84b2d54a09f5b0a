#pragma once

// The history dialog of the phone-number, 104-style and industry searches: lists the stored
// entries of one kind, puts one back into the search screen (through the screen's own apply
// step) or removes one from the store. It never starts a search.

#include "history/historylines.h"

#include <QDialog>

#include <functional>

class QListWidget;
class QToolButton;

namespace pikotel {

class AppContext;

class frmRirekiSelect final : public QDialog {
    Q_OBJECT
public:
    // apply receives the index of the entry the user chose.
    frmRirekiSelect(AppContext& ctx, HistoryKind kind, std::function<void(int entry)> apply,
                    QWidget* parent = nullptr);

    void CmdOK_Click();
    void Cmdクリア_Click();

private:
    void fillList();

    AppContext& ctx_;
    HistoryKind kind_;
    std::function<void(int)> apply_;
    QListWidget* lstrireki_ = nullptr;
};

} // namespace pikotel
