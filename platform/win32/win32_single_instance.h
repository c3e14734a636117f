#pragma once
// One copy of the program per session, and the channel through which a later
// start commands it. Two copies would each see the other's nudges as the
// user's motion, and the pointer would drift. A later start hands its command
// line to the first copy's window as WM_COPYDATA, UTF-16 with its length, and
// the answer comes back the same way to a window of the asking start's.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/shell.h"

namespace nudgewick::win32 {

// The session's copy holds a named mutex from its claim to its release; the
// command lines come to its window, of windowClass.
class Win32SingleInstance final : public SingleInstance {
public:
    explicit Win32SingleInstance(const wchar_t* windowClass) : windowClass_(windowClass) {}
    ~Win32SingleInstance() override { CloseMutex(); }
    Win32SingleInstance(const Win32SingleInstance&) = delete;
    Win32SingleInstance& operator=(const Win32SingleInstance&) = delete;

    // A start that only looks lets go of the mutex at once.
    Found Claim(bool claim) override;
    // The other copy may be starting up: its window is waited for. It may
    // then come to the front.
    std::optional<std::string> HandOver(std::string_view commandLine) override;
    void OnCommandLine(CommandHandler handle) override { handle_ = std::move(handle); }
    void Release() override;
    // The window's WM_COPYDATA: true when it carried a command line from a
    // start of this user's, which was taken and answered.
    bool Answer(HWND copy, WPARAM asker, LPARAM data) const;

private:
    void CloseMutex();

    const wchar_t* windowClass_;
    HANDLE mutex_ = nullptr;
    bool released_ = false;
    CommandHandler handle_;
};

// The first copy's window takes command lines from later starts, also from
// one that runs with less privilege, as long as it runs as the same user.
void AcceptCommandLines(HWND window);

}  // namespace nudgewick::win32
