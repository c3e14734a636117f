#include "platform/x11/x11_main_window.h"

#include <FL/Fl.H>

#include "platform/x11/x11_window_icon.h"
#include "window/layout.h"
#include "window/product_address.h"

namespace nudgewick::x11 {
namespace {

struct PixelRect {
    int x, y, w, h;
};

// The tray menu's entries.
enum TrayCommand : int { kShowWindow, kExit };

PixelRect ToPixels(const ControlLayout& control, int dpi) {
    return {TwipsToPixels(control.left, dpi), TwipsToPixels(control.top, dpi), TwipsToPixels(control.width, dpi),
            TwipsToPixels(control.height, dpi)};
}

Fl_Box* NewLabel(const PixelRect& r, const ControlLayout& control) {
    auto* label = new Fl_Box(r.x, r.y, r.w, r.h, control.text);
    label->align((control.centred ? FL_ALIGN_CENTER : FL_ALIGN_LEFT) | FL_ALIGN_INSIDE);
    return label;
}

}  // namespace

X11MainWindow::X11MainWindow(const CommandLine& commandLine)
    : dpi_(DisplayDpi()),
      textSizes_(PickTextSizes(dpi_)),
      window_(TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(kClientHeightTwips, dpi_), kWindowTitle),
      controls_(BuildControls(dpi_, textSizes_)),
      timer_(OnTick, this),
      messages_(textSizes_.standard),
      commandLine_(commandLine),
      sessionTimer_(OnSessionTimer, this),
      form_(FormParts{*controls_.txtInterval, *controls_.txtPixels, *controls_.btoGO, *controls_.lblURL, timer_,
                      messages_, pointer_, launcher_, commandLine_, sessionTimer_, clock_}),
      tray_([this] { Present(); }, [this](int id) { OnTrayChoice(id); }) {
    window_.end();
    Wire();
    tray_.SetMenu({{"Show window", kShowWindow}, {"Exit", kExit}});
}

// Created in the table's order, which is the Tab order; the labels and the
// link take no focus.
X11MainWindow::Controls X11MainWindow::BuildControls(int dpi, const TextSizes& sizes) {
    Controls built;
    for (const auto& control : kControls) {
        const PixelRect r = ToPixels(control, dpi);
        Fl_Widget* widget = nullptr;
        switch (control.id) {
        case ControlId::btoGO: widget = built.btoGO = new X11Button(r.x, r.y, r.w, r.h, control.text); break;
        case ControlId::txtPixels: widget = built.txtPixels = new X11TextBox(r.x, r.y, r.w, r.h); break;
        case ControlId::txtInterval: widget = built.txtInterval = new X11TextBox(r.x, r.y, r.w, r.h); break;
        case ControlId::lblURL: widget = built.lblURL = new X11Link(r.x, r.y, r.w, r.h, kProductAddress); break;
        case ControlId::Label1:
        case ControlId::Label2:
        case ControlId::Label3: widget = NewLabel(r, control); break;
        }
        widget->labelsize(control.kind == ControlKind::Label ? LabelTextSize(control, sizes.standard, dpi)
                                                             : sizes.standard);
    }
    built.txtPixels->textsize(sizes.standard);
    built.txtInterval->textsize(sizes.standard);
    built.lblURL->labelsize(sizes.link);
    return built;
}

void X11MainWindow::Wire() {
    window_.callback(OnClose, this);
    controls_.btoGO->callback(Forward<&frmMain::btoGO_Click>, this);
    controls_.lblURL->callback(Forward<&frmMain::lblURL_Click>, this);
    controls_.txtInterval->when(FL_WHEN_CHANGED);
    controls_.txtInterval->callback(Forward<&frmMain::txtInterval_Change>, this);
    controls_.txtInterval->lost_focus_callback(Forward<&frmMain::txtInterval_LostFocus>, this);
    controls_.txtPixels->when(FL_WHEN_CHANGED);
    controls_.txtPixels->callback(Forward<&frmMain::txtPixels_Change>, this);
    controls_.txtPixels->lost_focus_callback(Forward<&frmMain::txtPixels_LostFocus>, this);
}

void X11MainWindow::Show() {
    form_.Form_Load();
    SetWindowIcons(window_);
    window_.xclass("nudgewick");  // WM_CLASS nudgewick/Nudgewick: the desktop entry's StartupWMClass
    window_.show();
    controls_.btoGO->take_focus();
}

void X11MainWindow::Present() { window_.show(); }

// Escape reaches the window as a shortcut and would hide it: only the
// window manager's close ends the program.
void X11MainWindow::OnClose(Fl_Widget*, void* self) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    static_cast<X11MainWindow*>(self)->Close();
}

void X11MainWindow::Close() {
    closed_ = true;
    window_.hide();
}

void X11MainWindow::OnTrayChoice(int id) {
    switch (id) {
    case kShowWindow: Present(); break;
    case kExit: Close(); break;
    default: break;
    }
}

}  // namespace nudgewick::x11
