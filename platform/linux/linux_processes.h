#pragma once
// Processes on Linux: programs started afresh, processes followed until they
// end inside FLTK's event loop (no thread, no signal handler), and the list of
// those running.

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/controls.h"

namespace nudgewick::linux_desktop {

// Starts the program that arguments[0] names, found on PATH, with every
// signal at its default and none blocked whatever this process ignores or
// blocks, and standard input, output and error shared: 0 and its PID in
// child, else the error number.
int StartProgram(const std::vector<std::string>& arguments, pid_t& child);

// Follows processes until they end: each one's pidfd, readable once it has
// ended, waits in FLTK's loop. Where the system refuses pidfds (a kernel
// before Linux 5.3, or a sandbox), the process is looked at every half second.
class ProcessFollower {
public:
    // ended(pid, status): a child's end comes with its wait status; another
    // process's with none, since only a parent may read it.
    using Ended = std::function<void(pid_t pid, std::optional<int> status)>;
    explicit ProcessFollower(Ended ended);
    ~ProcessFollower();
    ProcessFollower(const ProcessFollower&) = delete;
    ProcessFollower& operator=(const ProcessFollower&) = delete;

    // 0 once it follows the process, else the error number (ESRCH: none).
    int Follow(pid_t pid);

private:
    struct Followed;
    static void OnExit(int fd, void* followed);
    static void Poll(void* followed);
    bool Reap(Followed* followed, bool ended);

    Ended ended_;
    std::vector<std::unique_ptr<Followed>> followed_;  // not yet ended
};

// --pid's process and the command after "--", which ends the program; and
// the process names that --while looks for.
class LinuxProcesses : public Processes {
public:
    LinuxProcesses(std::vector<std::string> command, std::function<void(std::int32_t, const ProcessEnd&)> ended);

    std::optional<std::string> Watch(std::int32_t pid) override;
    CommandStart StartCommand() override;
    // The name each process gave itself (/proc/PID/comm), and its
    // executable's file name where this user may read it.
    bool AnyNamed(const std::function<bool(std::string_view)>& named) override;

private:
    std::vector<std::string> command_;
    ProcessFollower follower_;
    std::string lastFound_;  // the PID whose name --while found at the last look
};

}  // namespace nudgewick::linux_desktop
