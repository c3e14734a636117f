#include "platform/linux/linux_launcher.h"

#include <sys/wait.h>

#include <cerrno>
#include <cstring>

namespace nudgewick::linux_desktop {
namespace {

constexpr const char* kOpener = "xdg-open";

// Why an opener that ended failed, or nothing when it succeeded.
std::optional<std::string> Failure(int status) {
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return std::nullopt;
    if (WIFEXITED(status)) return std::string(kOpener) + " ended with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) {
        const int number = WTERMSIG(status);
        return std::string(kOpener) + " was ended by signal " + std::to_string(number) + " (" + strsignal(number) + ")";
    }
    return std::nullopt;
}

}  // namespace

LinuxLauncher::LinuxLauncher(std::function<void(const std::string&)> failed)
    : openers_([failed = std::move(failed)](pid_t, std::optional<int> status) {
          const auto failure = status ? Failure(*status) : std::nullopt;
          if (failure && failed) failed(*failure);
      }) {}

// The address is the opener's own argument: no shell sees it.
std::optional<std::string> LinuxLauncher::Open(const std::string& address) {
    pid_t child = 0;
    const int error = StartProgram({kOpener, address}, child);
    if (error == ENOENT) return std::string(kOpener) + " was not found; it comes with the xdg-utils package";
    if (error != 0) return std::string(std::strerror(error));
    openers_.Follow(child);
    return std::nullopt;
}

}  // namespace nudgewick::linux_desktop
