#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

namespace nudgewick::linux_desktop {

// What the program needs went away (the X display, the compositor, the
// session bus or the remote desktop session that carries the nudges): says
// so on standard error and ends at once with status 1. Nothing is left to
// save, and no destructor runs: they would speak to what is gone.
[[noreturn]] inline void EndAtOnce(const std::string& why) {
    std::fprintf(stderr, "nudgewick: %s\n", why.c_str());
    std::_Exit(1);
}

}  // namespace nudgewick::linux_desktop
