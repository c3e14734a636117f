#include "core/accessible_events.h"

#include <functional>

#include "fakes.h"

namespace nudgewick::testing {
namespace {

using Node = AccessibleNode;
using Change = std::function<void(AccessibleView&)>;

// The events from BEFORE to it changed so, as "kind source details; ...", each source by its path's last part.
std::string Told(const AccessibleView& before, const Change& change) {
    static const char* const kinds[] = {"state",   "focus",  "create", "activate", "deactivate", "destroy", "added",
                                        "removed", "insert", "delete", "caret",    "selection",  "name"};
    AccessibleView after = before;
    change(after);
    std::string told;
    for (const AccessibleEvent& event : EventsBetween(before, after)) {
        const std::string path = AccessiblePath(event.source);
        told += std::string(told.empty() ? "" : "; ") + kinds[static_cast<int>(event.kind)] + " " +
                path.substr(path.rfind('/') + 1);
        if (event.kind == AccessibleEventKind::StateChanged)
            told += " " + std::to_string(static_cast<int>(event.state)) + (event.detail1 == 1 ? "+" : "-");
        if (event.child) told += " " + std::to_string(event.detail1);
        if (!event.text.empty())
            told += " " + std::to_string(event.detail1) + "," + std::to_string(event.detail2) + " '" + event.text + "'";
    }
    return told;
}

// Focused is state 12, active 1, showing 25, visible 30.
TEST(AccessibleEventsTest, EachChangeIsToldInTheOrderAScreenReaderExpects) {
    const AccessibleView typing = Window(Node::IntervalBox), inactive = Window(Node::StartStopButton, {}),
                         onButton = Window(Node::StartStopButton), message = Window(Node::MessageButton, Node::Message);
    // Why; the view before; how it changes; what is told.
    const std::tuple<const char*, const AccessibleView&, Change, const char*> cases[] = {
        {"Tab to the other box", typing, [](auto& v) { v.focus = Node::PixelsBox; },
         "state interval_box 12-; state pixels_box 12+; focus pixels_box"},
        {"the window takes the keyboard", inactive, [](auto& v) { v.activeWindow = Node::Frame; },
         "state frame 1+; activate frame; state start_stop_button 12+; focus start_stop_button"},
        {"the window loses it", typing, [](auto& v) { v.activeWindow.reset(); },
         "state interval_box 12-; state frame 1-; deactivate frame"},
        {"typed over", typing, [](auto& v) { v.interval.text = "4500"; },
         "delete interval_box 0,2 '30'; insert interval_box 0,2 '45'"},
        {"the caret and selection move", typing,
         [](auto& v) {
             v.interval = {"3000", 2, 2, 2};
         },
         "caret interval_box; selection interval_box"},
        {"selection's end", typing, [](auto& v) { v.interval.selectionEnd = 2; }, "selection interval_box"},
        {"other box", typing, [](auto& v) { v.pixels.text = "7"; }, "insert pixels_box 0,1 '7'"},
        {"the message's text", message, [](auto& v) { v.message = "No."; }, "name message_text 0,0 'No.'"},
        {"the button's caption", typing, [](auto& v) { v.caption = "Go"; }, "name start_stop_button 0,0 'Go'"},
        {"the status line's text", typing, [](auto& v) { v.status = "waiting for zoom"; },
         "name status 0,0 'waiting for zoom'"},
        {"hidden behind the icon", inactive, [](auto& v) { v.shown = false; }, "state frame 30-; state frame 25-"},
        {"a message opens and takes the keyboard", typing, [&](auto& v) { v = message; },
         "added root 1; create message; state interval_box 12-; state frame 1-; deactivate frame; state message 1+; "
         "activate message; state message_button 12+; focus message_button"},
        {"it closes and the button has the focus", message, [&](auto& v) { v = onButton; },
         "state message_button 12-; state message 1-; deactivate message; state frame 1+; activate frame; "
         "state start_stop_button 12+; focus start_stop_button; destroy message; removed root 1"},
    };
    for (const auto& [why, before, change, want] : cases) EXPECT_EQ(Told(before, change), want) << why;
}

// Shift is X's bit 0, Lock 1, Control 2, Mod2 (NumLock) 4; 0x100 is the first button.
TEST(AccessibleEventsTest, AKeyCarriesItsTextOrItsName) {
    const std::pair<KeyStroke, DeviceEvent> cases[] = {
        {{true, 'A', 38, 0x11, 5, "A", "A"}, {0, 'A', 38, 0x11, 5, "A", true}},
        {{true, 0xff0d, 36, 0, 6, "\r", "Return"}, {0, 0xff0d, 36, 0, 6, "Return", false}},
        {{true, ' ', 65, 0, 7, " ", "space"}, {0, ' ', 65, 0, 7, "space", false}},
        {{true, 'c', 54, 0x104, 8, "\x03", "c"}, {0, 'c', 54, 0x04, 8, "\x03", true}},
        {{false, 0xff63, 118, 0x10, 0xFFFFFFFF, "", "Insert"}, {1, 0xff63, 118, 0x10, -1, "Insert", false}},
        {{true, 0xe9, 26, 0, 9, "é", "eacute"}, {0, 0xe9, 26, 0, 9, "é", true}},
        {{true, 0xffff, 119, 0, 10, "\x7f", "Delete"}, {0, 0xffff, 119, 0, 10, "Delete", false}},
    };
    for (const auto& [key, want] : cases) EXPECT_EQ(DeviceEventOf(key), want) << key.keysymName;
}

}  // namespace
}  // namespace nudgewick::testing
