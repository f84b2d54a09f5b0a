#pragma once

// The result-list controller: one per run, owned by the run's context. It holds what the
// results screen needs beyond the records: the six caption texts, the output layout and
// the four formatting options, and how the user left the last results screen (size,
// window state, sort), which the next one opens with. Nothing here is stored; it lasts for
// the run.

#include "results/outputlayout.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace pikotel {

struct ResultRecord;

class clsKekka3 {
public:
    // Row counter 0, width 12000, height 8295 (twips).
    void Kekka3_Init();
    void Kekka3_Init_Row() { rowCounter_ = 0; }
    int rowCounter() const { return rowCounter_; }

    // The header texts of the used columns: the column's items joined by " + ".
    QStringList Grid_AddField() const;
    // Counts one more row and gives its cells, one per used column: each column's items'
    // values concatenated, formatted by the options.
    QStringList Grid_AddData(const QString& TelNo, const QString& name, const QString& Yubin,
                             const QString& L1, const QString& L2, const QString& Adress1,
                             const QString& Adress2);
    QStringList Grid_AddData(const ResultRecord& record);

    int Grid_Cols() const { return gridCols_; }
    // 1 when never set (or set to 0 or less).
    qint16 Grid_SortCol() const { return sortCol_ > 0 ? sortCol_ : qint16(1); }
    void setGrid_SortCol(qint16 column) { sortCol_ = column; }
    // 0 ascending, 1 descending; anything else reads 0.
    qint16 Grid_SortType() const { return sortType_ == 1 ? qint16(1) : qint16(0); }
    void setGrid_SortType(qint16 type) { sortType_ = type; }
    // At least 12000 and 8295 twips.
    qint32 Form_Width() const { return std::max(formWidth_, kMinWidth); }
    qint32 Form_Height() const { return std::max(formHeight_, kMinHeight); }
    void setForm_Width(qint32 twips) { formWidth_ = twips; }
    void setForm_Height(qint32 twips) { formHeight_ = twips; }
    qint16 Window_State() const { return windowState_; }
    void setWindow_State(qint16 state) { windowState_ = state; }

    // The four options: 1 when given 1, else 0.
    qint16 Tel_Hifon() const { return telHifon_; }
    qint16 Zip_Hifon() const { return zipHifon_; }
    qint16 Zip_Mark() const { return zipMark_; }
    qint16 CSV_Type() const { return csvType_; }
    void setTel_Hifon(int value) { telHifon_ = option(value); }
    void setZip_Hifon(int value) { zipHifon_ = option(value); }
    void setZip_Mark(int value) { zipMark_ = option(value); }
    void setCSV_Type(int value) { csvType_ = option(value); }

    QString todofuken_Caption;
    QString siku_Caption;
    QString title1_Caption;
    QString title2_Caption;
    QString label1_Caption;
    QString label2_Caption;

    // The search screen that opened the results screen; hidden while the results show.
    void setParentsForm(QObject* screen) { parentsForm_ = screen; }
    void ParentsFormHide();
    void ParentsFormShow();

    // Copies the layout in (the default layout for an empty one) and counts its columns.
    bool OutFileInfo_Set(const OutFileInfo& layout);
    bool OutFileInfo_Get(OutFileInfo& layout) const;

    QString FormatTelNo(const QString& number) const;
    QString FormatZipHyphen(const QString& code) const;
    QString FormatZipMark(const QString& code) const;

    static constexpr qint32 kMinWidth = 12000;
    static constexpr qint32 kMinHeight = 8295;

private:
    static qint16 option(int value) { return value == 1 ? qint16(1) : qint16(0); }

    OutFileInfo layout_;
    int gridCols_ = 0;
    int rowCounter_ = 0;
    qint32 formWidth_ = 0;
    qint32 formHeight_ = 0;
    qint16 windowState_ = 0;
    qint16 sortType_ = 0;
    qint16 sortCol_ = 0;
    qint16 telHifon_ = 0;
    qint16 zipHifon_ = 0;
    qint16 zipMark_ = 0;
    qint16 csvType_ = 0;
    QPointer<QObject> parentsForm_;
};

} // namespace pikotel
