#pragma once
#include <windows.h>

#include "core/controls.h"

namespace nudgewick::win32 {

// The session's lock from the window's session notifications, and the power
// supply from the system at each look: GetSystemPowerStatus asks no device.
class Win32DesktopWatch final : public DesktopWatch {
public:
    // From WM_CREATE to WM_DESTROY, the window hears WM_WTSSESSION_CHANGE.
    static void Register(HWND hwnd);
    static void Unregister(HWND hwnd);
    // A lock or unlock, or a remote or console disconnect, which holds the
    // nudges back until the session is connected again.
    void OnSessionChange(WPARAM event);
    DesktopState Look() override;
    // Whether the session is locked now, asked once: by --check, which hears
    // no notification, and at the start, for a copy started while locked. Not
    // locked where the system cannot say.
    static bool SessionLocked();

private:
    bool locked_ = SessionLocked();
    bool disconnected_ = false;
};

}  // namespace nudgewick::win32
