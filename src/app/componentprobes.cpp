#include "app/componentprobes.h"

#include "app/sysinfo.h"
#include "dxs4.h"
#include "seimei/seimei.h"
#include "xchdb.h"
#include "zipcomp/zipcomponent.h"

#include <exception>

namespace pikotel {

namespace {

// A component that throws out of its interface is as broken as one that says yes to nothing.
template <typename F> bool answers(F call) {
    try {
        return call();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

bool probeDirectoryEngine() {
    return answers([] {
        DxsOpenRec open{};
        DxsDicHandle dic{};
        DxsDicInfo info{};
        const int32_t code = Dxs4_OpenDic(&open, &dic, &info);
        if (code == 0)
            Dxs4_CloseDic(&dic);
        return code != 0;
    });
}

bool probeAlternateEngine() {
    return answers([] {
        XchOpenRec open{};
        XchHandle handle{};
        const int16_t code = hXchDB_Open(&open, &handle);
        if (code == 0)
            hXchDB_Close(handle);
        return code != 0;
    });
}

bool probePostalComponent() {
    return answers([] {
        zipcomp::ZipComponent zip;
        return zip.OpenDictionary() != zipcomp::kOpened;
    });
}

bool probeNameDictionary() {
    return answers([] {
        HNameOpenRec open{};
        int32_t handle = 0;
        const int32_t code = HNameDB_Open(&open, &handle);
        if (code == 0)
            HNameDB_Close(handle);
        return code != 0;
    });
}

void registerComponentProbes() {
    registerComponentProbe({QStringLiteral("電話帳検索部品 dxs4"), probeDirectoryEngine});
    registerComponentProbe({QStringLiteral("旧形式電話帳部品 xchdb"), probeAlternateEngine});
    registerComponentProbe({QStringLiteral("郵便番号部品 zipcomp"), probePostalComponent});
    registerComponentProbe({QStringLiteral("姓名辞書部品 seimei"), probeNameDictionary});
}

} // namespace pikotel
