#include "results/clskekka3.h"

#include "results/resultrecord.h"

#include <QMetaObject>

namespace pikotel {

namespace {
const QChar kZipMark(u'〒');
} // namespace

void clsKekka3::Kekka3_Init() {
    rowCounter_ = 0;
    formWidth_ = kMinWidth;
    formHeight_ = kMinHeight;
}

QStringList clsKekka3::Grid_AddField() const {
    QStringList headers;
    for (int j = 0; j < gridCols_; ++j) {
        QString header;
        for (const QString& item : layout_[static_cast<std::size_t>(j)]) {
            if (item.isEmpty())
                continue;
            if (!header.isEmpty())
                header.append(QStringLiteral(" + "));
            header.append(item);
        }
        headers.append(header);
    }
    return headers;
}

QStringList clsKekka3::Grid_AddData(const QString& TelNo, const QString& name, const QString& Yubin,
                                    const QString& L1, const QString& L2, const QString& Adress1,
                                    const QString& Adress2) {
    ++rowCounter_;
    const QStringList& items = outputItems();
    const QString values[] = {FormatTelNo(TelNo.trimmed()),
                              name.trimmed(),
                              FormatZipMark(FormatZipHyphen(Yubin.trimmed())),
                              L1.trimmed(),
                              L2.trimmed(),
                              Adress1.trimmed(),
                              Adress2.trimmed()};
    QStringList cells;
    for (int j = 0; j < gridCols_; ++j) {
        QString cell;
        for (const QString& item : layout_[static_cast<std::size_t>(j)]) {
            const qsizetype at = items.indexOf(item);
            if (at >= 0)
                cell.append(values[at]);
        }
        cells.append(cell);
    }
    return cells;
}

QStringList clsKekka3::Grid_AddData(const ResultRecord& r) {
    return Grid_AddData(r.TelNo, r.name, r.Yubin, r.L1, r.L2, r.Adress1, r.Adress2);
}

void clsKekka3::ParentsFormHide() {
    if (!parentsForm_.isNull())
        QMetaObject::invokeMethod(parentsForm_.data(), "hide");
}

void clsKekka3::ParentsFormShow() {
    if (!parentsForm_.isNull())
        QMetaObject::invokeMethod(parentsForm_.data(), "show");
}

bool clsKekka3::OutFileInfo_Set(const OutFileInfo& layout) {
    layout_ = layoutEmpty(layout) ? defaultLayout() : layout;
    gridCols_ = CountUsedColumns(layout_);
    return true;
}

bool clsKekka3::OutFileInfo_Get(OutFileInfo& layout) const {
    layout = layout_;
    return true;
}

QString clsKekka3::FormatTelNo(const QString& number) const {
    return telHifon_ == 1 ? QString(number).remove(u'-') : number;
}

QString clsKekka3::FormatZipHyphen(const QString& code) const {
    return zipHifon_ == 1 ? QString(code).remove(u'-') : code;
}

QString clsKekka3::FormatZipMark(const QString& code) const {
    const bool marked = code.startsWith(kZipMark);
    if (zipMark_ == 1 && !marked)
        return kZipMark + code;
    if (zipMark_ == 0 && marked)
        return code.mid(1);
    return code;
}

} // namespace pikotel
