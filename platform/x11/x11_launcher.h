#pragma once
#include "core/controls.h"

namespace nudgewick::x11 {

// Opens addresses with xdg-open, the desktop's default handler.
class X11Launcher : public Launcher {
public:
    // Lets the system reap finished openers, so that none is left a zombie.
    X11Launcher();

    std::optional<std::string> Open(const std::string& address) override;
};

}  // namespace nudgewick::x11
