#pragma once
#include <FL/Fl_Double_Window.H>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <memory>

#include "core/controller.h"
#include "core/shell.h"
#include "core/tray.h"
#include "platform/linux/dbus_desktop_watch.h"
#include "platform/linux/dbus_global_shortcuts.h"
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

// Says on standard error and in a message why the program cannot nudge
// here: one started from a desktop's menu has no terminal. Returns the exit
// status.
int RefuseToRun(const std::string& why);

// The program's window on the open FLTK display: builds the controls from
// the layout table and hands every event to the core's Controller.
class FltkMainWindow final : public ProgramWindow {
public:
    // wayland: the compositor that takes the nudges and tells the idle time,
    // in a Wayland session; none on X11, where XTEST moves the pointer.
    // command: what to run, from the arguments after "--".
    FltkMainWindow(const StartSettings& start, WaylandDesktop* wayland, std::vector<std::string> command);
    ~FltkMainWindow() override;
    FltkMainWindow(const FltkMainWindow&) = delete;
    FltkMainWindow& operator=(const FltkMainWindow&) = delete;

    // The session bus (one connection for all the program's use of it), the
    // compositor's route and idle source, and the notification-area icon,
    // once: the window's first frame needs none of them. What is missing
    // when a Wayland session offers no way to nudge.
    std::optional<std::string> ConnectDesktop();
    Controller& Program() override { return controller_; }
    // Gives the button the focus; with --minimized, hides the window behind
    // the notification-area icon or iconifies it.
    std::optional<std::string> Show() override;
    // Draws the first frame, connects the desktop if that is still to do and
    // runs FLTK's loop until the window is closed.
    int Run() override;
    // Held by another client: the program runs on without it. In a Wayland
    // session an X11 grab would hold only while an X11 window has the focus:
    // the desktop's own shortcuts are the way there, asked for once the bus
    // is connected.
    void GrabHotkey(const Hotkey& hotkey, HotkeyAnswer answered) override;
    void Hide() override;
    void Present() override { flWindow_.show(); }
    void Close() override { End(0); }

private:
    struct Controls {
        FltkButton* startStopButton = nullptr;
        FltkTextBox* pixelsBox = nullptr;
        FltkTextBox* intervalBox = nullptr;
        FltkLink* link = nullptr;
        FltkStatusLine* statusLine = nullptr;
        std::array<Fl_Widget*, kControls.size()> all{};  // in kControls' order
    };
    static Controls BuildControls(const WindowPixels& layout);
    void Wire();
    void FitTexts();

    static void OnTick(void* self) { static_cast<FltkMainWindow*>(self)->controller_.OnTick(); }
    static void OnSessionTimer(void* self) { static_cast<FltkMainWindow*>(self)->controller_.OnSessionTimer(); }
    static void OnScheduleTimer(void* self) { static_cast<FltkMainWindow*>(self)->controller_.OnScheduleTimer(); }
    void End(int exitStatus);  // hides the window for good
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
    void BindShortcut(const Hotkey& hotkey, HotkeyAnswer answered);
    void ApplyMinimizedShowing();  // once the icon had a moment to come into sight
    static void OnIconWaitOver(void* self) { static_cast<FltkMainWindow*>(self)->ApplyMinimizedShowing(); }

    int dpi_;
    int standardTextSize_;
    WindowPixels layout_;        // the controls' places, which the accessibility reads too
    Fl_Double_Window flWindow_;  // owns the widgets in controls_
    Controls controls_;
    FltkTimer tickTimer_;
    FltkTimer sessionTimer_;
    FltkTimer scheduleTimer_;
    FltkMessageDialog messages_;
    X11Pointer pointer_;
    LinuxLauncher launcher_;
    SystemClock clock_;
    std::unique_ptr<DbusSessionBus> bus_;  // outlives the icon
    bool connected_ = false;
    LinuxNotificationArea tray_;
    ChangedViews trayViews_;
    LinuxProcesses processes_;
    DbusDesktopWatch desktop_;
    bool battery_;  // --battery was given: UPower is asked
    Controller controller_;
    FltkAccessibility accessibility_;  // for screen readers, while the desktop wants them served
    std::optional<X11Hotkey> hotkey_;
    std::optional<std::pair<Hotkey, HotkeyAnswer>> desktopHotkey_;  // until the bus is connected
    std::optional<DbusGlobalShortcuts> shortcuts_;                  // the hotkey in a Wayland session
    bool minimized_;
    WaylandDesktop* wayland_;
    bool closed_ = false;
    int exitStatus_ = 0;
};

}  // namespace nudgewick::linux_desktop
