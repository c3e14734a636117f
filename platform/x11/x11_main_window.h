#pragma once
#include <FL/Fl_Double_Window.H>

#include <optional>

#include "core/main_window.h"
#include "platform/x11/wayland_desktop.h"
#include "platform/x11/x11_controls.h"
#include "platform/x11/x11_dpi.h"
#include "platform/x11/x11_hotkey.h"
#include "platform/x11/x11_launcher.h"
#include "platform/x11/x11_notification_area.h"
#include "platform/x11/x11_pointer.h"
#include "platform/x11/x11_session_bus.h"

namespace nudgewick::x11 {

// The program's window on the open FLTK display: builds the controls from
// the layout table and hands every event to the core's MainWindow.
class X11MainWindow {
public:
    // wayland: the compositor that takes the nudges and tells the idle time,
    // in a Wayland session; none on X11, where XTEST moves the pointer.
    // bus: the session bus, for the notification area's icon; none without.
    X11MainWindow(const StartSettings& start, WaylandDesktop* wayland, X11SessionBus* bus);
    ~X11MainWindow();
    X11MainWindow(const X11MainWindow&) = delete;
    X11MainWindow& operator=(const X11MainWindow&) = delete;

    // Loads the settings, shows the window and gives the button the focus;
    // with --minimized, hides it behind the notification-area icon or
    // iconifies it.
    void Show();
    // Shows the window again if it was hidden or iconified, and raises it.
    void Present();
    // True once the user closed the window: the program ends.
    bool Closed() const { return closed_; }

private:
    struct Controls {
        X11Button* startStopButton = nullptr;
        X11TextBox* pixelsBox = nullptr;
        X11TextBox* intervalBox = nullptr;
        X11Link* link = nullptr;
    };
    static Controls BuildControls(int dpi, const TextSizes& sizes);
    void Wire();

    static void OnTick(void* self) { static_cast<X11MainWindow*>(self)->window_.OnTick(); }
    static void OnSessionTimer(void* self) { static_cast<X11MainWindow*>(self)->window_.OnSessionTimer(); }
    static void OnScheduleTimer(void* self) { static_cast<X11MainWindow*>(self)->window_.OnScheduleTimer(); }
    void GrabHotkey();
    static void OnStartStopClicked(Fl_Widget*, void* self) {
        static_cast<X11MainWindow*>(self)->window_.OnStartStopClicked();
    }
    static void OnLinkClicked(Fl_Widget*, void* self) { static_cast<X11MainWindow*>(self)->window_.OnLinkClicked(); }
    static void OnClose(Fl_Widget*, void* self);
    void Close();
    void OnTrayEntryChosen(const TrayMenuEntry& entry);
    void WaitForIcon();
    void ApplyMinimizedShowing();  // once the icon had a moment to come into sight
    static void OnIconWaitOver(void* self) { static_cast<X11MainWindow*>(self)->ApplyMinimizedShowing(); }

    int dpi_;
    TextSizes textSizes_;
    Fl_Double_Window flWindow_;  // owns the widgets in controls_
    Controls controls_;
    X11Timer tickTimer_;
    X11Timer sessionTimer_;
    X11Timer scheduleTimer_;
    X11MessageDialog messages_;
    X11Pointer pointer_;
    X11Launcher launcher_;
    SystemClock clock_;
    X11NotificationArea tray_;
    MainWindow window_;
    std::optional<X11Hotkey> hotkey_;
    StartSettings start_;
    bool minimized_;
    bool closed_ = false;
};

}  // namespace nudgewick::x11
