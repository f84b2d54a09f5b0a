#include "common/textfold.h"

namespace pikotel {

bool textContains(const QString& haystack, const QString& needle) {
    if (needle.isEmpty())
        return true;
    return foldForCompare(haystack).contains(foldForCompare(needle));
}

int textCompare(const QString& a, const QString& b) {
    const int c = QString::compare(foldForCompare(a), foldForCompare(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace pikotel
