#pragma once
// One copy of the program per session. Two would each see the other's nudges
// as the user's motion, and the pointer would drift.

#include <windows.h>

namespace nudgewick::win32 {

// Holds the session's named mutex for as long as it lives.
class Win32SingleInstance {
public:
    Win32SingleInstance();
    ~Win32SingleInstance();
    Win32SingleInstance(const Win32SingleInstance&) = delete;
    Win32SingleInstance& operator=(const Win32SingleInstance&) = delete;

    // Another copy in this session held the mutex first.
    bool OtherCopyRuns() const { return otherCopy_; }

private:
    HANDLE mutex_;
    bool otherCopy_;
};

// Asks the first copy's window, of windowClass, to show itself (also when it is
// hidden) and come to the front. It may be starting up: the window is waited for.
void RaiseFirstCopy(const wchar_t* windowClass);

// The first copy's window lets the request through, even from a copy that
// runs with less privilege, and answers it when IsShowRequest.
void AcceptShowRequests(HWND window);
bool IsShowRequest(UINT message);

}  // namespace nudgewick::win32
