#pragma once
// The window's FLTK widgets for assistive technologies: read into the core's
// AccessibleView, worked as a user works them, and watched for changes; the
// AT-SPI bridge is connected while the desktop wants accessibility, and then
// every key is first offered to the screen reader (fltk_held_keys), and what
// a client asks for is done after its answer. With accessibility off nothing
// here runs but the switch's two match rules on the session bus.

#include <FL/Fl_Window.H>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/layout.h"
#include "platform/linux/atspi_bridge.h"
#include "platform/linux/atspi_status.h"
#include "platform/linux/fltk_controls.h"
#include "platform/linux/fltk_held_keys.h"

namespace nudgewick::linux_desktop {

struct FltkAccessibleControls {
    Fl_Window& window;
    FltkButton& startStopButton;
    FltkTextBox& intervalBox;
    FltkTextBox& pixelsBox;
    FltkLink& link;
    FltkStatusLine& statusLine;
    FltkMessageDialog& messages;
    const WindowPixels& layout;  // the window's, once its texts are measured
};

class FltkAccessibility : public AccessibleWindow {
public:
    explicit FltkAccessibility(const FltkAccessibleControls& controls)
        : controls_(controls), keys_([this] { Refresh(); }) {}
    ~FltkAccessibility() override;
    FltkAccessibility(const FltkAccessibility&) = delete;
    FltkAccessibility& operator=(const FltkAccessibility&) = delete;

    // Follows the desktop's switch on the session bus; without one, stays off.
    void Connect(DbusSessionBus* bus);

    AccessibleView View() const override;
    void Focus(AccessibleNode node) override;
    void Act(AccessibleNode node) override;
    bool Replace(AccessibleNode box, int start, int end, std::string_view text) override;
    void Select(AccessibleNode box, int anchor, int caret) override;
    Rect CharacterExtents(AccessibleNode box, int offset) const override;
    int OffsetAtPoint(AccessibleNode box, long long x, long long y) const override;
    void Copy(std::string_view text) override;
    void Paste(AccessibleNode box, int offset) override;

private:
    void TurnOn(const std::string& address);
    void TurnOff();
    void Unhook();
    static void DropBridge(void* self);
    void Refresh();
    static int Dispatch(int event, Fl_Window* window);
    void HoldKey(int event, Fl_Window* window);
    void Later(std::function<void()> action);
    static void RunLater(void* self);
    FltkTextBox& BoxWidget(AccessibleNode box) const;
    Fl_Widget* Widget(AccessibleNode node) const;

    FltkAccessibleControls controls_;
    std::optional<AtspiStatus> status_;
    std::unique_ptr<AtspiBridge> bridge_;
    std::unique_ptr<AtspiBridge> dropped_;  // gone from the bus, deleted outside its handlers
    FltkHeldKeys keys_;
    std::deque<std::function<void()>> later_;
    int messagesShown_ = 0;
};

}  // namespace nudgewick::linux_desktop
