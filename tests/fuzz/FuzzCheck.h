// What every fuzz target does with a property that does not hold: stop at once, so that libFuzzer
// keeps the input that broke it.
#pragma once

#include <cstdlib>

namespace tesmira::fuzz {

inline void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace tesmira::fuzz
