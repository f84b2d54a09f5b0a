#pragma once

// The two engines driven as the program drives them: records filled in cp932, hits copied
// out at once, handles released at the end.

#include "dicttest.h"
#include "dxs4.h"
#include "xchdb.h"

#include <QByteArray>
#include <QString>

#include <map>

namespace pikotel::test {

QByteArray cp932(const QString& text);
QString fromCp932(const char* data, int length);

class DxsEngine {
public:
    // Opens with the folders as the program passes them; openResult() says how it went.
    DxsEngine(const QString& hddFolder, const QString& deltaFolder = {},
              const QString& cdromRoot = {});
    ~DxsEngine();
    DxsEngine(const DxsEngine&) = delete;
    DxsEngine& operator=(const DxsEngine&) = delete;

    int openResult() const { return openResult_; }
    const DxsDicInfo& info() const { return info_; }
    DxsSearchHandle& searchHandle() { return search_; }
    DxsDicHandle& dicHandle() { return dic_; }

    // Runs the condition; hits are fetched when the search succeeds.
    int search(const DxsCondRec& cond, QList<Hit>* hits = nullptr);
    QList<Hit> names(const NameCondition& c, int* result = nullptr);
    QList<Hit> number(const QString& digits, int personKind = 0, int* result = nullptr);

private:
    int openResult_ = -1;
    DxsDicHandle dic_{};
    DxsSearchHandle search_{};
    DxsDicInfo info_{};
};

class XchEngine {
public:
    XchEngine(const QString& folder, const QString& deltaFolder = {});
    ~XchEngine();
    XchEngine(const XchEngine&) = delete;
    XchEngine& operator=(const XchEngine&) = delete;

    int openResult() const { return openResult_; }
    XchHandle handle() const { return handle_; }
    int areaCount() const { return areaCount_; }

    int search(const XchCondRec& cond, QList<Hit>* hits = nullptr);
    // personKind 3 asks for both kinds.
    QList<Hit> names(const NameCondition& c, int* result = nullptr);
    QList<Hit> number(const QString& digits, int personKind = 3, int* result = nullptr);

private:
    int openResult_ = -1;
    XchHandle handle_ = 0;
    int areaCount_ = 0;
    std::map<int, std::pair<QString, QString>> areas_;
};

void putFixed(char* field, std::size_t width, int32_t& length, const QByteArray& text);

} // namespace pikotel::test
