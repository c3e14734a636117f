#include "platform/linux/linux_processes.h"

#include <FL/Fl.H>
#include <dirent.h>
#include <fcntl.h>
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

// Where the system cannot tell when a process ends through a file descriptor.
constexpr double kPollSeconds = 0.5;

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

ProcessEnd EndOf(std::optional<int> status) {
    if (!status) return {};
    if (WIFSIGNALED(*status)) return {0, WTERMSIG(*status)};
    return {WEXITSTATUS(*status), std::nullopt};
}

// What /proc/PID/NAME holds, up to its first line's end; empty when the
// process has gone or keeps it from this user.
std::string ReadLine(int proc, const std::string& path) {
    const int fd = openat(proc, path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char text[64];
    const ssize_t length = read(fd, text, sizeof text);
    close(fd);
    const std::string_view line(text, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
    return std::string(line.substr(0, line.find('\n')));
}

// The file name of a process's executable, as it was when the process started.
std::string ExecutableName(int proc, const std::string& pid) {
    char path[4096];
    const ssize_t length = readlinkat(proc, (pid + "/exe").c_str(), path, sizeof path);
    if (length <= 0) return {};
    std::string_view name(path, static_cast<std::size_t>(length));
    if (name.ends_with(" (deleted)")) name.remove_suffix(std::strlen(" (deleted)"));  // replaced by an upgrade
    return std::string(name.substr(name.rfind('/') + 1));
}

}  // namespace

// posix_spawn declares the arguments writable for C's sake; it never writes them.
int StartProgram(const std::vector<std::string>& arguments, pid_t& child) {
    std::vector<char*> pointers;
    for (const std::string& argument : arguments) pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    const FreshSignals signals;
    return posix_spawnp(&child, pointers.front(), nullptr, signals.get(), pointers.data(), environ);
}

struct ProcessFollower::Followed {
    ProcessFollower* follower;
    pid_t pid;
    int exitFd;  // readable once the process has ended; -1 when polled instead
};

// The children's statuses are read, so the system must keep them until then:
// whoever started this program may have left SIGCHLD ignored, which would
// have them reaped unseen.
ProcessFollower::ProcessFollower(Ended ended) : ended_(std::move(ended)) { signal(SIGCHLD, SIG_DFL); }

// Processes still running are left to finish on their own.
ProcessFollower::~ProcessFollower() {
    for (const auto& followed : followed_) {
        if (followed->exitFd < 0) {
            Fl::remove_timeout(Poll, followed.get());
        } else {
            Fl::remove_fd(followed->exitFd);
            close(followed->exitFd);
        }
    }
}

// pidfd_open takes only a process's own number: a thread's is none.
int ProcessFollower::Follow(pid_t pid) {
    const auto exitFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (exitFd < 0 && (errno == ESRCH || errno == EINVAL || (kill(pid, 0) != 0 && errno == ESRCH))) return ESRCH;
    followed_.push_back(std::make_unique<Followed>(Followed{this, pid, exitFd}));
    Followed* followed = followed_.back().get();
    if (exitFd < 0) {
        Fl::add_timeout(kPollSeconds, Poll, followed);
    } else {
        Fl::add_fd(exitFd, FL_READ, OnExit, followed);
    }
    return 0;
}

void ProcessFollower::OnExit(int fd, void* followed) {
    Fl::remove_fd(fd);
    close(fd);
    auto* ended = static_cast<Followed*>(followed);
    ended->follower->Reap(ended, true);
}

void ProcessFollower::Poll(void* followed) {
    auto* running = static_cast<Followed*>(followed);
    if (!running->follower->Reap(running, false)) Fl::repeat_timeout(kPollSeconds, Poll, followed);
}

// False while the process runs (ended: its pidfd said it has not). Once it
// has ended, it is forgotten before its end is told: a message about it may
// stay open while other processes end.
bool ProcessFollower::Reap(Followed* followed, bool ended) {
    int status = 0;
    const pid_t pid = followed->pid;
    const pid_t reaped = waitpid(pid, &status, WNOHANG);
    if (!ended && (reaped == 0 || (reaped < 0 && (kill(pid, 0) == 0 || errno == EPERM)))) return false;
    std::erase_if(followed_, [followed](const auto& held) { return held.get() == followed; });
    if (ended_) ended_(pid, reaped > 0 ? std::optional(status) : std::nullopt);
    return true;
}

LinuxProcesses::LinuxProcesses(std::vector<std::string> command,
                               std::function<void(std::int32_t, const ProcessEnd&)> ended)
    : Processes(ProcessNaming::AsIs),
      command_(std::move(command)),
      follower_([ended = std::move(ended)](pid_t pid, std::optional<int> status) { ended(pid, EndOf(status)); }) {}

std::optional<std::string> LinuxProcesses::Watch(std::int32_t pid) {
    const int error = follower_.Follow(pid);
    if (error == ESRCH) return Tr(kNoSuchProcess);
    if (error != 0) return std::strerror(error);
    return std::nullopt;
}

CommandStart LinuxProcesses::StartCommand() {
    pid_t child = 0;
    if (const int error = StartProgram(command_, child)) {
        return {std::nullopt, error != ENOENT, command_.front(), std::strerror(error)};
    }
    follower_.Follow(child);
    return {child, true, command_.front(), {}};
}

// The process found at the last look is asked first: while it runs, nothing
// else is read.
bool LinuxProcesses::AnyNamed(const std::function<bool(std::string_view)>& named) {
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return false;
    const auto isNamed = [&named, proc](const std::string& pid) {
        return named(ReadLine(dirfd(proc), pid + "/comm")) || named(ExecutableName(dirfd(proc), pid));
    };
    bool found = !lastFound_.empty() && isNamed(lastFound_);
    while (const dirent* entry = found ? nullptr : readdir(proc)) {
        const std::string pid = entry->d_name;
        if (pid.find_first_not_of("0123456789") == std::string::npos && isNamed(pid)) {
            found = true;
            lastFound_ = pid;
        }
    }
    closedir(proc);
    return found;
}

}  // namespace nudgewick::linux_desktop
