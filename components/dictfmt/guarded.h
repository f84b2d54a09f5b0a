#pragma once

#include <new>

namespace pikotel::dict {

// Runs one engine call so that no exception crosses the C boundary: running out of memory
// gives -3 and anything else -5, the codes both engines report for those conditions.
template <typename Result, typename F> Result guardedCall(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return -3;
    } catch (...) {
        return -5;
    }
}

} // namespace pikotel::dict
