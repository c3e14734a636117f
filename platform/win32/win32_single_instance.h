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

namespace nudgewick::win32 {

// Holds the session's named mutex for as long as it lives.
class Win32SingleInstance {
public:
    // claim: become the session's copy when none runs; else only look.
    explicit Win32SingleInstance(bool claim);
    ~Win32SingleInstance();
    Win32SingleInstance(const Win32SingleInstance&) = delete;
    Win32SingleInstance& operator=(const Win32SingleInstance&) = delete;

    // Another copy in this session held the mutex first.
    bool OtherCopyRuns() const { return otherCopy_; }

private:
    HANDLE mutex_;
    bool otherCopy_;
};

// Hands the command line to the first copy's window, of windowClass (it may
// be starting up: the window is waited for), and lets it come to the front.
// Its answer as it came: nothing when none came in time, empty when refused.
std::optional<std::string> HandOver(const wchar_t* windowClass, std::wstring_view commandLine);

// The first copy's window takes command lines from later starts, also from
// one that runs with less privilege, as long as it runs as the same user.
void AcceptCommandLines(HWND window);
// The text of a WM_COPYDATA that carries a command line from a start of this
// user's; nothing for any other.
std::optional<std::string> CommandLineIn(WPARAM asker, LPARAM data);
void SendAnswer(HWND copy, WPARAM asker, const std::string& answer);

}  // namespace nudgewick::win32
