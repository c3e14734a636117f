#pragma once
#include "window/controls.h"

namespace nudgewick::win32 {

// Opens addresses with cmd's "start", which hands them to the default browser.
class CmdLauncher final : public Launcher {
public:
    std::optional<std::string> Open(const std::string& address) override;
};

}  // namespace nudgewick::win32
