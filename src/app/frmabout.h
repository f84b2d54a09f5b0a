#pragma once

// The version screen: title, version, the four search modes and the dates of the
// dictionaries in use, read anew every time the screen opens.

#include <QDialog>

#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace pikotel {

class AppContext;

// Where the dictionaries in use are, as the version screen reports them.
struct DictionaryPlaces {
    QString programFolder;
    QString cdDrive;
    QString deltaFile;
    // The open engine: 0 first, 1 alternate, -1 none.
    int dicKind = -1;
    bool onCdRom = false;

    static DictionaryPlaces of(AppContext& ctx);
};

class frmAbout final : public QDialog {
    Q_OBJECT
public:
    // Without places (a screen shown on its own) the dictionary dates stay empty.
    explicit frmAbout(const DictionaryPlaces& places = {}, QWidget* parent = nullptr);

    // Rows 0 (phone directory), 1 (postal code), 2 (delta dictionary).
    QLabel* lblInfoName(int row) const { return lblInfoName_.at(static_cast<size_t>(row)); }
    QLabel* lblInfoDate(int row) const { return lblInfoDate_.at(static_cast<size_t>(row)); }

private:
    void LayoutDicInfo();
    void ShowDicInfo(const DictionaryPlaces& places);

    std::array<QLabel*, 3> lblInfoName_{};
    std::array<QLabel*, 3> lblInfoDate_{};
    std::array<QFrame*, 2> Line1_{};
    QFrame* Picture2_;
    QPushButton* cmdOK_;
};

// Two one-pixel lines, b one pixel above a, from x 15 to the form's width less 20 pixels:
// b in the button-shadow colour, a in the highlight colour.
void DrawEtchedLine(QWidget* form, QFrame* lineA, QFrame* lineB);

// The program's own version as major.minor.revision ("18.0.1").
QString programVersionText();

} // namespace pikotel
