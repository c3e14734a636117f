#pragma once
// The --hotkey combination, from anywhere on the desktop: a hotkey of the
// main window's, which Windows reports as WM_HOTKEY.

#include <windows.h>

#include <optional>

#include "core/hotkey.h"

namespace nudgewick::win32 {

class Win32Hotkey {
public:
    static constexpr int kId = 1;

    Win32Hotkey() = default;
    ~Win32Hotkey() { Unregister(); }
    Win32Hotkey(const Win32Hotkey&) = delete;
    Win32Hotkey& operator=(const Win32Hotkey&) = delete;

    // Takes the combination for owner in place of any other: nothing once it
    // is ours, else why not (another program, or Windows itself, holds it).
    std::optional<HotkeyRefusal> Grab(HWND owner, const Hotkey& hotkey);
    void Unregister();

private:
    HWND owner_ = nullptr;
};

}  // namespace nudgewick::win32
