#include <gtest/gtest.h>

#include "core/hotkey.h"

namespace nudgewick {
namespace {

// Each kind of key at both ends of its range, read and written back: the
// number is what the front-ends turn into their systems' key codes.
TEST(HotkeyTest, EveryKindOfKeyReadsAsItsNumberAndBack) {
    using enum Hotkey::Kind;
    const struct {
        const char* text;
        Hotkey hotkey;
        const char* written;
    } cases[] = {
        {"ctrl+a", {kHotkeyCtrl, Letter, 0}, "ctrl+a"},
        {"Alt+Z", {kHotkeyAlt, Letter, 25}, "alt+z"},
        {"shift+0", {kHotkeyShift, Digit, 0}, "shift+0"},
        {"super+9", {kHotkeySuper, Digit, 9}, "super+9"},
        {"ctrl+F1", {kHotkeyCtrl, Function, 1}, "ctrl+f1"},
        {"shift+alt+f10", {kHotkeyAlt | kHotkeyShift, Function, 10}, "alt+shift+f10"},
        {"super+shift+alt+ctrl+f24", {15, Function, 24}, "ctrl+alt+shift+super+f24"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadHotkey(c.text), c.hotkey) << c.text;
        EXPECT_EQ(HotkeyText(c.hotkey), c.written) << c.text;
    }
    for (const char* refused : {"ctrl+", "n", "ctrl+alt", "ctrl+ctrl+n", "hyper+n", "ctrl+f25", "ctrl+f0", "ctrl+f05",
                                "ctrl+nn", "ctrl+f1x", "ctrl+`", "ctrl+{", "ctrl+/", "ctrl+:"})
        EXPECT_FALSE(ReadHotkey(refused)) << refused;
}

}  // namespace
}  // namespace nudgewick
