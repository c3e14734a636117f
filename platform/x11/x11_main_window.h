#pragma once
#include <FL/Fl_Double_Window.H>

#include "platform/x11/wayland_desktop.h"
#include "platform/x11/x11_controls.h"
#include "platform/x11/x11_dpi.h"
#include "platform/x11/x11_launcher.h"
#include "platform/x11/x11_pointer.h"
#include "platform/x11/x11_tray.h"
#include "window/frm_main.h"

namespace nudgewick::x11 {

// The program's window on the open FLTK display: builds the controls from
// the layout table and hands every event to frmMain.
class X11MainWindow {
public:
    // wayland: the compositor that takes the nudges and tells the idle time,
    // in a Wayland session; none on X11, where XTEST moves the pointer.
    X11MainWindow(const CommandLine& commandLine, WaylandDesktop* wayland);
    ~X11MainWindow();
    X11MainWindow(const X11MainWindow&) = delete;
    X11MainWindow& operator=(const X11MainWindow&) = delete;

    // Loads the settings, shows the window and gives the button the focus;
    // with --minimized, hides it in the notification area or iconifies it.
    void Show();
    // Shows the window again if it was hidden or iconified, and raises it.
    void Present();
    // True once the user closed the window: the program ends.
    bool Closed() const { return closed_; }

private:
    struct Controls {
        X11Button* btoGO = nullptr;
        X11TextBox* txtPixels = nullptr;
        X11TextBox* txtInterval = nullptr;
        X11Link* lblURL = nullptr;
    };
    static Controls BuildControls(int dpi, const TextSizes& sizes);
    void Wire();

    // Hands an event to the form; then the icon shows what the handler made
    // of the state. A tick changes none of what it shows.
    template <void (frmMain::*handler)()>
    static void Forward(Fl_Widget*, void* self) {
        auto& window = *static_cast<X11MainWindow*>(self);
        (window.form_.*handler)();
        window.RefreshTray();
    }
    static void OnTick(void* self) { static_cast<X11MainWindow*>(self)->form_.Timer1_Timer(); }
    static void OnSessionTimer(void* self) { Forward<&frmMain::SessionTimer_Timer>(nullptr, self); }
    static void OnClose(Fl_Widget*, void* self);
    void Close();
    void RefreshTray();
    void OnTrayChoice(int id);
    void ShowMinimized();
    void IconifyWithoutIcon();  // a hidden window, once no tray holds the icon
    static void OnDockWaitOver(void* self) { static_cast<X11MainWindow*>(self)->IconifyWithoutIcon(); }

    int dpi_;
    TextSizes textSizes_;
    Fl_Double_Window window_;  // owns the widgets in controls_
    Controls controls_;
    X11Timer timer_;
    X11MessageDialog messages_;
    X11Pointer pointer_;
    X11Launcher launcher_;
    CommandLine commandLine_;
    X11Timer sessionTimer_;
    SystemClock clock_;
    frmMain form_;
    X11TrayIcon tray_;
    std::vector<TrayMenuEntry> trayMenu_;  // as the icon's menu shows it: an entry's id is its index
    bool closed_ = false;
};

}  // namespace nudgewick::x11
