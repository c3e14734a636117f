#include "core/accessible_events.h"

#include "core/accessible_text.h"

namespace nudgewick {
namespace {

using Node = AccessibleNode;
using Kind = AccessibleEventKind;

constexpr std::uint32_t kControlMask = 1u << 2;

AccessibleEvent StateChange(Node node, AccessibleState state, bool on) {
    return {.kind = Kind::StateChanged, .source = node, .state = state, .detail1 = on ? 1 : 0};
}

AccessibleEvent OfKind(Kind kind, Node node) { return {.kind = kind, .source = node}; }

std::vector<Node> FocusedNodes(const AccessibleView& view) {
    std::vector<Node> focused;
    for (const Node node : kAccessibleNodes)
        if (IsFocused(node, view)) focused.push_back(node);
    return focused;
}

bool Holds(const std::vector<Node>& nodes, Node node) {
    for (const Node n : nodes)
        if (n == node) return true;
    return false;
}

// A box's new text as the deletion and the insertion that make it, then
// where the caret and the selection went.
void AddBoxChanges(std::vector<AccessibleEvent>& events, Node box, const BoxView& before, const BoxView& after) {
    if (before.text != after.text) {
        const TextChange change = ChangeBetween(before.text, after.text);
        if (!change.removed.empty())
            events.push_back({.kind = Kind::TextDeleted,
                              .source = box,
                              .detail1 = change.offset,
                              .detail2 = CharacterCount(change.removed),
                              .text = change.removed});
        if (!change.inserted.empty())
            events.push_back({.kind = Kind::TextInserted,
                              .source = box,
                              .detail1 = change.offset,
                              .detail2 = CharacterCount(change.inserted),
                              .text = change.inserted});
    }
    if (before.caret != after.caret)
        events.push_back({.kind = Kind::CaretMoved, .source = box, .detail1 = after.caret});
    if (before.selectionStart != after.selectionStart || before.selectionEnd != after.selectionEnd)
        events.push_back(OfKind(Kind::SelectionChanged, box));
}

}  // namespace

std::vector<AccessibleEvent> EventsBetween(const AccessibleView& before, const AccessibleView& after) {
    std::vector<AccessibleEvent> events;
    const int messageIndex = 1;  // after the frame
    if (!before.message && after.message) {
        events.push_back(
            {.kind = Kind::ChildAdded, .source = Node::Application, .detail1 = messageIndex, .child = Node::Message});
        events.push_back(OfKind(Kind::WindowCreate, Node::Message));
    }
    const std::vector<Node> wasFocused = FocusedNodes(before), isFocused = FocusedNodes(after);
    for (const Node node : wasFocused)
        if (!Holds(isFocused, node)) events.push_back(StateChange(node, AccessibleState::Focused, false));
    const bool windowChanged = before.activeWindow != after.activeWindow;
    if (windowChanged && before.activeWindow) {
        events.push_back(StateChange(*before.activeWindow, AccessibleState::Active, false));
        events.push_back(OfKind(Kind::WindowDeactivate, *before.activeWindow));
    }
    if (before.shown != after.shown) {
        events.push_back(StateChange(Node::Frame, AccessibleState::Visible, after.shown));
        events.push_back(StateChange(Node::Frame, AccessibleState::Showing, after.shown));
    }
    for (const Node node : kAccessibleNodes) {
        if (!Exists(node, before) || !Exists(node, after)) continue;
        std::string name = NameOf(node, after);
        if (name != NameOf(node, before))
            events.push_back({.kind = Kind::NameChanged, .source = node, .text = std::move(name)});
    }
    AddBoxChanges(events, Node::IntervalBox, before.interval, after.interval);
    AddBoxChanges(events, Node::PixelsBox, before.pixels, after.pixels);
    if (windowChanged && after.activeWindow) {
        events.push_back(StateChange(*after.activeWindow, AccessibleState::Active, true));
        events.push_back(OfKind(Kind::WindowActivate, *after.activeWindow));
    }
    for (const Node node : isFocused)
        if (!Holds(wasFocused, node)) {
            events.push_back(StateChange(node, AccessibleState::Focused, true));
            events.push_back(OfKind(Kind::Focus, node));
        }
    if (before.message && !after.message) {
        events.push_back(OfKind(Kind::WindowDestroy, Node::Message));
        events.push_back(
            {.kind = Kind::ChildRemoved, .source = Node::Application, .detail1 = messageIndex, .child = Node::Message});
    }
    return events;
}

DeviceEvent DeviceEventOf(const KeyStroke& key) {
    const auto first = key.text.empty() ? 0u : static_cast<unsigned char>(key.text[0]);
    const bool shows = first > ' ' && first != 0x7F;
    const bool typed = !key.text.empty() && (shows || (key.state & kControlMask) != 0);
    return {.type = key.pressed ? 0u : 1u,
            .id = static_cast<std::int32_t>(key.keysym),
            .hardwareCode = static_cast<std::int16_t>(key.keycode & 0x7FFF),
            .modifiers = static_cast<std::int16_t>(key.state & 0xFF),
            .timestamp = static_cast<std::int32_t>(key.time),
            .text = typed ? key.text : key.keysymName,
            .isText = typed};
}

}  // namespace nudgewick
