#pragma once
#include <FL/Fl_Double_Window.H>

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
    explicit X11MainWindow(const CommandLine& commandLine);

    // Loads the settings, shows the window and gives the button the focus.
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

    template <void (frmMain::*handler)()>
    static void Forward(Fl_Widget*, void* self) {
        (static_cast<X11MainWindow*>(self)->form_.*handler)();
    }
    static void OnTick(void* self) { static_cast<X11MainWindow*>(self)->form_.Timer1_Timer(); }
    static void OnSessionTimer(void* self) { static_cast<X11MainWindow*>(self)->form_.SessionTimer_Timer(); }
    static void OnClose(Fl_Widget*, void* self);
    void Close();
    void OnTrayChoice(int id);

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
    bool closed_ = false;
};

}  // namespace nudgewick::x11
