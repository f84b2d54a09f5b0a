#pragma once

#include <QString>
#include <QTemporaryDir>

namespace pikotel::test {

// A scratch folder per test; removed when it goes out of scope.
class ScratchDir {
public:
    ScratchDir();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace pikotel::test
