#include "settings/environment.h"

#include <QtGlobal>

namespace pikotel {

void Environment::setText(EnvKey key, const QString& text) {
    values_[index(key)] = text;
    if (key == EnvKey::HideExe) {
        const int kind = decodeViewer(text);
        if (kind >= 0)
            viewerKind = kind;
    }
}

bool Environment::firstChoice(EnvKey key) const {
    Q_ASSERT(envDef(key).decoding == EnvDecoding::Switch);
    return decodeFirstChoice(text(key));
}

int Environment::number(EnvKey key) const {
    Q_ASSERT(envDef(key).decoding == EnvDecoding::Number);
    return decodeNumber(text(key));
}

} // namespace pikotel
