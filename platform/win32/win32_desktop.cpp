#include "platform/win32/win32_desktop.h"

#include <wtsapi32.h>

namespace nudgewick::win32 {

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
