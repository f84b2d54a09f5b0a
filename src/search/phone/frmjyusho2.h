#pragma once

// The address confirmation dialog. When a number is not listed, the user picks the address
// that belongs to its exchange from the postal-code component's exchange data, level by
// level (prefecture → city → town → block), and the phone-number screen takes the chosen
// address over so that a name can be added to it.

#include "search/postal/postalcomponent.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class QLabel;
class QListWidget;
class QToolButton;

namespace pikotel {

class ModalScreens;

// What the phone-number screen and the dialog hand each other.
struct JyushoExchange {
    // In: the number to confirm, as the phone-number screen took it.
    QString telNo;
    // Out: the confirmed address; left as they were unless the user confirms.
    QString zip;
    QString pref;
    QString city;
    QString town;
    QString block;
    // Out: 0 the dialog was used (confirmed or left with the back button), 1 nothing to
    // confirm (the exchange dictionary did not open or does not know the number).
    int resultFlag = 0;
};

class frmJyusho2 : public QDialog {
    Q_OBJECT
public:
    enum Level : int { Prefecture = 0, City = 1, Town = 2, Block = 3 };

    frmJyusho2(const QString& programFolder, JyushoExchange& exchange, QWidget* parent = nullptr);
    ~frmJyusho2() override;

    // Opens the component and lists the candidates of the number with the first one of every
    // level chosen. Sets the result flag to 1 (after its message) when there is nothing to
    // confirm.
    void Form_Load();
    // Form_Load, then the dialog modally unless there is nothing to confirm. True when the
    // user confirmed an address (the outputs are then set).
    bool run(ModalScreens& modals);

    // The handlers, as the controls run them.
    void lstAddress_Click(int index);
    void cmdExec_Click();
    void cmdModori_Click();

    QListWidget* lstAddress(int index) const { return lstAddress_.at(index); }

protected:
    // Form_Unload: every way out closes the component's dictionary.
    void done(int result) override;

private:
    // One row of a level as the component gave it: the code column (postal codes as
    // "ddd-dddd", "-" for a town without one of its own) and the further texts.
    struct Row {
        QString code;
        QStringList texts;
    };

    void buildUi();
    void clearAfter(int index);
    bool fillPrefectures();
    bool fillCities(int prefectureCode);
    bool fillTowns(int cityCode);
    bool fillBlocks(int cityCode, const QString& townName);
    bool failed();
    // Prefectures and cities: name and reading.
    bool addEntries(int level, const QList<PostalEntry>& entries);
    void addItem(int level, const QString& text);
    // The row chosen in the list of the level; nullptr when none is.
    const Row* chosen(int level) const;

    QString programFolder_;
    JyushoExchange& exchange_;
    // The number as the component is asked with it: trimmed, without hyphens.
    QString number_;
    PostalComponent postal_;
    bool confirmed_ = false;
    std::array<QList<Row>, 4> tables_;

    QLabel* label1_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    std::array<QLabel*, 4> labels_{};
    std::array<QListWidget*, 4> lstAddress_{};
    QToolButton* cmdExec_ = nullptr;
    QToolButton* cmdModori_ = nullptr;
};

} // namespace pikotel
