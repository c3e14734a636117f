#pragma once
// The window as assistive technologies (screen readers, magnifiers) see it,
// in the terms of AT-SPI, the Linux desktops' accessibility protocol: the
// application, its frame, the frame's controls from the layout table, and
// the status line, and the message while one is open; each object's role,
// name, states, relations and place on the screen. A front-end reads the live window into an
// AccessibleView; everything said about it is worked out here.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/accessible_text.h"
#include "core/layout.h"

namespace nudgewick {

// Every object, the application first.
enum class AccessibleNode : std::uint8_t {
    Application,
    Frame,
    TitleLabel,
    Link,
    StatusLine,  // what the icon's tooltip says
    IntervalLabel,
    IntervalBox,
    PixelsLabel,
    PixelsBox,
    StartStopButton,
    Message,  // the message's window, while one is open
    MessageText,
    MessageButton,  // its OK
};
inline constexpr std::size_t kAccessibleNodeCount = 13;
static_assert(kAccessibleNodeCount == static_cast<std::size_t>(AccessibleNode::MessageButton) + 1,
              "one count for every object");
inline constexpr auto kAccessibleNodes = [] {
    std::array<AccessibleNode, kAccessibleNodeCount> all{};
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<AccessibleNode>(i);
    return all;
}();

// Each role by AT-SPI's number for it.
enum class AccessibleRole : std::uint32_t {
    Application = 75,
    Frame = 23,
    Label = 29,
    Entry = 79,
    PushButton = 43,
    Link = 88,
    Alert = 2
};

// What the window shows at one moment.
struct AccessibleView {
    bool shown = false;                          // the frame is on the screen
    std::optional<AccessibleNode> activeWindow;  // Frame or Message, while it has the keyboard
    std::optional<AccessibleNode> focus;         // the control that takes keys within its window
    BoxView interval;
    BoxView pixels;
    std::string caption;                              // the Stop/Go button's
    std::string status;                               // the status line's
    std::optional<std::string> message;               // the open message's text
    std::array<Rect, kAccessibleNodeCount> screen{};  // each object's place on the screen

    bool operator==(const AccessibleView&) const = default;
};

// Object paths on the bus, and back; nothing for a path that names no object.
std::string AccessiblePath(AccessibleNode node);
std::optional<AccessibleNode> NodeAtPath(std::string_view path);
inline constexpr const char* kNullPath = "/org/a11y/atspi/null";

std::optional<AccessibleNode> NodeOf(ControlId control);
// The control's layout, for the objects that are one.
const ControlLayout* LayoutOf(AccessibleNode node);
// The label on a box's row, left of it, which names it.
std::optional<ControlId> LabelOf(ControlId box);
// The message's objects exist only while it is open.
bool Exists(AccessibleNode node, const AccessibleView& view);
std::optional<AccessibleNode> ParentOf(AccessibleNode node);
// The frame's controls in reading order: by rows from the top, each row from the left.
std::vector<AccessibleNode> ChildrenOf(AccessibleNode node, const AccessibleView& view);
int IndexInParent(AccessibleNode node, const AccessibleView& view);
// The window (Frame or Message) that holds the object.
std::optional<AccessibleNode> WindowOf(AccessibleNode node);

AccessibleRole RoleOf(AccessibleNode node);
const char* RoleName(AccessibleRole role);

// A box is named by the label on its row; the button by its caption, the
// status line by its text.
std::string NameOf(AccessibleNode node, const AccessibleView& view);

// AT-SPI's relation numbers: the label names its box, the box its label.
inline constexpr std::uint32_t kRelationLabelFor = 1;
inline constexpr std::uint32_t kRelationLabelledBy = 2;
struct Relation {
    std::uint32_t type;
    AccessibleNode target;

    bool operator==(const Relation&) const = default;
};
std::vector<Relation> RelationsOf(AccessibleNode node);

// The object has the keyboard focus: its control is focused in the window
// that has the keyboard.
bool IsFocused(AccessibleNode node, const AccessibleView& view);
// AT-SPI's state set, as two 32-bit words of bits.
std::array<std::uint32_t, 2> StateWords(AccessibleNode node, const AccessibleView& view);
// AT-SPI's state numbers that the window's objects take.
enum class AccessibleState : std::uint32_t {
    Active = 1,
    Editable = 7,
    Enabled = 8,
    Focusable = 11,
    Focused = 12,
    Modal = 16,
    Sensitive = 24,
    Showing = 25,
    SingleLine = 26,
    Visible = 30,
    SelectableText = 38,
};
bool HasState(AccessibleNode node, const AccessibleView& view, AccessibleState state);

// The interfaces an object answers, one bit each, and AT-SPI's names for
// them in the bits' order.
enum AccessibleInterface : unsigned {
    kAccessibleInterface = 1,
    kApplicationInterface = 2,
    kComponentInterface = 4,
    kTextInterface = 8,
    kEditableTextInterface = 16,
    kActionInterface = 32,
};
inline constexpr std::array<const char*, 6> kInterfaceNames{
    "org.a11y.atspi.Accessible", "org.a11y.atspi.Application",  "org.a11y.atspi.Component",
    "org.a11y.atspi.Text",       "org.a11y.atspi.EditableText", "org.a11y.atspi.Action",
};
static_assert(kActionInterface == 1u << (kInterfaceNames.size() - 1), "a name for every interface");
unsigned InterfacesOf(AccessibleNode node);
std::vector<const char*> InterfaceNames(unsigned interfaces);

// The one action of a button ("click") and of the link ("jump").
std::optional<const char*> ActionNameOf(AccessibleNode node);
// A user can act on the object now: while a message is open, only on the
// message, as the mouse can.
bool CanAct(AccessibleNode node, const AccessibleView& view);

// The box's text, caret and selection.
const BoxView* BoxOf(AccessibleNode node, const AccessibleView& view);

// Coordinates relative to the screen, to the object's window, or to its parent.
enum class CoordType { Screen, Window, Parent };
std::optional<CoordType> ToCoordType(std::uint32_t value);
Rect ExtentsOf(AccessibleNode node, const AccessibleView& view, CoordType type);
// A place on the screen (a character of a box, say) in coordinates of TYPE
// as NODE counts them; and a point given so, back on the screen.
Rect InCoordinates(const Rect& onScreen, AccessibleNode node, const AccessibleView& view, CoordType type);
ScreenPoint OnScreen(AccessibleNode node, const AccessibleView& view, int x, int y, CoordType type);
// The child of NODE at the point, given as for NODE's extents.
std::optional<AccessibleNode> ChildAt(AccessibleNode node, const AccessibleView& view, int x, int y, CoordType type);

}  // namespace nudgewick
