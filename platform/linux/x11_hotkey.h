#pragma once
// The --hotkey combination, from anywhere on the X display: a passive grab
// of the key on the root window, once for each state of NumLock and CapsLock,
// which would otherwise make the combination a different one.

#include <X11/Xlib.h>

#include <array>
#include <functional>
#include <optional>

#include "core/hotkey.h"

namespace nudgewick::linux_desktop {

class X11Hotkey {
public:
    X11Hotkey(const Hotkey& hotkey, std::function<void()> pressed);  // needs FLTK's display open
    ~X11Hotkey();
    X11Hotkey(const X11Hotkey&) = delete;
    X11Hotkey& operator=(const X11Hotkey&) = delete;

    // Why the combination is not ours, or nothing once it is. Refused in one
    // lock state, it is ours in none.
    std::optional<HotkeyRefusal> Grab();

private:
    static int OnXEvent(void* event, void* self);
    void Ungrab();
    std::array<unsigned, 4> LockStates() const { return {0U, LockMask, numLock_, LockMask | numLock_}; }

    KeyCode keycode_;
    unsigned modifiers_;
    unsigned numLock_;
    bool grabbed_ = false;
    bool held_ = false;  // from the press to the release: a key held down presses only once
    std::function<void()> pressed_;
};

}  // namespace nudgewick::linux_desktop
