#include <gtest/gtest.h>

#include <functional>

#include "core/accessible_events.h"

namespace nudgewick {
namespace {

using Node = AccessibleNode;

// "kind source details", the source by the last part of its path.
std::string Describe(const AccessibleEvent& event) {
    static const char* const kinds[] = {"state",   "focus",  "create", "activate", "deactivate", "destroy", "added",
                                        "removed", "insert", "delete", "caret",    "selection",  "name"};
    const std::string path = AccessiblePath(event.source);
    std::string text = std::string(kinds[static_cast<int>(event.kind)]) + " " + path.substr(path.rfind('/') + 1);
    if (event.kind == AccessibleEventKind::StateChanged)
        text += " " + std::to_string(static_cast<int>(event.state)) + (event.detail1 != 0 ? "+" : "-");
    if (event.child) text += " " + std::to_string(event.detail1);
    if (!event.text.empty()) text += " " + std::to_string(event.detail1) + "," + std::to_string(event.detail2);
    if (!event.text.empty()) text += " '" + event.text + "'";
    return text;
}

std::vector<std::string> Changes(const AccessibleView& before, const std::function<void(AccessibleView&)>& change) {
    AccessibleView after = before;
    change(after);
    std::vector<std::string> described;
    for (const auto& event : EventsBetween(before, after)) described.push_back(Describe(event));
    return described;
}

// Focused is state 12, active 1, showing 25, visible 30.
TEST(AccessibleEventsTest, EachChangeIsToldInTheOrderAScreenReaderExpects) {
    AccessibleView typing;
    typing.shown = true;
    typing.activeWindow = Node::Frame;
    typing.focus = Node::IntervalBox;
    typing.interval = {"3000", 4, 0, 4};
    typing.caption = "Stop";
    AccessibleView inactive = typing;
    inactive.activeWindow.reset();
    inactive.focus = Node::StartStopButton;
    AccessibleView message = typing;
    message.message = "Refused.";
    message.activeWindow = Node::Message;
    message.focus = Node::MessageButton;

    const struct {
        const char* why;
        const AccessibleView& before;
        std::function<void(AccessibleView&)> change;
        std::vector<std::string> want;
    } cases[] = {
        {"nothing", typing, [](AccessibleView&) {}, {}},
        {"Tab to the other box",
         typing,
         [](AccessibleView& v) { v.focus = Node::PixelsBox; },
         {"state interval_box 12-", "state pixels_box 12+", "focus pixels_box"}},
        {"the window takes the keyboard",
         inactive,
         [](AccessibleView& v) { v.activeWindow = Node::Frame; },
         {"state frame 1+", "activate frame", "state start_stop_button 12+", "focus start_stop_button"}},
        {"the window loses it",
         typing,
         [](AccessibleView& v) { v.activeWindow.reset(); },
         {"state interval_box 12-", "state frame 1-", "deactivate frame"}},
        {"typed over",
         typing,
         [](AccessibleView& v) { v.interval.text = "4500"; },
         {"delete interval_box 0,2 '30'", "insert interval_box 0,2 '45'"}},
        {"the caret and selection move",
         typing,
         [](AccessibleView& v) {
             v.interval = {"3000", 2, 2, 2};
         },
         {"caret interval_box", "selection interval_box"}},
        {"selection's end", typing, [](AccessibleView& v) { v.interval.selectionEnd = 2; }, {"selection interval_box"}},
        {"other box", typing, [](AccessibleView& v) { v.pixels.text = "7"; }, {"insert pixels_box 0,1 '7'"}},
        {"the message's text", message, [](AccessibleView& v) { v.message = "No."; }, {"name message_text 0,0 'No.'"}},
        {"the button's caption",
         typing,
         [](AccessibleView& v) { v.caption = "Go"; },
         {"name start_stop_button 0,0 'Go'"}},
        {"hidden behind the icon",
         inactive,
         [](AccessibleView& v) { v.shown = false; },
         {"state frame 30-", "state frame 25-"}},
        {"a message opens and takes the keyboard",
         typing,
         [](AccessibleView& v) {
             v.message = "Refused.";
             v.activeWindow = Node::Message;
             v.focus = Node::MessageButton;
         },
         {"added root 1", "create message", "state interval_box 12-", "state frame 1-", "deactivate frame",
          "state message 1+", "activate message", "state message_button 12+", "focus message_button"}},
        {"it closes and the button has the focus",
         message,
         [](AccessibleView& v) {
             v.message.reset();
             v.activeWindow = Node::Frame;
             v.focus = Node::StartStopButton;
         },
         {"state message_button 12-", "state message 1-", "deactivate message", "state frame 1+", "activate frame",
          "state start_stop_button 12+", "focus start_stop_button", "destroy message", "removed root 1"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Changes(c.before, c.change), c.want) << c.why;
}

// Shift is X's bit 0, Lock 1, Control 2, Mod2 (NumLock) 4; 0x100 is the first button.
TEST(AccessibleEventsTest, AKeyCarriesItsTextOrItsName) {
    const struct {
        KeyStroke key;
        DeviceEvent want;
    } cases[] = {
        {{true, 'A', 38, 0x11, 5, "A", "A"}, {0, 'A', 38, 0x11, 5, "A", true}},
        {{true, 0xff0d, 36, 0, 6, "\r", "Return"}, {0, 0xff0d, 36, 0, 6, "Return", false}},
        {{true, ' ', 65, 0, 7, " ", "space"}, {0, ' ', 65, 0, 7, "space", false}},
        {{true, 'c', 54, 0x104, 8, "\x03", "c"}, {0, 'c', 54, 0x04, 8, "\x03", true}},
        {{false, 0xff63, 118, 0x10, 0xFFFFFFFF, "", "Insert"}, {1, 0xff63, 118, 0x10, -1, "Insert", false}},
        {{true, 0xe9, 26, 0, 9, "é", "eacute"}, {0, 0xe9, 26, 0, 9, "é", true}},
    };
    for (const auto& c : cases) EXPECT_EQ(DeviceEventOf(c.key), c.want) << c.key.keysymName;
}

}  // namespace
}  // namespace nudgewick
