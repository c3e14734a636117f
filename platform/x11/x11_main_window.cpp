#include "platform/x11/x11_main_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>

#include "platform/x11/x11_window_icon.h"
#include "window/layout.h"
#include "window/product_address.h"

namespace nudgewick::x11 {
namespace {

constexpr int kDefaultDpi = 96;
constexpr double kStandardPoints = 8.0;  // the desktop's usual size for dialog text
constexpr int kLabelInset = 6;  // FLTK draws left-aligned labels 3 pixels in from each side

// Xft.dpi from the server's resource database, as desktops set it; else 96.
int DisplayDpi() {
    const char* resources = XResourceManagerString(fl_display);
    if (resources == nullptr) return kDefaultDpi;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value{};
    int dpi = kDefaultDpi;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr) {
        const double parsed = std::strtod(value.addr, nullptr);
        if (parsed >= 1.0 && parsed < 10000.0) dpi = static_cast<int>(std::lround(parsed));
    }
    XrmDestroyDatabase(database);
    return dpi;
}

int StandardFontSize(int dpi) { return PointsToPixels(kStandardPoints, dpi); }

// A label's size, measured in the font this display has.
int LabelSize(const ControlLayout& label, int standard, int dpi) {
    return LabelFontSize(label, standard, dpi, kLabelInset, [](const char* caption, int size) {
        fl_font(FL_HELVETICA, size);
        return fl_width(caption);
    });
}

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
      fontSize_(StandardFontSize(dpi_)),
      window_(TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(kClientHeightTwips, dpi_), kWindowTitle),
      controls_(BuildControls(dpi_, fontSize_)),
      timer_(OnTick, this),
      messages_(fontSize_),
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
X11MainWindow::Controls X11MainWindow::BuildControls(int dpi, int fontSize) {
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
        widget->labelsize(control.kind == ControlKind::Label ? LabelSize(control, fontSize, dpi) : fontSize);
    }
    built.txtPixels->textsize(fontSize);
    built.txtInterval->textsize(fontSize);
    built.lblURL->labelsize(PointsToPixels(kLinkPointSize, dpi));
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
