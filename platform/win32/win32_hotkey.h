#pragma once
// The --hotkey combination, from anywhere on the desktop: a hotkey of the
// main window's, which Windows reports as WM_HOTKEY.

#include <windows.h>

#include "core/hotkey.h"

namespace nudgewick::win32 {

class Win32Hotkey {
public:
    static constexpr int kId = 1;

    Win32Hotkey() = default;
    ~Win32Hotkey() { Unregister(); }
    Win32Hotkey(const Win32Hotkey&) = delete;
    Win32Hotkey& operator=(const Win32Hotkey&) = delete;

    // False when another program holds the combination (or Windows keeps it
    // for itself); the system's error is then in GetLastError.
    bool Register(HWND owner, const Hotkey& hotkey);
    void Unregister();

private:
    HWND owner_ = nullptr;
};

}  // namespace nudgewick::win32
