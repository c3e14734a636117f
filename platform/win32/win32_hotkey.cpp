#include "platform/win32/win32_hotkey.h"

#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {
namespace {

UINT VirtualKey(const Hotkey& hotkey) {
    switch (hotkey.kind) {
    case Hotkey::Kind::Letter: return 'A' + static_cast<UINT>(hotkey.number);
    case Hotkey::Kind::Digit: return '0' + static_cast<UINT>(hotkey.number);
    case Hotkey::Kind::Function: break;
    }
    return VK_F1 + static_cast<UINT>(hotkey.number - 1);
}

// MOD_NOREPEAT: a key held down toggles once, not at the keyboard's repeat rate.
UINT Modifiers(const Hotkey& hotkey) {
    UINT modifiers = MOD_NOREPEAT;
    if ((hotkey.modifiers & kHotkeyCtrl) != 0) modifiers |= MOD_CONTROL;
    if ((hotkey.modifiers & kHotkeyAlt) != 0) modifiers |= MOD_ALT;
    if ((hotkey.modifiers & kHotkeyShift) != 0) modifiers |= MOD_SHIFT;
    if ((hotkey.modifiers & kHotkeySuper) != 0) modifiers |= MOD_WIN;
    return modifiers;
}

}  // namespace

std::optional<HotkeyRefusal> Win32Hotkey::Grab(HWND owner, const Hotkey& hotkey) {
    Unregister();
    if (!RegisterHotKey(owner, kId, Modifiers(hotkey), VirtualKey(hotkey))) {
        const DWORD error = GetLastError();
        if (error == ERROR_HOTKEY_ALREADY_REGISTERED) return HotkeyRefusal::Taken;
        return HotkeyRefusal(HotkeyRefusal::Failed, SystemMessage(error));
    }
    owner_ = owner;
    return std::nullopt;
}

void Win32Hotkey::Unregister() {
    if (owner_ != nullptr) UnregisterHotKey(owner_, kId);
    owner_ = nullptr;
}

}  // namespace nudgewick::win32
