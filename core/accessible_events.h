#pragma once
// What assistive technologies are told as the window changes, worked out
// from two views of it, before and after; and a key as they are handed it
// before the window takes it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/accessible.h"

namespace nudgewick {

enum class AccessibleEventKind {
    StateChanged,  // state, on
    Focus,
    WindowCreate,
    WindowActivate,
    WindowDeactivate,
    WindowDestroy,
    ChildAdded,    // child, index
    ChildRemoved,  // child, index
    TextInserted,  // offset, count, text
    TextDeleted,   // offset, count, text
    CaretMoved,    // offset
    SelectionChanged,
    NameChanged,  // text
};

struct AccessibleEvent {
    AccessibleEventKind kind;
    AccessibleNode source;
    AccessibleState state{};  // StateChanged's
    int detail1 = 0;          // on (1) or off (0); the child's index; the text's offset
    int detail2 = 0;          // the text's length in characters
    std::string text{};
    std::optional<AccessibleNode> child{};

    bool operator==(const AccessibleEvent&) const = default;
};

// In the order a screen reader expects them: what opened, what lost the
// focus and the keyboard, what changed inside, what gained the keyboard and
// then the focus, and last what closed.
std::vector<AccessibleEvent> EventsBetween(const AccessibleView& before, const AccessibleView& after);

// A key pressed or released in the window, as the X server tells it.
struct KeyStroke {
    bool pressed = true;
    std::uint32_t keysym = 0;
    std::uint32_t keycode = 0;
    std::uint32_t state = 0;  // X's modifier and button bits
    std::uint32_t time = 0;   // the server's milliseconds
    std::string text;         // what the key types, if anything
    std::string keysymName;   // "Return", "Insert", "a"
};

// The key as AT-SPI's DeviceEventController takes it (uinnisb).
struct DeviceEvent {
    std::uint32_t type = 0;  // 0 pressed, 1 released
    std::int32_t id = 0;     // the keysym
    std::int16_t hardwareCode = 0;
    std::int16_t modifiers = 0;
    std::int32_t timestamp = 0;
    std::string text{};
    bool isText = false;

    bool operator==(const DeviceEvent&) const = default;
};

// AT-SPI numbers the modifiers as X does (Shift, Lock, Control, Mod1-Mod5);
// the buttons are dropped. The text is what the key types when it shows
// something or Control is held, else the keysym's name.
DeviceEvent DeviceEventOf(const KeyStroke& key);

}  // namespace nudgewick
