#pragma once
// A key combination that toggles the ticks from anywhere, as the button does
// ("--hotkey ctrl+alt+n"). The front-ends register it with their system.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace nudgewick {

enum HotkeyModifier : unsigned { kHotkeyCtrl = 1, kHotkeyAlt = 2, kHotkeyShift = 4, kHotkeySuper = 8 };

struct Hotkey {
    enum class Kind { Letter, Digit, Function };
    unsigned modifiers = 0;  // HotkeyModifier bits, at least one
    Kind kind = Kind::Letter;
    int number = 0;  // 0 to 25 for a to z, 0 to 9 for a digit, 1 to 24 for F1 to F24

    bool operator==(const Hotkey&) const = default;
};

// Modifiers (ctrl, alt, shift, super) and then a key, joined by "+", in any
// case and order: "ctrl+alt+n", "Shift+Ctrl+F9". Nothing for anything else.
std::optional<Hotkey> ReadHotkey(std::string_view text);

// The combination as the user reads it: "ctrl+shift+f9".
std::string HotkeyText(const Hotkey& hotkey);

// The combination as the desktop's shortcuts name a trigger, with xkbcommon's
// names: "CTRL+SHIFT+F9", "LOGO+n".
std::string ShortcutTrigger(const Hotkey& hotkey);

// Where no hotkey can be had, the way round: a shortcut of the desktop's own.
inline constexpr const char* kBindToggleAdvice =
    "bind a key to \"nudgewick --toggle\" in the desktop's keyboard settings";

// What the hotkey does, as the desktop's list of shortcuts shows it.
inline constexpr const char* kHotkeyAction = "Stop or go";

// Why the system would not give the program its combination.
struct HotkeyRefusal {
    enum Kind {
        Taken,        // another program holds it
        NoSuchKey,    // no key of this keyboard produces the combination's key (F13 on most)
        Unavailable,  // no program may take a key from the whole desktop (a Wayland session
                      // without the desktop's shortcuts, or whose desktop said no: reason)
        Failed,       // the system said no for a reason of its own, in reason
    };
    // A kind alone is a whole refusal, but for Failed's.
    // NOLINTNEXTLINE(google-explicit-constructor)
    HotkeyRefusal(Kind why, std::string words = {}) : kind(why), reason(std::move(words)) {}
    Kind kind;
    std::string reason;
};

// What the system made of the combination asked for.
struct HotkeyOutcome {
    std::optional<HotkeyRefusal> refusal;  // nothing: the program's from now on
    // Held as one of the desktop's shortcuts, which the user may have set to
    // other keys: what sets it off, in the desktop's words (empty: no key).
    std::optional<std::string> desktopTrigger;
};

// How a hotkey reaches the program here, for --check.
enum class HotkeyRoute { KeyGrab, DesktopShortcuts, NotOffered };
std::string HotkeyCheckLine(HotkeyRoute route);

}  // namespace nudgewick
