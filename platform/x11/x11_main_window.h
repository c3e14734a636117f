#pragma once
#include <FL/Fl_Double_Window.H>
#include <string>

#include "platform/x11/x11_controls.h"
#include "platform/x11/x11_dpi.h"
#include "platform/x11/x11_launcher.h"
#include "platform/x11/x11_pointer.h"
#include "window/frm_main.h"

namespace nudgewick::x11 {

class FixedCommandLine : public CommandLineSource {
public:
    explicit FixedCommandLine(std::string text) : text_(std::move(text)) {}
    std::string Text() const override { return text_; }

private:
    std::string text_;
};

// The program's window on the open FLTK display: builds the controls from
// the layout table and hands every event to frmMain.
class X11MainWindow {
public:
    explicit X11MainWindow(const std::string& commandLine);

    // Loads the settings, shows the window and gives the button the focus.
    void Show();

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
    static void OnClose(Fl_Widget* window, void*);

    int dpi_;
    TextSizes textSizes_;
    Fl_Double_Window window_;  // owns the widgets in controls_
    Controls controls_;
    X11Timer timer_;
    X11MessageDialog messages_;
    X11Pointer pointer_;
    X11Launcher launcher_;
    FixedCommandLine commandLine_;
    frmMain form_;
};

}  // namespace nudgewick::x11
