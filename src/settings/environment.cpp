#include "settings/environment.h"

#include "common/texthelpers.h"

namespace pikotel {

int viewerKindOf(const QString& hideExe) {
    if (hideExe == QLatin1String("NotePad"))
        return ViewerNotePad;
    if (hideExe == QLatin1String("WORDPAD"))
        return ViewerWordPad;
    if (hideExe == QLatin1String("Excel"))
        return ViewerExcel;
    if (hideExe == QLatin1String("Excel2007"))
        return ViewerExcel2007;
    return -1;
}

void Environment::applyHideExe(const QString& text) {
    const int kind = viewerKindOf(text);
    if (kind >= 0)
        viewerKind = kind;
}

bool Environment::isFirstChoice(const QString& name) const {
    const QString v = value(name);
    return v.isEmpty() || v == QLatin1String("0");
}

int Environment::number(const QString& name) const { return TextToInt(value(name)); }

} // namespace pikotel
