#pragma once

// A small name list built into Seimei.dic in a scratch folder, and the component's four calls
// wrapped so that tests read candidates as (kind, written form) pairs.

#include "seimei/seimei.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <ostream>
#include <vector>

namespace pikotel::seimei::test {

// サトウ: surnames ranked 1 and 50 after their unranked ones in the list, and a given name.
// タロウ: given names known to gimei and ipadic-only ones.
// アオキ: 青木 as surname and as given name, and a given name of its own. ガク is voiced.
extern const char kNames[];

// The written form of a candidate record, up to its NUL.
QString writtenForm(const HNameCandidateRec& rec);

struct Candidate {
    int kind = 0; // 1 surname, 2 given name
    QString written;
    bool operator==(const Candidate&) const = default;
};
void PrintTo(const Candidate& c, std::ostream* os);

inline Candidate sei(const char* written) {
    return {1, QString::fromUtf8(written)};
}
inline Candidate mei(const char* written) {
    return {2, QString::fromUtf8(written)};
}

// Builds a name list (UTF-8 TSV) into an image; fails the test on a builder error.
QByteArray buildImage(const QByteArray& names);

// Seimei.dic built from kNames (or given bytes) in a scratch folder.
class DictionaryFile {
public:
    explicit DictionaryFile(const QByteArray& image = buildImage(kNames));
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

// HNameDB_Open with a path as the program passes it.
int32_t openDictionary(const QString& path, int32_t& handle);
// HNameDB_Search and HNameDB_GetName over every candidate; result gets the search's result.
std::vector<Candidate> lookup(int32_t handle, const QString& halfWidthReading,
                              int32_t* result = nullptr);

} // namespace pikotel::seimei::test
