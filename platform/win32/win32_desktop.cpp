#include "platform/win32/win32_desktop.h"

#include <versionhelpers.h>
#include <wtsapi32.h>

namespace nudgewick::win32 {

namespace {

// The start of WTSINFOEXW at level 1, which mingw-w64's headers lack: the
// session's id, connection state and lock flags; the rest is not read.
constexpr auto kSessionInfoEx = static_cast<WTS_INFO_CLASS>(25);
struct SessionInfoEx {
    DWORD level;
    union {
        struct {
            ULONG id;
            WTS_CONNECTSTATE_CLASS state;
            LONG flags;
        } level1;
        LARGE_INTEGER alignment;  // the level's times
    } data;
};
constexpr LONG kSessionStateLock = 0, kSessionStateUnlock = 1;

}  // namespace

// Windows 7 swaps the two flags' meanings.
bool Win32DesktopWatch::SessionLocked() {
    LPWSTR buffer = nullptr;
    DWORD size = 0;
    if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, kSessionInfoEx, &buffer, &size))
        return false;
    const auto* info = reinterpret_cast<const SessionInfoEx*>(buffer);
    const bool locked = size >= sizeof *info && info->level == 1 &&
                        info->data.level1.flags == (IsWindows8OrGreater() ? kSessionStateLock : kSessionStateUnlock);
    WTSFreeMemory(buffer);
    return locked;
}

void Win32DesktopWatch::Register(HWND hwnd) { WTSRegisterSessionNotification(hwnd, NOTIFY_FOR_THIS_SESSION); }

void Win32DesktopWatch::Unregister(HWND hwnd) { WTSUnRegisterSessionNotification(hwnd); }

void Win32DesktopWatch::OnSessionChange(WPARAM event) {
    switch (event) {
    case WTS_SESSION_LOCK: locked_ = true; break;
    case WTS_SESSION_UNLOCK: locked_ = false; break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT: disconnected_ = true; break;
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT: disconnected_ = false; break;
    default: break;
    }
}

// ACLineStatus 0 is battery power; 255 (unknown) counts as mains, as does a
// machine without a battery. BatteryLifePercent 255 is unknown.
DesktopState Win32DesktopWatch::Look() {
    DesktopState state;
    state.locked = locked_ || disconnected_;
    SYSTEM_POWER_STATUS power{};
    if (GetSystemPowerStatus(&power) && power.ACLineStatus == 0 && (power.BatteryFlag & 128) == 0) {
        state.onBattery = true;
        if (power.BatteryLifePercent <= 100) state.charge = power.BatteryLifePercent;
    }
    return state;
}

}  // namespace nudgewick::win32
