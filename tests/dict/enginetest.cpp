#include "enginetest.h"

#include "jtext/cp932.h"
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace pikotel::test {

QByteArray cp932(const QString& text) {
    return jtext::toCp932(text);
}

QString fromCp932(const char* data, int length) {
    if (!data)
        return {};
    if (length < 0)
        length = static_cast<int>(std::strlen(data));
    return jtext::fromCp932(QByteArrayView(data, length));
}

void putFixed(char* field, std::size_t width, int32_t& length, const QByteArray& text) {
    std::memset(field, ' ', width);
    const std::size_t n = std::min(width, static_cast<std::size_t>(text.size()));
    std::memcpy(field, text.constData(), n);
    length = static_cast<int32_t>(text.size());
}

DxsEngine::DxsEngine(const QString& hddFolder, const QString& deltaFolder,
                     const QString& cdromRoot) {
    const QByteArray hdd = QFile::encodeName(hddFolder);
    const QByteArray cd = QFile::encodeName(cdromRoot);
    const QByteArray delta = QFile::encodeName(deltaFolder);
    const DxsOpenRec open{static_cast<int32_t>(hdd.size()),   hdd.constData(),
                          static_cast<int32_t>(cd.size()),    cd.constData(),
                          static_cast<int32_t>(delta.size()), delta.constData()};
    openResult_ = Dxs4_OpenDic(&open, &dic_, &info_);
    if (openResult_ == 0)
        openResult_ = Dxs4_AssignSearchHandle(&dic_, &search_);
}

DxsEngine::~DxsEngine() {
    Dxs4_ReleaseResultMem(&search_);
    Dxs4_ReleaseSearchHandle(&search_);
    Dxs4_CloseDic(&dic_);
}

int DxsEngine::search(const DxsCondRec& cond, QList<Hit>* hits) {
    int32_t count = -1;
    const int result = Dxs4_Search(&search_, &cond, &count);
    if (result != 0 || !hits)
        return result;
    hits->clear();
    for (int32_t i = 0; i < count; ++i) {
        DxsResultRec rec{};
        if (Dxs4_GetRec(&search_, i, &rec) != 0)
            return -100;
        hits->append({fromCp932(rec.number, -1), fromCp932(rec.name, -1), fromCp932(rec.zip, -1),
                      fromCp932(rec.prefName, -1), fromCp932(rec.cityName, -1),
                      fromCp932(rec.town, -1), fromCp932(rec.block, -1)});
    }
    return 0;
}

QList<Hit> DxsEngine::names(const NameCondition& c, int* result) {
    // As the program fills it: the town followed by "*".
    const QByteArray town = cp932(c.town) + '*';
    const QByteArray name = cp932(c.name);
    DxsCondRec cond{};
    cond.searchKind = 2;
    cond.hitLimit = c.limit;
    cond.number = "";
    cond.cityCode = c.cityCode;
    cond.townPatternLength = static_cast<int32_t>(town.size());
    cond.townPattern = town.constData();
    cond.unused1 = "";
    cond.personKind = c.individuals ? 1 : 2;
    cond.namePatternLength = static_cast<int32_t>(name.size());
    cond.namePattern = name.constData();
    cond.unused2 = "";
    QList<Hit> hits;
    const int r = search(cond, &hits);
    if (result)
        *result = r;
    return hits;
}

QList<Hit> DxsEngine::number(const QString& digits, int personKind, int* result) {
    const QByteArray n = cp932(digits);
    DxsCondRec cond{};
    cond.searchKind = 1;
    cond.numberLength = static_cast<int32_t>(n.size());
    cond.number = n.constData();
    cond.townPattern = cond.unused1 = cond.namePattern = cond.unused2 = "";
    cond.personKind = personKind;
    QList<Hit> hits;
    const int r = search(cond, &hits);
    if (result)
        *result = r;
    return hits;
}

XchEngine::XchEngine(const QString& folder, const QString& deltaFolder) {
    XchOpenRec open{};
    putFixed(open.dictPath, sizeof open.dictPath, open.dictPathLength, QFile::encodeName(folder));
    putFixed(open.deltaPath, sizeof open.deltaPath, open.deltaPathLength,
             QFile::encodeName(deltaFolder));
    openResult_ = hXchDB_Open(&open, &handle_);
    if (openResult_ != 0)
        return;
    areaCount_ = open.areaCount;
    for (int i = 0; i < areaCount_; ++i) {
        XchAreaRec area{};
        if (hXchDB_GetL12(handle_, static_cast<int16_t>(i), &area) == 0)
            areas_.emplace(area.cityCode, std::pair(fromCp932(area.prefName, area.prefNameLength),
                                                    fromCp932(area.cityName, area.cityNameLength)));
    }
}

XchEngine::~XchEngine() {
    if (openResult_ == 0)
        hXchDB_Close(handle_);
}

int XchEngine::search(const XchCondRec& cond, QList<Hit>* hits) {
    int32_t count = -1;
    const int result = hXchDB_Search(handle_, &cond, &count);
    if (result != 0 || !hits)
        return result;
    hits->clear();
    for (int32_t i = 0; i < count; ++i) {
        XchResultRec rec{};
        if (hXchDB_Getrec(handle_, i, &rec) != 0)
            return -100;
        const auto area = areas_.find(rec.cityCode);
        hits->append({fromCp932(rec.number, rec.numberLength), fromCp932(rec.name, rec.nameLength),
                      fromCp932(rec.zip, rec.zipLength),
                      area == areas_.end() ? QString() : area->second.first,
                      area == areas_.end() ? QString() : area->second.second,
                      fromCp932(rec.town, rec.townLength), fromCp932(rec.block, rec.blockLength)});
    }
    hXchDB_Release(handle_);
    return 0;
}

QList<Hit> XchEngine::names(const NameCondition& c, int* result) {
    XchCondRec cond{};
    cond.searchKind = 1;
    cond.personKind = c.individuals && c.corporates ? 3 : (c.individuals ? 1 : 2);
    cond.cityCode = c.cityCode;
    putFixed(cond.town, sizeof cond.town, cond.townLength, cp932(c.town));
    putFixed(cond.namePattern, sizeof cond.namePattern, cond.namePatternLength, cp932(c.name));
    QList<Hit> hits;
    const int r = search(cond, &hits);
    if (result)
        *result = r;
    return hits;
}

QList<Hit> XchEngine::number(const QString& digits, int personKind, int* result) {
    XchCondRec cond{};
    cond.searchKind = 2;
    cond.personKind = personKind;
    putFixed(cond.number, sizeof cond.number, cond.numberLength, cp932(digits));
    QList<Hit> hits;
    const int r = search(cond, &hits);
    if (result)
        *result = r;
    return hits;
}

} // namespace pikotel::test
