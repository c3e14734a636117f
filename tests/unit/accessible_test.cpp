#include <climits>
#include <set>

#include "fakes.h"

namespace nudgewick::testing {
namespace {

using Node = AccessibleNode;
using enum AccessibleState;

TEST(AccessibleTest, TheTreeReadsTheLayoutRowByRowAndEachObjectHasItsNameRoleAndPath) {
    AccessibleView view = Window(Node::IntervalBox);
    const std::vector<Node> readingOrder{Node::TitleLabel,    Node::Link,        Node::StatusLine,
                                         Node::IntervalLabel, Node::IntervalBox, Node::StartStopButton,
                                         Node::PixelsLabel,   Node::PixelsBox};
    EXPECT_EQ(ChildrenOf(Node::Frame, view), readingOrder);
    EXPECT_EQ(ChildrenOf(Node::Application, view), std::vector{Node::Frame});
    for (std::size_t i = 0; i < readingOrder.size(); ++i) {
        EXPECT_EQ(IndexInParent(readingOrder[i], view), static_cast<int>(i));
        EXPECT_EQ(ParentOf(readingOrder[i]), Node::Frame);
    }
    EXPECT_EQ(RelationsOf(Node::IntervalBox), (std::vector<Relation>{{kRelationLabelledBy, Node::IntervalLabel}}));
    EXPECT_EQ(RelationsOf(Node::PixelsLabel), (std::vector<Relation>{{kRelationLabelFor, Node::PixelsBox}}));
    for (const Node unrelated : {Node::TitleLabel, Node::Frame}) EXPECT_TRUE(RelationsOf(unrelated).empty());
    EXPECT_FALSE(ParentOf(Node::Application));
    for (const Node outside : {Node::Application, Node::MessageText})  // the root; a part of no open message
        EXPECT_EQ(IndexInParent(outside, view), -1) << AccessiblePath(outside);
    EXPECT_EQ(NameOf(Node::IntervalBox, view), NameOf(Node::IntervalLabel, view));
    EXPECT_EQ(NameOf(Node::PixelsBox, view), NameOf(Node::PixelsLabel, view));
    EXPECT_NE(NameOf(Node::PixelsBox, view), NameOf(Node::IntervalBox, view));
    EXPECT_EQ(NameOf(Node::StartStopButton, view), "Stop");
    EXPECT_EQ(NameOf(Node::StatusLine, view), view.status);
    std::set<AccessibleRole> roles;
    std::set<std::string> roleNames;
    for (const Node node : kAccessibleNodes) {
        EXPECT_EQ(NodeAtPath(AccessiblePath(node)), node) << AccessiblePath(node);
        roles.insert(RoleOf(node)), roleNames.insert(RoleName(RoleOf(node)));
    }
    EXPECT_EQ(roleNames.size(), roles.size()) << "a name for each role";
    EXPECT_TRUE(LabelOf(ControlId::PixelsBox) == ControlId::PixelsLabel && !LabelOf(ControlId::PixelsLabel));
    // What a client is told each object answers, and its one action.
    const std::tuple<Node, const char*, std::optional<std::string>> interfaces[] = {
        {Node::Application, "Accessible Application ", {}},
        {Node::Frame, "Accessible Component ", {}},
        {Node::PixelsBox, "Accessible Component Text EditableText ", {}},
        {Node::Link, "Accessible Component Action ", "jump"},
    };
    for (const auto& [node, want, action] : interfaces) {
        std::string names;
        for (const std::string name : InterfaceNames(InterfacesOf(node)))
            names += name.substr(name.rfind('.') + 1) + " ";
        EXPECT_EQ(names, want) << AccessiblePath(node);
        EXPECT_EQ(ActionNameOf(node), action) << AccessiblePath(node);
    }

    // The message and its parts exist only while it is open, after the frame.
    EXPECT_FALSE(Exists(Node::MessageButton, view));
    view.message = "You must pick a value.";
    EXPECT_EQ(ChildrenOf(Node::Application, view), (std::vector{Node::Frame, Node::Message}));
    EXPECT_EQ(ChildrenOf(Node::Message, view), (std::vector{Node::MessageText, Node::MessageButton}));
    EXPECT_EQ(NameOf(Node::MessageText, view), "You must pick a value.");
    for (const Node node : kAccessibleNodes) EXPECT_NE(NameOf(node, view), "") << AccessiblePath(node);
    EXPECT_EQ(IndexInParent(Node::Message, view), 1);
    EXPECT_FALSE(CanAct(Node::StartStopButton, view)) << "the message is modal";
    EXPECT_TRUE(CanAct(Node::MessageButton, view));
    // Only an object's path finds it.
    for (const char* path : {"", "/", kNullPath, "/org/a11y/atspi/accessible/", "/org/a11y/atspi/accessible/root/x",
                             "/org/a11y/atspi/accessible/rootx", "/org/a11y/atspi/accessible/Frame", "/frame"})
        EXPECT_FALSE(NodeAtPath(path)) << path;
}

TEST(AccessibleTest, StatesFollowTheKeyboardTheScreenAndTheMessage) {
    const AccessibleView box = Window(Node::IntervalBox), elsewhere = Window(Node::IntervalBox, {}),
                         message = Window(Node::MessageButton, Node::Message);
    AccessibleView hidden = elsewhere;
    hidden.shown = false;
    using States = std::vector<AccessibleState>;  // it has, it has not
    const std::tuple<const char*, const AccessibleView&, Node, States, States> cases[] = {
        {"the frame has the keyboard", box, Node::Frame, {Active, Showing, Visible, Enabled}, {Focusable, Focused}},
        {"the focused box", box, Node::IntervalBox, {Focused, Focusable, Editable, SingleLine}, {Active}},
        {"... takes text", box, Node::IntervalBox, {SelectableText, Enabled, Sensitive, Showing}, {}},
        {"another box", box, Node::PixelsBox, {Focusable, Editable}, {Focused}},
        {"a label", box, Node::IntervalLabel, {Showing, Enabled}, {Focusable, Editable}},
        {"the link", box, Node::Link, {Focusable}, {Focused, Editable}},
        {"another window has the keyboard", elsewhere, Node::IntervalBox, {Showing, Focusable}, {Focused}},
        {"... and the frame is not active", elsewhere, Node::Frame, {Showing}, {Active}},
        {"hidden behind the icon", hidden, Node::StartStopButton, {Enabled}, {Showing, Visible}},
        {"the message", message, Node::Message, {Active, Modal, Showing}, {Focusable}},
        {"its OK", message, Node::MessageButton, {Focused, Focusable}, {Editable}},
        {"the frame below it", message, Node::Frame, {Showing}, {Active}},
        {"the box below it", message, Node::IntervalBox, {}, {Focused}},
    };
    for (const auto& [why, view, node, has, hasNot] : cases) {
        for (const auto state : has) EXPECT_TRUE(HasState(node, view, state)) << why << ": " << int(state);
        for (const auto state : hasNot) EXPECT_FALSE(HasState(node, view, state)) << why << ": " << int(state);
    }
    EXPECT_EQ(StateWords(Node::Application, box), (std::array<std::uint32_t, 2>{}));
    EXPECT_EQ(StateWords(Node::MessageText, box), (std::array<std::uint32_t, 2>{})) << "no message is open";
}

TEST(AccessibleTest, PlacesAreGivenAndFoundInEachKindOfCoordinates) {
    const AccessibleView view = Window(Node::IntervalBox);
    const auto screen = *ToCoordType(0), window = *ToCoordType(1), parent = *ToCoordType(2);
    EXPECT_TRUE(ToCoordType(2) && !ToCoordType(3)) << "the parent's are the last";
    EXPECT_EQ(ExtentsOf(Node::IntervalBox, view, screen), (Rect{220, 194, 81, 19}));
    EXPECT_EQ(ExtentsOf(Node::IntervalBox, view, window), (Rect{120, 144, 81, 19}));
    EXPECT_EQ(ExtentsOf(Node::IntervalBox, view, parent), (Rect{120, 144, 81, 19}));
    EXPECT_EQ(ExtentsOf(Node::Frame, view, window), (Rect{0, 0, 275, 195}));
    EXPECT_EQ(ExtentsOf(Node::Frame, view, parent), (Rect{100, 50, 275, 195})) << "the application has no place";
    const std::tuple<int, int, CoordType, std::optional<Node>> points[] = {
        {220, 194, screen, Node::IntervalBox},     {300, 212, screen, Node::IntervalBox},
        {301, 212, screen, std::nullopt},          {120, 144, window, Node::IntervalBox},
        {210, 150, window, Node::StartStopButton}, {219, 194, screen, std::nullopt},
        {INT_MAX, INT_MAX, window, std::nullopt},  {INT_MIN, 0, parent, std::nullopt},
    };
    for (const auto& [x, y, type, want] : points)
        EXPECT_EQ(ChildAt(Node::Frame, view, x, y, type), want) << x << "," << y << " " << int(type);
}

}  // namespace
}  // namespace nudgewick::testing
