#pragma once
#include <FL/Fl_Double_Window.H>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/controller.h"
#include "platform/linux/dbus_session_bus.h"
#include "platform/linux/fltk_accessibility.h"
#include "platform/linux/fltk_controls.h"
#include "platform/linux/linux_launcher.h"
#include "platform/linux/linux_notification_area.h"
#include "platform/linux/linux_processes.h"
#include "platform/linux/wayland_desktop.h"
#include "platform/linux/x11_dpi.h"
#include "platform/linux/x11_hotkey.h"
#include "platform/linux/x11_pointer.h"

namespace nudgewick::linux_desktop {

// The program's window on the open FLTK display: builds the controls from
// the layout table and hands every event to the core's Controller.
class FltkMainWindow {
public:
    // wayland: the compositor that takes the nudges and tells the idle time,
    // in a Wayland session; none on X11, where XTEST moves the pointer.
    // command: what to run, from the arguments after "--".
    FltkMainWindow(const StartSettings& start, WaylandDesktop* wayland, std::vector<std::string> command);
    ~FltkMainWindow();
    FltkMainWindow(const FltkMainWindow&) = delete;
    FltkMainWindow& operator=(const FltkMainWindow&) = delete;

    // Before Show: follows --pid's process and starts the command; a refusal
    // to print and end with when either cannot be.
    std::optional<StartupCheck> Follow() { return controller_.Follow(); }
    // Loads the settings, shows the window and gives the button the focus;
    // with --minimized, hides it behind the notification-area icon or
    // iconifies it.
    void Show();
    // Puts up the notification area's icon and follows the desktop's
    // accessibility switch, once. bus: the session bus, for a
    // StatusNotifierItem and the switch; none without.
    void UseSessionBus(DbusSessionBus* bus) {
        tray_.Connect(bus);
        accessibility_.Connect(bus);
    }
    // Shows the window again if it was hidden or iconified, and raises it.
    void Present();
    // Hides the window for good: the program ends, with this exit status.
    void Close(int exitStatus = 0);
    // A command line that a second start handed over: the answer to send
    // back, or nothing when the message is not one to take.
    std::optional<std::string> OnCommandLine(std::string_view message);
    // True once the user closed the window: the program ends.
    bool Closed() const { return closed_; }
    int ExitStatus() const { return exitStatus_; }

private:
    struct Controls {
        FltkButton* startStopButton = nullptr;
        FltkTextBox* pixelsBox = nullptr;
        FltkTextBox* intervalBox = nullptr;
        FltkLink* link = nullptr;
        FltkStatusLine* statusLine = nullptr;
        std::vector<std::pair<Fl_Widget*, const ControlLayout*>> labels;
    };
    static Controls BuildControls(int dpi, const TextSizes& sizes);
    void Wire();
    void FitLabels();

    static void OnTick(void* self) { static_cast<FltkMainWindow*>(self)->controller_.OnTick(); }
    static void OnSessionTimer(void* self) { static_cast<FltkMainWindow*>(self)->controller_.OnSessionTimer(); }
    static void OnScheduleTimer(void* self) { static_cast<FltkMainWindow*>(self)->controller_.OnScheduleTimer(); }
    void GrabHotkey(const Hotkey& hotkey);
    void Hide();
    static void OnStartStopClicked(Fl_Widget*, void* self) {
        static_cast<FltkMainWindow*>(self)->controller_.OnStartStopClicked();
    }
    static void OnLinkClicked(Fl_Widget*, void* self) {
        static_cast<FltkMainWindow*>(self)->controller_.OnLinkClicked();
    }
    static void OnClose(Fl_Widget*, void* self);
    void OnTrayEntryChosen(const TrayMenuEntry& entry);
    void OnProcessEnded(std::int32_t pid, const ProcessEnd& end);
    void WaitForIcon();
    void ApplyMinimizedShowing();  // once the icon had a moment to come into sight
    static void OnIconWaitOver(void* self) { static_cast<FltkMainWindow*>(self)->ApplyMinimizedShowing(); }

    int dpi_;
    TextSizes textSizes_;
    Fl_Double_Window flWindow_;  // owns the widgets in controls_
    Controls controls_;
    FltkTimer tickTimer_;
    FltkTimer sessionTimer_;
    FltkTimer scheduleTimer_;
    FltkMessageDialog messages_;
    X11Pointer pointer_;
    LinuxLauncher launcher_;
    SystemClock clock_;
    LinuxNotificationArea tray_;
    LinuxProcesses processes_;
    Controller controller_;
    FltkAccessibility accessibility_;  // for screen readers, while the desktop wants them served
    std::optional<X11Hotkey> hotkey_;
    StartSettings start_;
    bool minimized_;
    bool onWayland_;  // no hotkey there
    bool closed_ = false;
    int exitStatus_ = 0;
};

}  // namespace nudgewick::linux_desktop
