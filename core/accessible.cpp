#include "core/accessible.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "core/controls.h"
#include "core/product_address.h"

namespace nudgewick {
namespace {

using Node = AccessibleNode;

constexpr const char* kPathPrefix = "/org/a11y/atspi/accessible/";

using Role = AccessibleRole;

constexpr const ControlLayout* Layout(ControlId id) {
    if (id == kStatusLine.id) return &kStatusLine;
    for (const auto& control : kControls)
        if (control.id == id) return &control;
    return nullptr;
}

constexpr unsigned kWidget = kAccessibleInterface | kComponentInterface;
constexpr unsigned kBox = kWidget | kTextInterface | kEditableTextInterface;
constexpr unsigned kActing = kWidget | kActionInterface;

// Every object, in the enum's order.
struct NodeInfo {
    const char* id = nullptr;         // the last part of the object's path
    Node parent = Node::Application;  // the application's is itself
    const ControlLayout* layout = nullptr;
    Role role = Role::Label;
    unsigned interfaces = kWidget;
    const char* action = nullptr;  // the one action's name
};

constexpr std::array<NodeInfo, kAccessibleNodeCount> kNodes{{
    // the path every client looks for first
    {"root", Node::Application, nullptr, Role::Application, kAccessibleInterface | kApplicationInterface},
    {"frame", Node::Application, nullptr, Role::Frame},
    {"title", Node::Frame, Layout(ControlId::TitleLabel)},
    {"link", Node::Frame, Layout(ControlId::Link), Role::Link, kActing, "jump"},
    {"status", Node::Frame, Layout(ControlId::State)},
    {"interval_label", Node::Frame, Layout(ControlId::IntervalLabel)},
    {"interval_box", Node::Frame, Layout(ControlId::IntervalBox), Role::Entry, kBox},
    {"pixels_label", Node::Frame, Layout(ControlId::PixelsLabel)},
    {"pixels_box", Node::Frame, Layout(ControlId::PixelsBox), Role::Entry, kBox},
    {"start_stop_button", Node::Frame, Layout(ControlId::StartStopButton), Role::PushButton, kActing, "click"},
    {"message", Node::Application, nullptr, Role::Alert},
    {"message_text", Node::Message, nullptr},
    {"message_button", Node::Message, nullptr, Role::PushButton, kActing, "click"},
}};

// Each control of the window is one object of the frame.
constexpr bool EveryControlIsAnObject() {
    std::size_t controls = 0;
    for (const auto& node : kNodes) controls += node.layout != nullptr ? 1 : 0;
    return controls == kControls.size() + 1;  // and the status line
}
static_assert(EveryControlIsAnObject(), "an object for each control");

constexpr std::pair<Role, const char*> kRoleNames[] = {
    {Role::Application, "application"}, {Role::Frame, "frame"}, {Role::Label, "label"}, {Role::Entry, "entry"},
    {Role::PushButton, "push button"},  {Role::Link, "link"},   {Role::Alert, "alert"},
};

const NodeInfo& Info(Node node) { return kNodes[static_cast<std::size_t>(node)]; }

bool IsMessagePart(Node node) { return node >= Node::Message; }

// The label on a box's row, which names it: the layout gives each box's row
// one label, left of the box.
const ControlLayout* LabelOfBox(const ControlLayout& box) {
    for (const auto& control : kControls)
        if (control.kind == ControlKind::Label && control.top == box.top) return &control;
    return nullptr;
}

void SetState(std::array<std::uint32_t, 2>& words, AccessibleState state) {
    const auto bit = static_cast<std::uint32_t>(state);
    words[bit >> 5] |= 1u << (bit & 31);
}

// The corner that coordinates of TYPE count from, for NODE's extents.
Rect Origin(Node node, const AccessibleView& view, CoordType type) {
    if (type == CoordType::Screen) return {};
    const auto window = type == CoordType::Window ? WindowOf(node) : ParentOf(node);
    return window ? view.screen[static_cast<std::size_t>(*window)] : Rect{};
}

}  // namespace

std::string AccessiblePath(Node node) { return std::string(kPathPrefix) + Info(node).id; }

std::optional<Node> NodeAtPath(std::string_view path) {
    const std::string_view prefix = kPathPrefix;
    if (path.substr(0, prefix.size()) != prefix) return std::nullopt;
    for (std::size_t i = 0; i < kNodes.size(); ++i)
        if (path.substr(prefix.size()) == kNodes[i].id) return static_cast<Node>(i);
    return std::nullopt;
}

std::optional<Node> NodeOf(ControlId control) {
    for (const Node node : kAccessibleNodes)
        if (LayoutOf(node) != nullptr && LayoutOf(node)->id == control) return node;
    return std::nullopt;
}

const ControlLayout* LayoutOf(Node node) { return Info(node).layout; }

std::optional<ControlId> LabelOf(ControlId box) {
    for (const auto& control : kControls)
        if (control.id == box && control.kind == ControlKind::TextBox) {
            const ControlLayout* label = LabelOfBox(control);
            if (label != nullptr) return label->id;
        }
    return std::nullopt;
}

bool Exists(Node node, const AccessibleView& view) { return !IsMessagePart(node) || view.message.has_value(); }

std::optional<Node> ParentOf(Node node) {
    if (node == Node::Application) return std::nullopt;
    return Info(node).parent;
}

std::vector<Node> ChildrenOf(Node node, const AccessibleView& view) {
    std::vector<Node> children;
    for (const Node child : kAccessibleNodes)  // the application is no one's child
        if (child != Node::Application && Info(child).parent == node && Exists(child, view)) children.push_back(child);
    if (node == Node::Frame)  // the controls
        std::ranges::stable_sort(children, std::less{},
                                 [](Node child) { return std::pair(LayoutOf(child)->top, LayoutOf(child)->left); });
    return children;
}

int IndexInParent(Node node, const AccessibleView& view) {
    // The application, no one's child, is not found among its own children.
    const auto siblings = ChildrenOf(ParentOf(node).value_or(Node::Application), view);
    const auto at = std::find(siblings.begin(), siblings.end(), node);
    return at == siblings.end() ? -1 : static_cast<int>(at - siblings.begin());
}

std::optional<Node> WindowOf(Node node) {
    if (node == Node::Application) return std::nullopt;
    return IsMessagePart(node) ? Node::Message : Node::Frame;
}

AccessibleRole RoleOf(Node node) { return Info(node).role; }

const char* RoleName(AccessibleRole role) {
    for (const auto& [known, name] : kRoleNames)
        if (known == role) return name;
    return "";
}

std::string NameOf(Node node, const AccessibleView& view) {
    switch (node) {
    case Node::Application:
    case Node::Message: return kMessageTitle;
    case Node::Frame: return kWindowTitle;
    case Node::MessageText: return view.message.value_or("");
    case Node::MessageButton: return Tr(kMessageButton);
    case Node::StartStopButton: return view.caption;
    case Node::Link: return kProductAddress;
    case Node::StatusLine: return view.status;
    default: {  // a label, or a box, which its row's label names
        const ControlLayout& layout = *LayoutOf(node);
        return ShownText(layout.kind == ControlKind::TextBox ? *LabelOfBox(layout) : layout);
    }
    }
}

std::vector<Relation> RelationsOf(Node node) {
    const ControlLayout* layout = LayoutOf(node);
    if (layout == nullptr) return {};
    if (layout->kind == ControlKind::TextBox) {
        const ControlLayout* label = LabelOfBox(*layout);
        if (label != nullptr) return {{kRelationLabelledBy, *NodeOf(label->id)}};
    }
    std::vector<Relation> relations;
    for (const auto& control : kControls)
        if (control.kind == ControlKind::TextBox && LabelOfBox(control) == layout)
            relations.push_back({kRelationLabelFor, *NodeOf(control.id)});
    return relations;
}

bool IsFocused(Node node, const AccessibleView& view) {
    return view.focus == node && view.activeWindow.has_value() && view.activeWindow == WindowOf(node);
}

bool HasState(Node node, const AccessibleView& view, AccessibleState state) {
    const auto words = StateWords(node, view);
    const auto bit = static_cast<std::uint32_t>(state);
    return (words[bit >> 5] >> (bit & 31) & 1u) != 0;
}

std::array<std::uint32_t, 2> StateWords(Node node, const AccessibleView& view) {
    std::array<std::uint32_t, 2> words{};
    if (node == Node::Application || !Exists(node, view)) return words;
    using enum AccessibleState;
    SetState(words, Enabled);
    SetState(words, Sensitive);
    if (IsMessagePart(node) || view.shown) {
        SetState(words, Showing);
        SetState(words, Visible);
    }
    if (view.activeWindow == node) SetState(words, Active);
    if (node == Node::Message) SetState(words, Modal);
    if ((InterfacesOf(node) & kActionInterface) != 0 || BoxOf(node, view) != nullptr) SetState(words, Focusable);
    if (IsFocused(node, view)) SetState(words, Focused);
    if (BoxOf(node, view) != nullptr) {
        SetState(words, Editable);
        SetState(words, SingleLine);
        SetState(words, SelectableText);
    }
    return words;
}

unsigned InterfacesOf(Node node) { return Info(node).interfaces; }

std::vector<const char*> InterfaceNames(unsigned interfaces) {
    std::vector<const char*> names;
    for (const char* name : kInterfaceNames) {
        if ((interfaces & 1u) != 0) names.push_back(name);
        interfaces >>= 1;
    }
    return names;
}

std::optional<const char*> ActionNameOf(Node node) {
    if (Info(node).action == nullptr) return std::nullopt;
    return Info(node).action;
}

bool CanAct(Node node, const AccessibleView& view) {
    return Exists(node, view) && (!view.message || WindowOf(node) == Node::Message);
}

const BoxView* BoxOf(Node node, const AccessibleView& view) {
    if (node == Node::IntervalBox) return &view.interval;
    if (node == Node::PixelsBox) return &view.pixels;
    return nullptr;
}

std::optional<CoordType> ToCoordType(std::uint32_t value) {
    if (value > static_cast<std::uint32_t>(CoordType::Parent)) return std::nullopt;
    return static_cast<CoordType>(value);
}

Rect ExtentsOf(Node node, const AccessibleView& view, CoordType type) {
    return InCoordinates(view.screen[static_cast<std::size_t>(node)], node, view, type);
}

Rect InCoordinates(const Rect& onScreen, Node node, const AccessibleView& view, CoordType type) {
    const Rect origin = Origin(node, view, type);
    return {onScreen.x - origin.x, onScreen.y - origin.y, onScreen.width, onScreen.height};
}

ScreenPoint OnScreen(Node node, const AccessibleView& view, int x, int y, CoordType type) {
    const Rect origin = Origin(node, view, type);
    return {static_cast<long long>(x) + origin.x, static_cast<long long>(y) + origin.y};
}

std::optional<Node> ChildAt(Node node, const AccessibleView& view, int x, int y, CoordType type) {
    const ScreenPoint point = OnScreen(node, view, x, y, type);
    for (const Node child : ChildrenOf(node, view))
        if (view.screen[static_cast<std::size_t>(child)].Contains(point.x, point.y)) return child;
    return std::nullopt;
}

}  // namespace nudgewick
