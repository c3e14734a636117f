#pragma once
// Processes on Windows: --pid's and the command's, whose handles the message
// loop waits on beside the messages (no thread), and the running processes'
// file names for --while.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/controls.h"

namespace nudgewick::win32 {

// A standard handle that leads somewhere: a file, a pipe or a console.
bool IsUsableHandle(HANDLE handle);

class Win32Processes final : public Processes {
public:
    // command: the command line after "--", as given.
    Win32Processes(std::wstring command, std::function<void(std::int32_t, const ProcessEnd&)> ended);
    ~Win32Processes() override;
    Win32Processes(const Win32Processes&) = delete;
    Win32Processes& operator=(const Win32Processes&) = delete;

    std::optional<std::string> Watch(std::int32_t pid) override;
    CommandStart StartCommand() override;
    bool AnyNamed(const std::function<bool(std::string_view)>& named) override;

    // What the message loop waits on, and the one of them that was signalled.
    const std::vector<HANDLE>& Handles() const { return handles_; }
    void OnSignalled(std::size_t index);

private:
    std::wstring command_;
    std::function<void(std::int32_t, const ProcessEnd&)> ended_;
    std::vector<HANDLE> handles_;
    std::vector<std::int32_t> pids_;
};

}  // namespace nudgewick::win32
