#pragma once
#include "core/controls.h"

namespace nudgewick::win32 {

// Opens addresses with cmd's "start", which hands them to the default browser.
class Win32Launcher final : public Launcher {
public:
    std::optional<std::string> Open(const std::string& address) override;
};

}  // namespace nudgewick::win32
