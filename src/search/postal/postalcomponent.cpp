#include "search/postal/postalcomponent.h"

#include "common/cp932.h"
#include "platform/paths.h"
#include "zipcomp/zipkey.h"

namespace pikotel {

QString postalFolder(const QString& programFolder) {
    return joinPath(programFolder, QStringLiteral("ZIP"));
}

QString PostalRecord::address() const {
    QString text;
    for (const QString& part : parts)
        text += part;
    return text;
}

PostalComponent::~PostalComponent() {
    close();
}

bool PostalComponent::open(const QString& folder) {
    close();
    zip_.SetKeyBlock(QString::fromLatin1(zipcomp::kProgramKeyBlock));
    zip_.SetFolder(folder);
    open_ = zip_.OpenDictionary() == zipcomp::kOpened;
    return open_;
}

void PostalComponent::close() {
    if (open_)
        zip_.CloseDictionary();
    open_ = false;
}

bool PostalComponent::readEntries(int count, GetEntry get, QList<PostalEntry>& out) {
    out.clear();
    if (count < 0)
        return false;
    out.reserve(count);
    QByteArray code, name, reading;
    for (int i = 0; i < count; ++i) {
        if (!(zip_.*get)(i, code, name, reading)) {
            out.clear();
            return false;
        }
        out.append({fromCp932(code), fromCp932(name), fromCp932(reading)});
    }
    return true;
}

bool PostalComponent::prefectures(QList<PostalEntry>& out, const QString& exchange) {
    return readEntries(zip_.QueryPrefectures(exchange, 0, 0), &zipcomp::ZipComponent::GetPrefecture,
                       out);
}

bool PostalComponent::cities(int prefectureCode, QList<PostalEntry>& out, const QString& exchange) {
    return readEntries(zip_.QueryCities(exchange, 0, prefectureCode, 0),
                       &zipcomp::ZipComponent::GetCity, out);
}

bool PostalComponent::blocks(int cityCode, const QString& townName, QList<PostalEntry>& out,
                             const QString& exchange) {
    return readEntries(zip_.QueryBlocks(exchange, 0, townName, cityCode, 0),
                       &zipcomp::ZipComponent::GetBlock, out);
}

bool PostalComponent::towns(int cityCode, QList<PostalTown>& out, const QString& exchange) {
    out.clear();
    const int n = zip_.QueryTowns(exchange, 0, cityCode, 0);
    if (n < 0)
        return false;
    out.reserve(n);
    QByteArray code, name, reading, note, noteReading;
    for (int i = 0; i < n; ++i) {
        if (!zip_.GetTown(i, code, name, reading, note, noteReading)) {
            out.clear();
            return false;
        }
        out.append({fromCp932(code), fromCp932(name), fromCp932(reading), fromCp932(note),
                    fromCp932(noteReading)});
    }
    return true;
}

bool PostalComponent::searchCode(const QString& digits, QList<PostalRecord>& out) {
    return readRecords(zip_.SearchCode(digits), out);
}

bool PostalComponent::searchOldCode(const QString& digits, QList<PostalRecord>& out) {
    return readRecords(zip_.SearchOldCode(digits), out);
}

bool PostalComponent::readRecords(int count, QList<PostalRecord>& out) {
    out.clear();
    if (count < 0)
        return false;
    if (count == 0)
        return true;
    // The component expects its summary to be asked for before the records are read.
    zipcomp::ZipComponent::SearchSummary summary;
    if (!zip_.GetSearchSummary(summary))
        return false;
    out.reserve(count);
    zipcomp::ZipComponent::CodeRecord record;
    for (int i = 0; i < count; ++i) {
        if (!zip_.GetCodeRecord(i, record)) {
            out.clear();
            return false;
        }
        // Texts 1, 3, 5, 7 and 9 are the address parts, 11 the code; the others readings.
        out.append({fromCp932(record[10]),
                    {fromCp932(record[0]), fromCp932(record[2]), fromCp932(record[4]),
                     fromCp932(record[6]), fromCp932(record[8])}});
    }
    return true;
}

} // namespace pikotel
