#include <gtest/gtest.h>

#include <climits>

#include "core/accessible.h"

namespace nudgewick {
namespace {

using Node = AccessibleNode;
using enum AccessibleState;

AccessibleView FrameWithFocusOn(Node focus) {
    AccessibleView view;
    view.shown = true;
    view.activeWindow = Node::Frame;
    view.focus = focus;
    view.screen[static_cast<std::size_t>(Node::Frame)] = {100, 50, 275, 195};
    view.screen[static_cast<std::size_t>(Node::IntervalBox)] = {220, 194, 81, 19};
    view.screen[static_cast<std::size_t>(Node::StartStopButton)] = {308, 194, 65, 41};
    return view;
}

TEST(AccessibleTest, TheTreeReadsTheLayoutRowByRowAndEachBoxIsNamedByItsLabel) {
    AccessibleView view = FrameWithFocusOn(Node::IntervalBox);
    const std::vector<Node> readingOrder{
        Node::TitleLabel,      Node::Link,        Node::IntervalLabel, Node::IntervalBox,
        Node::StartStopButton, Node::PixelsLabel, Node::PixelsBox};
    EXPECT_EQ(ChildrenOf(Node::Frame, view), readingOrder);
    EXPECT_EQ(ChildrenOf(Node::Application, view), std::vector{Node::Frame});
    for (std::size_t i = 0; i < readingOrder.size(); ++i) {
        EXPECT_EQ(IndexInParent(readingOrder[i], view), static_cast<int>(i));
        EXPECT_EQ(ParentOf(readingOrder[i]), Node::Frame);
    }
    EXPECT_EQ(RelationsOf(Node::IntervalBox), (std::vector<Relation>{{kRelationLabelledBy, Node::IntervalLabel}}));
    EXPECT_EQ(RelationsOf(Node::PixelsLabel), (std::vector<Relation>{{kRelationLabelFor, Node::PixelsBox}}));
    EXPECT_TRUE(RelationsOf(Node::TitleLabel).empty());
    EXPECT_TRUE(!ParentOf(Node::Application) && IndexInParent(Node::Application, view) < 0) << "the root";
    EXPECT_EQ(NameOf(Node::IntervalBox, view), NameOf(Node::IntervalLabel, view));
    EXPECT_EQ(NameOf(Node::PixelsBox, view), NameOf(Node::PixelsLabel, view));
    EXPECT_NE(NameOf(Node::PixelsBox, view), NameOf(Node::IntervalBox, view));
    view.caption = "Stop";
    EXPECT_EQ(NameOf(Node::StartStopButton, view), "Stop");
    using R = AccessibleRole;
    for (const auto& [node, role] : {std::pair(Node::Application, R::Application),
                                     {Node::Frame, R::Frame},
                                     {Node::TitleLabel, R::Label},
                                     {Node::Link, R::Link},
                                     {Node::IntervalBox, R::Entry},
                                     {Node::StartStopButton, R::PushButton},
                                     {Node::Message, R::Alert},
                                     {Node::MessageText, R::Label},
                                     {Node::MessageButton, R::PushButton}})
        EXPECT_EQ(RoleOf(node), role) << int(node);
    EXPECT_EQ(InterfacesOf(Node::Link) & kActionInterface, kActionInterface);
    EXPECT_EQ(InterfacesOf(Node::PixelsBox) & (kTextInterface | kEditableTextInterface | kActionInterface),
              kTextInterface | kEditableTextInterface);

    // The message and its parts exist only while it is open, after the frame.
    EXPECT_FALSE(Exists(Node::MessageButton, view));
    view.message = "You must pick a value.";
    EXPECT_EQ(ChildrenOf(Node::Application, view), (std::vector{Node::Frame, Node::Message}));
    EXPECT_EQ(ChildrenOf(Node::Message, view), (std::vector{Node::MessageText, Node::MessageButton}));
    EXPECT_EQ(NameOf(Node::MessageText, view), "You must pick a value.");
    EXPECT_EQ(IndexInParent(Node::Message, view), 1);
    EXPECT_FALSE(CanAct(Node::StartStopButton, view)) << "the message is modal";
    EXPECT_TRUE(CanAct(Node::MessageButton, view));
}

TEST(AccessibleTest, EveryObjectHasAPathAndOnlyThoseAreFound) {
    for (std::size_t i = 0; i < kAccessibleNodeCount; ++i)
        EXPECT_EQ(NodeAtPath(AccessiblePath(static_cast<Node>(i))), static_cast<Node>(i)) << i;
    EXPECT_EQ(AccessiblePath(Node::Application), "/org/a11y/atspi/accessible/root");
    for (const char* path : {"", "/", kNullPath, "/org/a11y/atspi/accessible/", "/org/a11y/atspi/accessible/root/x",
                             "/org/a11y/atspi/accessible/rootx", "/org/a11y/atspi/accessible/Frame", "/frame"})
        EXPECT_FALSE(NodeAtPath(path)) << path;
}

TEST(AccessibleTest, StatesFollowTheKeyboardTheScreenAndTheMessage) {
    const auto hidden = [] {
        AccessibleView view = FrameWithFocusOn(Node::IntervalBox);
        view.shown = false;
        view.activeWindow.reset();
        return view;
    }();
    const auto elsewhere = [] {
        AccessibleView view = FrameWithFocusOn(Node::IntervalBox);
        view.activeWindow.reset();
        return view;
    }();
    const auto message = [] {
        AccessibleView view = FrameWithFocusOn(Node::MessageButton);
        view.message = "Refused.";
        view.activeWindow = Node::Message;
        return view;
    }();
    const AccessibleView box = FrameWithFocusOn(Node::IntervalBox);
    const struct {
        const char* why;
        const AccessibleView& view;
        Node node;
        std::vector<AccessibleState> has, hasNot;
    } cases[] = {
        {"the frame has the keyboard", box, Node::Frame, {Active, Showing, Visible, Enabled}, {Focusable, Focused}},
        {"the focused box",
         box,
         Node::IntervalBox,
         {Focused, Focusable, Editable, SingleLine, SelectableText, Enabled, Sensitive, Showing},
         {Active}},
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
    for (const auto& c : cases) {
        for (const auto state : c.has) EXPECT_TRUE(HasState(c.node, c.view, state)) << c.why << ": " << int(state);
        for (const auto state : c.hasNot) EXPECT_FALSE(HasState(c.node, c.view, state)) << c.why << ": " << int(state);
    }
    EXPECT_EQ(StateWords(Node::Application, box), (std::array<std::uint32_t, 2>{}));
    EXPECT_EQ(StateWords(Node::MessageText, box), (std::array<std::uint32_t, 2>{})) << "no message is open";
}

TEST(AccessibleTest, PlacesAreGivenAndFoundInEachKindOfCoordinates) {
    const AccessibleView view = FrameWithFocusOn(Node::IntervalBox);
    const auto screen = *ToCoordType(0), window = *ToCoordType(1), parent = *ToCoordType(2);
    EXPECT_TRUE(ToCoordType(2) && !ToCoordType(3)) << "the parent's are the last";
    EXPECT_EQ(ExtentsOf(Node::IntervalBox, view, screen), (Rect{220, 194, 81, 19}));
    EXPECT_EQ(ExtentsOf(Node::IntervalBox, view, window), (Rect{120, 144, 81, 19}));
    EXPECT_EQ(ExtentsOf(Node::IntervalBox, view, parent), (Rect{120, 144, 81, 19}));
    EXPECT_EQ(ExtentsOf(Node::Frame, view, window), (Rect{0, 0, 275, 195}));
    EXPECT_EQ(ExtentsOf(Node::Frame, view, parent), (Rect{100, 50, 275, 195})) << "the application has no place";
    const struct {
        int x, y;
        CoordType type;
        std::optional<Node> want;
    } points[] = {
        {220, 194, screen, Node::IntervalBox},     {300, 212, screen, Node::IntervalBox},
        {301, 212, screen, std::nullopt},          {120, 144, window, Node::IntervalBox},
        {210, 150, window, Node::StartStopButton}, {219, 194, screen, std::nullopt},
        {INT_MAX, INT_MAX, window, std::nullopt},  {INT_MIN, 0, parent, std::nullopt},
    };
    for (const auto& p : points)
        EXPECT_EQ(ChildAt(Node::Frame, view, p.x, p.y, p.type), p.want) << p.x << "," << p.y << " " << int(p.type);
}

}  // namespace
}  // namespace nudgewick
