#include "core/accessible.h"

#include <algorithm>

#include "core/controls.h"
#include "core/product_address.h"

namespace nudgewick {
namespace {

using Node = AccessibleNode;

constexpr const char* kPathPrefix = "/org/a11y/atspi/accessible/";

struct NodeInfo {
    const char* id = nullptr;         // the last part of the object's path
    Node parent = Node::Application;  // the application's is itself
    std::optional<ControlId> control;
};

constexpr std::array<NodeInfo, kAccessibleNodeCount> kNodes{{
    {"root", Node::Application, std::nullopt},  // the path every client looks for first
    {"frame", Node::Application, std::nullopt},
    {"title", Node::Frame, ControlId::TitleLabel},
    {"link", Node::Frame, ControlId::Link},
    {"interval_label", Node::Frame, ControlId::IntervalLabel},
    {"interval_box", Node::Frame, ControlId::IntervalBox},
    {"pixels_label", Node::Frame, ControlId::PixelsLabel},
    {"pixels_box", Node::Frame, ControlId::PixelsBox},
    {"start_stop_button", Node::Frame, ControlId::StartStopButton},
    {"message", Node::Application, std::nullopt},
    {"message_text", Node::Message, std::nullopt},
    {"message_button", Node::Message, std::nullopt},
}};

const NodeInfo& Info(Node node) { return kNodes[static_cast<std::size_t>(node)]; }

const ControlLayout* LayoutOf(Node node) {
    const auto control = Info(node).control;
    if (!control) return nullptr;
    for (const auto& layout : kControls)
        if (layout.id == *control) return &layout;
    return nullptr;
}

bool IsMessagePart(Node node) { return node >= Node::Message; }

// The label left of a box on the same row, nearest to it.
const ControlLayout* LabelOfBox(const ControlLayout& box) {
    const ControlLayout* label = nullptr;
    for (const auto& control : kControls)
        if (control.kind == ControlKind::Label && control.top == box.top && control.left + control.width <= box.left &&
            (label == nullptr || control.left > label->left))
            label = &control;
    return label;
}

void SetState(std::array<std::uint32_t, 2>& words, AccessibleState state) {
    const auto bit = static_cast<std::uint32_t>(state);
    words[bit / 32] |= 1u << (bit % 32);
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
    for (std::size_t i = 0; i < kNodes.size(); ++i)
        if (kNodes[i].control == control) return static_cast<Node>(i);
    return std::nullopt;
}

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
    switch (node) {
    case Node::Application:
        if (view.message) return {Node::Frame, Node::Message};
        return {Node::Frame};
    case Node::Frame: {
        std::vector<const ControlLayout*> controls;
        controls.reserve(kControls.size());
        for (const auto& control : kControls) controls.push_back(&control);
        std::stable_sort(controls.begin(), controls.end(), [](const ControlLayout* a, const ControlLayout* b) {
            return a->top != b->top ? a->top < b->top : a->left < b->left;
        });
        std::vector<Node> children;
        children.reserve(controls.size());
        for (const auto* control : controls) children.push_back(*NodeOf(control->id));
        return children;
    }
    case Node::Message:
        if (view.message) return {Node::MessageText, Node::MessageButton};
        return {};
    default: return {};
    }
}

int IndexInParent(Node node, const AccessibleView& view) {
    const auto parent = ParentOf(node);
    if (!parent) return -1;
    const auto siblings = ChildrenOf(*parent, view);
    const auto at = std::find(siblings.begin(), siblings.end(), node);
    return at == siblings.end() ? -1 : static_cast<int>(at - siblings.begin());
}

std::optional<Node> WindowOf(Node node) {
    if (node == Node::Application) return std::nullopt;
    return IsMessagePart(node) ? Node::Message : Node::Frame;
}

AccessibleRole RoleOf(Node node) {
    switch (node) {
    case Node::Application: return AccessibleRole::Application;
    case Node::Frame: return AccessibleRole::Frame;
    case Node::Message: return AccessibleRole::Alert;
    case Node::MessageText: return AccessibleRole::Label;
    case Node::MessageButton: return AccessibleRole::PushButton;
    default: break;
    }
    switch (LayoutOf(node)->kind) {
    case ControlKind::Button: return AccessibleRole::PushButton;
    case ControlKind::TextBox: return AccessibleRole::Entry;
    case ControlKind::Label: return AccessibleRole::Label;
    case ControlKind::Link: return AccessibleRole::Link;
    }
    return AccessibleRole::Label;
}

std::uint32_t RoleNumber(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::Application: return 75;
    case AccessibleRole::Frame: return 23;
    case AccessibleRole::Label: return 29;
    case AccessibleRole::Entry: return 79;
    case AccessibleRole::PushButton: return 43;
    case AccessibleRole::Link: return 88;
    case AccessibleRole::Alert: return 2;
    }
    return 0;
}

const char* RoleName(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::Application: return "application";
    case AccessibleRole::Frame: return "frame";
    case AccessibleRole::Label: return "label";
    case AccessibleRole::Entry: return "entry";
    case AccessibleRole::PushButton: return "push button";
    case AccessibleRole::Link: return "link";
    case AccessibleRole::Alert: return "alert";
    }
    return "invalid";
}

std::string NameOf(Node node, const AccessibleView& view) {
    switch (node) {
    case Node::Application:
    case Node::Message: return kMessageTitle;
    case Node::Frame: return kWindowTitle;
    case Node::MessageText: return view.message.value_or("");
    case Node::MessageButton: return kMessageButton;
    case Node::StartStopButton: return view.caption;
    case Node::Link: return kProductAddress;
    default: break;
    }
    const ControlLayout* layout = LayoutOf(node);
    if (layout->kind == ControlKind::TextBox) layout = LabelOfBox(*layout);
    return layout != nullptr ? layout->text : "";
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
    return (words[bit / 32] >> (bit % 32) & 1u) != 0;
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

unsigned InterfacesOf(Node node) {
    switch (node) {
    case Node::Application: return kAccessibleInterface | kApplicationInterface;
    case Node::IntervalBox:
    case Node::PixelsBox: return kAccessibleInterface | kComponentInterface | kTextInterface | kEditableTextInterface;
    default: break;
    }
    return kAccessibleInterface | kComponentInterface | (ActionNameOf(node) ? kActionInterface : 0u);
}

std::vector<const char*> InterfaceNames(unsigned interfaces) {
    static constexpr std::array<std::pair<unsigned, const char*>, 6> kNames{{
        {kAccessibleInterface, "org.a11y.atspi.Accessible"},
        {kApplicationInterface, "org.a11y.atspi.Application"},
        {kComponentInterface, "org.a11y.atspi.Component"},
        {kTextInterface, "org.a11y.atspi.Text"},
        {kEditableTextInterface, "org.a11y.atspi.EditableText"},
        {kActionInterface, "org.a11y.atspi.Action"},
    }};
    std::vector<const char*> names;
    for (const auto& [bit, name] : kNames)
        if ((interfaces & bit) != 0) names.push_back(name);
    return names;
}

std::optional<const char*> ActionNameOf(Node node) {
    if (node == Node::MessageButton || node == Node::StartStopButton) return "click";
    if (node == Node::Link) return "jump";
    return std::nullopt;
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
