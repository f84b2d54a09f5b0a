#include "support/testdirs.h"

#include <stdexcept>

namespace pikotel::test {

ScratchDir::ScratchDir() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

} // namespace pikotel::test
