#pragma once

// A read-only memory map of a whole file; unmapped when the object goes.

#include "reader.h"

#include <QFile>
#include <QString>

namespace pikotel::dict {

class MappedFile {
public:
    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // False when the file cannot be opened or mapped (an empty file cannot be mapped).
    bool open(const QString& path);
    Bytes bytes() const { return bytes_; }

private:
    QFile file_;
    Bytes bytes_;
};

} // namespace pikotel::dict
