#pragma once
#include <functional>
#include <string>

#include "core/controls.h"
#include "platform/linux/linux_processes.h"

namespace nudgewick::linux_desktop {

// Opens addresses with xdg-open, the desktop's default handler, and follows
// each opener until it ends, inside FLTK's event loop.
class LinuxLauncher : public Launcher {
public:
    // failed(reason): an opener that started ended in failure (xdg-open found
    // no way to open the address, say).
    explicit LinuxLauncher(std::function<void(const std::string& reason)> failed);

    std::optional<std::string> Open(const std::string& address) override;

private:
    ProcessFollower openers_;  // started and not yet ended
};

}  // namespace nudgewick::linux_desktop
