#include "mappedfile.h"

namespace pikotel::dict {

bool MappedFile::open(const QString& path) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file_.size();
    if (size <= 0)
        return false;
    const uchar* data = file_.map(0, size);
    if (!data)
        return false;
    bytes_ = Bytes(data, static_cast<std::size_t>(size));
    return true;
}

} // namespace pikotel::dict
