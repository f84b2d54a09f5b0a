#pragma once

#include "core/context.h"
#include "support/testdirs.h"

#include <memory>

namespace pikotel::test {

// A fresh context whose program folder and per-user store live in a scratch folder.
class ContextFixture {
public:
    ContextFixture() {
        ContextOptions options;
        options.programFolder = dir.path();
        options.storePaths.user = dir.file(QStringLiteral("HKCU.db"));
        ctx = std::make_unique<AppContext>(options);
    }

    ScratchDir dir;
    std::unique_ptr<AppContext> ctx;
};

} // namespace pikotel::test
