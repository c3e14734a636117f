#include "platform/linux/x11_hotkey.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace nudgewick::linux_desktop {
namespace {

KeySym KeySymOf(const Hotkey& hotkey) {
    switch (hotkey.kind) {
    case Hotkey::Kind::Letter: return XK_a + static_cast<KeySym>(hotkey.number);
    case Hotkey::Kind::Digit: return XK_0 + static_cast<KeySym>(hotkey.number);
    case Hotkey::Kind::Function: break;
    }
    return XK_F1 + static_cast<KeySym>(hotkey.number - 1);
}

// Alt and Super are Mod1 and Mod4 in every keyboard map X servers ship.
unsigned ModifierMask(unsigned modifiers) {
    unsigned mask = 0;
    if ((modifiers & kHotkeyCtrl) != 0) mask |= ControlMask;
    if ((modifiers & kHotkeyAlt) != 0) mask |= Mod1Mask;
    if ((modifiers & kHotkeyShift) != 0) mask |= ShiftMask;
    if ((modifiers & kHotkeySuper) != 0) mask |= Mod4Mask;
    return mask;
}

// The modifier that NumLock sets, which the keyboard map decides.
unsigned NumLockMask(Display* display) {
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display);
    unsigned mask = Mod2Mask;
    for (int modifier = 0; map != nullptr && numLock != 0 && modifier < 8; ++modifier) {
        for (int k = 0; k < map->max_keypermod; ++k) {
            if (map->modifiermap[modifier * map->max_keypermod + k] == numLock) mask = 1U << modifier;
        }
    }
    if (map != nullptr) XFreeModifiermap(map);
    return mask;
}

// Set by OnGrabFailed between a grab and its XSync: BadAccess is another
// client's grab; any other error is said in the server's words.
std::optional<HotkeyRefusal> refused;

int OnGrabFailed(Display* display, XErrorEvent* error) {
    if (refused) return 0;
    if (error->error_code == BadAccess) {
        refused.emplace(HotkeyRefusal::Taken);
        return 0;
    }
    char words[128] = "";
    XGetErrorText(display, error->error_code, words, sizeof words);
    refused.emplace(HotkeyRefusal::Failed, words);
    return 0;
}

}  // namespace

X11Hotkey::X11Hotkey(const Hotkey& hotkey, std::function<void()> pressed)
    : keycode_(XKeysymToKeycode(fl_display, KeySymOf(hotkey))),
      modifiers_(ModifierMask(hotkey.modifiers)),
      numLock_(NumLockMask(fl_display)),
      pressed_(std::move(pressed)) {}

X11Hotkey::~X11Hotkey() { Ungrab(); }

// A refusal comes back as an error, so the grabs are synced under a handler
// of our own; a grab refused in one lock state is released in all of them.
std::optional<HotkeyRefusal> X11Hotkey::Grab() {
    // Debian's keymap, for one, gives the key codes of F13-F24 to other symbols.
    if (keycode_ == 0) return HotkeyRefusal::NoSuchKey;
    const Window root = RootWindow(fl_display, fl_screen);
    XSync(fl_display, False);
    refused.reset();
    const auto previous = XSetErrorHandler(OnGrabFailed);
    for (const unsigned locks : LockStates()) {
        XGrabKey(fl_display, keycode_, modifiers_ | locks, root, False, GrabModeAsync, GrabModeAsync);
    }
    XSync(fl_display, False);
    XSetErrorHandler(previous);
    grabbed_ = true;
    if (refused) {
        Ungrab();
        return refused;
    }
    // Without this a held key would press again and again.
    XkbSetDetectableAutoRepeat(fl_display, True, nullptr);
    Fl::add_system_handler(OnXEvent, this);
    return std::nullopt;
}

void X11Hotkey::Ungrab() {
    if (!grabbed_) return;
    Fl::remove_system_handler(OnXEvent);
    const Window root = RootWindow(fl_display, fl_screen);
    for (const unsigned locks : LockStates()) {
        XUngrabKey(fl_display, keycode_, modifiers_ | locks, root);
    }
    XFlush(fl_display);
    grabbed_ = false;
}

int X11Hotkey::OnXEvent(void* event, void* self) {
    auto& hotkey = *static_cast<X11Hotkey*>(self);
    const XKeyEvent& key = static_cast<XEvent*>(event)->xkey;
    if ((key.type != KeyPress && key.type != KeyRelease) || key.keycode != hotkey.keycode_ ||
        key.window != RootWindow(fl_display, fl_screen)) {
        return 0;
    }
    // The modifiers may be let go first: a release counts whatever they are.
    const bool press = key.type == KeyPress;
    if (press && (key.state & ~(LockMask | hotkey.numLock_)) != hotkey.modifiers_) return 0;
    const bool first = press && !hotkey.held_;
    hotkey.held_ = press;
    if (first && hotkey.pressed_) hotkey.pressed_();
    return 1;
}

}  // namespace nudgewick::linux_desktop
