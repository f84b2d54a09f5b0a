#pragma once

// The results screen of the 104-style and industry searches: the result set in a grid laid
// out by the output layout, sorted by header clicks, rows selected with the mouse (at most
// 30 are exported at a time), one row copied in three forms; the selected rows go to the
// output file or workbook, which the view button opens. It opens over the search
// screen, which hides while it shows and comes back when it closes.

#include <QStringList>
#include <QWidget>

class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QAction;
class QTableView;
class QToolButton;

namespace pikotel {

class AppContext;
class KekkaModel;

class frmKekka3 final : public QWidget {
    Q_OBJECT
public:
    explicit frmKekka3(AppContext& ctx);
    ~frmKekka3() override;

    // Fills the grid from the result set and the controller, sorts, sizes the window.
    void Form_Load();

    QTableView* grid() const { return flgData_; }
    KekkaModel* model() const { return model_; }
    // The grid column carrying the sort mark.
    int currentSortCol() const { return currentSortCol_; }

    // The handlers, as the grid and the menu run them. Rows are 0-based data rows.
    void flgData_HeaderClick(int column);
    void flgData_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int row);
    void flgData_MouseMove(int row);
    void flgData_MouseUp(Qt::MouseButton button, int row, const QPoint& globalPos = {});
    void mnuCopy_Click();
    void mnuCopyComma_Click();
    void mnuCopyTab_Click();
    // Exports the selected rows (at most 30) to the output file or workbook.
    void cmd出力_Click();
    // Opens the output file in the chosen viewer.
    void cmdMemo_Click();
    void CmdHELP_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Esc is the close button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Arrows, Page Up/Down, Home and End pick a row as a click does, with Shift they extend
    // the range from the anchor; Ctrl+Space turns the last row picked on or off, Ctrl+A picks
    // every row (more than 30 are said, as a drag over them says it).
    bool flgData_KeyDown(const QKeyEvent& key);
    void buildUi();
    void fillGrid();
    void initialSort();
    void sortColumn(int column, bool ascending);
    void placeControls();
    void restoreSize();
    void countSelection();
    // The cells of the topmost selected row, columns 1..M; empty when none is selected.
    QStringList topmostSelectedCells() const;
    void copyToClipboard(const QString& text);
    // The selected rows' cells, columns 1..M, in grid order.
    QList<QStringList> selectedRows() const;
    void showOutFile();
    int rowAt(const QPoint& viewportPos) const;

    AppContext& ctx_;
    KekkaModel* model_;
    std::vector<int> colByteWidth_;
    std::vector<bool> sortAscending_;
    int currentSortCol_ = 0;
    int selectedCount_ = 0;
    int rangeAnchor_ = -1;
    int rangeEnd_ = -1;
    bool unloaded_ = false;

    QTableView* flgData_ = nullptr;
    QGroupBox* frakensakuJ_ = nullptr;
    QLabel* lblTodoufuken_ = nullptr;
    QLabel* lblsiku_ = nullptr;
    QLabel* lblTitle1_ = nullptr;
    QLabel* lblLabel1_ = nullptr;
    QLabel* lblTitle2_ = nullptr;
    QLabel* lblLabel2_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QLabel* lblStatus2_ = nullptr;
    QFrame* picture1_ = nullptr;
    QLabel* lblStatus1_ = nullptr;
    QToolButton* cmdOutput_ = nullptr;
    QToolButton* cmdMemo_ = nullptr;
    QToolButton* cmdHelp_ = nullptr;
    QToolButton* cmdExit_ = nullptr;
    QFrame* line1_ = nullptr;
    QMenu* mnuPopup_ = nullptr;
    QAction* mnuCopy_ = nullptr;
    QAction* mnuCopyComma_ = nullptr;
    QAction* mnuCopyTab_ = nullptr;
};

// Opens the results screen over the search screen that filled the result set: the screen
// becomes the controller's parent screen, the results centre over it and show without
// being modal. The results screen deletes itself when it closes.
frmKekka3* showResults(AppContext& ctx, QWidget* searchScreen);

} // namespace pikotel
