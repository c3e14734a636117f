#pragma once
#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/controls.h"

namespace nudgewick::linux_desktop {

// Opens addresses with xdg-open, the desktop's default handler, and follows
// each opener until it ends, inside FLTK's event loop: no thread, no signal
// handler.
class LinuxLauncher : public Launcher {
public:
    // failed(reason): an opener that started ended in failure (xdg-open found
    // no way to open the address, say).
    explicit LinuxLauncher(std::function<void(const std::string& reason)> failed);
    ~LinuxLauncher() override;
    LinuxLauncher(const LinuxLauncher&) = delete;
    LinuxLauncher& operator=(const LinuxLauncher&) = delete;

    std::optional<std::string> Open(const std::string& address) override;

private:
    struct Opener;
    void Follow(pid_t child);
    bool Reap(Opener* opener);
    static void OnExit(int fd, void* opener);
    static void Poll(void* opener);

    std::function<void(const std::string&)> failed_;
    std::vector<std::unique_ptr<Opener>> openers_;  // started and not yet ended
};

}  // namespace nudgewick::linux_desktop
