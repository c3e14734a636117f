#pragma once
// A broken invariant in a fuzz target: say which and abort, so that libFuzzer
// reports the input and saves it.

#include <cstdio>
#include <cstdlib>

namespace nudgewick::fuzz {

inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

}  // namespace nudgewick::fuzz
