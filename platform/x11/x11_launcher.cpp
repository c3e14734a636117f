#include "platform/x11/x11_launcher.h"

#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace nudgewick::x11 {
namespace {

constexpr const char* kOpener = "xdg-open";

// The opener starts afresh: every signal at its default and none blocked,
// whatever this process ignores or blocks.
class FreshSignals {
public:
    FreshSignals() {
        sigset_t all, none;
        sigfillset(&all);
        sigemptyset(&none);
        posix_spawnattr_init(&attributes_);
        posix_spawnattr_setsigdefault(&attributes_, &all);
        posix_spawnattr_setsigmask(&attributes_, &none);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~FreshSignals() { posix_spawnattr_destroy(&attributes_); }
    FreshSignals(const FreshSignals&) = delete;
    FreshSignals& operator=(const FreshSignals&) = delete;

    const posix_spawnattr_t* get() const { return &attributes_; }

private:
    posix_spawnattr_t attributes_{};
};

}  // namespace

X11Launcher::X11Launcher() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    action.sa_flags = SA_NOCLDWAIT;
    sigemptyset(&action.sa_mask);
    sigaction(SIGCHLD, &action, nullptr);
}

// The address is the opener's own argument: no shell sees it.
std::optional<std::string> X11Launcher::Open(const std::string& address) {
    std::string program = kOpener, argument = address;
    char* arguments[] = {program.data(), argument.data(), nullptr};
    const FreshSignals signals;
    pid_t child = 0;
    const int error = posix_spawnp(&child, kOpener, nullptr, signals.get(), arguments, environ);
    if (error == ENOENT) return std::string(kOpener) + " was not found; it comes with the xdg-utils package";
    if (error != 0) return std::string(std::strerror(error));
    return std::nullopt;
}

}  // namespace nudgewick::x11
