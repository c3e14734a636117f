#include "platform/linux/linux_launcher.h"

#include <FL/Fl.H>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace nudgewick::linux_desktop {
namespace {

constexpr const char* kOpener = "xdg-open";
// Where the system cannot tell when a process ends through a file descriptor
// (a kernel before Linux 5.3, or a sandbox that refuses pidfd_open), a
// running opener is asked this often whether it has ended.
constexpr double kPollSeconds = 0.5;

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

struct LinuxLauncher::Opener {
    LinuxLauncher* launcher;
    pid_t pid;
    int exitFd;  // readable once the opener has ended; -1 when polled instead
};

// The openers' statuses are read, so the system must keep them until then:
// whoever started this program may have left SIGCHLD ignored, which would
// have them reaped unseen.
LinuxLauncher::LinuxLauncher(std::function<void(const std::string&)> failed) : failed_(std::move(failed)) {
    signal(SIGCHLD, SIG_DFL);
}

// Openers still running are left to finish on their own.
LinuxLauncher::~LinuxLauncher() {
    for (const auto& opener : openers_) {
        if (opener->exitFd < 0) {
            Fl::remove_timeout(Poll, opener.get());
        } else {
            Fl::remove_fd(opener->exitFd);
            close(opener->exitFd);
        }
    }
}

// The address is the opener's own argument: no shell sees it.
std::optional<std::string> LinuxLauncher::Open(const std::string& address) {
    std::string program = kOpener, argument = address;
    char* arguments[] = {program.data(), argument.data(), nullptr};
    const FreshSignals signals;
    pid_t child = 0;
    const int error = posix_spawnp(&child, kOpener, nullptr, signals.get(), arguments, environ);
    if (error == ENOENT) return std::string(kOpener) + " was not found; it comes with the xdg-utils package";
    if (error != 0) return std::string(std::strerror(error));
    Follow(child);
    return std::nullopt;
}

void LinuxLauncher::Follow(pid_t child) {
    const auto exitFd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    openers_.push_back(std::make_unique<Opener>(Opener{this, child, exitFd}));
    Opener* opener = openers_.back().get();
    if (exitFd < 0) {
        Fl::add_timeout(kPollSeconds, Poll, opener);
    } else {
        Fl::add_fd(exitFd, FL_READ, OnExit, opener);
    }
}

void LinuxLauncher::OnExit(int fd, void* opener) {
    Fl::remove_fd(fd);
    close(fd);
    auto* ended = static_cast<Opener*>(opener);
    ended->launcher->Reap(ended);
}

void LinuxLauncher::Poll(void* opener) {
    auto* running = static_cast<Opener*>(opener);
    if (!running->launcher->Reap(running)) Fl::repeat_timeout(kPollSeconds, Poll, opener);
}

// False while the opener runs. Once it has ended, it is forgotten before its
// failure is told: the message stays open while other openers end.
bool LinuxLauncher::Reap(Opener* opener) {
    int status = 0;
    const pid_t ended = waitpid(opener->pid, &status, WNOHANG);
    if (ended == 0) return false;
    std::erase_if(openers_, [opener](const auto& held) { return held.get() == opener; });
    if (ended < 0) return true;
    if (const auto failure = Failure(status); failure && failed_) failed_(*failure);
    return true;
}

}  // namespace nudgewick::linux_desktop
