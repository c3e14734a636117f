#include "platform/x11/x11_main_window.h"

#include <FL/Fl.H>

#include "core/layout.h"
#include "core/product_address.h"
#include "platform/x11/x11_window_icon.h"

namespace nudgewick::x11 {
namespace {

// A tray answers a request to dock at once; one that has not after this long
// is taken not to.
constexpr double kDockWaitSeconds = 2.0;

struct PixelRect {
    int x, y, w, h;
};

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

X11MainWindow::X11MainWindow(const StartSettings& start, WaylandDesktop* wayland, X11SessionBus* bus)
    : dpi_(DisplayDpi()),
      textSizes_(PickTextSizes(dpi_)),
      flWindow_(TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(kClientHeightTwips, dpi_), kWindowTitle),
      controls_(BuildControls(dpi_, textSizes_)),
      tickTimer_(OnTick, this),
      sessionTimer_(OnSessionTimer, this),
      messages_(textSizes_.standard),
      tray_(
          bus, [this] { Present(); }, [this](const TrayMenuEntry& entry) { OnTrayEntryChosen(entry); }),
      window_({.intervalBox = *controls_.intervalBox,
               .pixelsBox = *controls_.pixelsBox,
               .startStopButton = *controls_.startStopButton,
               .tickTimer = tickTimer_,
               .sessionTimer = sessionTimer_,
               .messages = messages_,
               .pointer = wayland != nullptr ? static_cast<Pointer&>(*wayland) : pointer_,
               .launcher = launcher_,
               .clock = clock_,
               .tray = tray_,
               .idle = wayland},
              start),
      minimized_(start.minimized) {
    flWindow_.end();
    Wire();
    tray_.OnIconChange([this] { ApplyMinimizedShowing(); });
}

X11MainWindow::~X11MainWindow() { Fl::remove_timeout(OnDockWaitOver, this); }

// Created in the table's order, which is the Tab order; the labels and the
// link take no focus.
X11MainWindow::Controls X11MainWindow::BuildControls(int dpi, const TextSizes& sizes) {
    Controls built;
    for (const auto& control : kControls) {
        const PixelRect r = ToPixels(control, dpi);
        Fl_Widget* widget = nullptr;
        switch (control.id) {
        case ControlId::StartStopButton:
            widget = built.startStopButton = new X11Button(r.x, r.y, r.w, r.h, control.text);
            break;
        case ControlId::PixelsBox: widget = built.pixelsBox = new X11TextBox(r.x, r.y, r.w, r.h); break;
        case ControlId::IntervalBox: widget = built.intervalBox = new X11TextBox(r.x, r.y, r.w, r.h); break;
        case ControlId::Link: widget = built.link = new X11Link(r.x, r.y, r.w, r.h, kProductAddress); break;
        case ControlId::TitleLabel:
        case ControlId::IntervalLabel:
        case ControlId::PixelsLabel: widget = NewLabel(r, control); break;
        }
        widget->labelsize(control.kind == ControlKind::Label ? LabelTextSize(control, sizes.standard, dpi)
                                                             : sizes.standard);
    }
    built.pixelsBox->textsize(sizes.standard);
    built.intervalBox->textsize(sizes.standard);
    built.link->labelsize(sizes.link);
    return built;
}

void X11MainWindow::Wire() {
    flWindow_.callback(OnClose, this);
    controls_.startStopButton->callback(OnStartStopClicked, this);
    controls_.link->callback(OnLinkClicked, this);
    controls_.intervalBox->OnFocusLeft([this](FocusMove move) { window_.OnIntervalBoxLeft(move); });
    controls_.pixelsBox->OnFocusLeft([this](FocusMove move) { window_.OnPixelsBoxLeft(move); });
}

void X11MainWindow::Show() {
    window_.Load();
    SetWindowIcons(flWindow_);
    flWindow_.xclass("nudgewick");  // WM_CLASS nudgewick/Nudgewick: the desktop entry's StartupWMClass
    if (minimized_) return ShowMinimized();
    flWindow_.show();
    controls_.startStopButton->take_focus();
}

// A tray that runs gets a moment to take the icon in.
void X11MainWindow::ShowMinimized() {
    if (tray_.HostFound()) {
        Fl::add_timeout(kDockWaitSeconds, OnDockWaitOver, this);
    } else {
        ApplyMinimizedShowing();
    }
}

// Until the user shows the window, it stays hidden while the icon is in a
// tray and iconified while it is not.
void X11MainWindow::ApplyMinimizedShowing() {
    if (flWindow_.shown() || closed_ || !minimized_) return;
    if (ShowingAtStart(minimized_, tray_.IconShown()) == WindowShowing::Iconified) flWindow_.iconize();
}

void X11MainWindow::Present() { flWindow_.show(); }

// Escape reaches the window as a shortcut and would hide it: only the
// window manager's close ends the program.
void X11MainWindow::OnClose(Fl_Widget*, void* self) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    static_cast<X11MainWindow*>(self)->Close();
}

void X11MainWindow::Close() {
    closed_ = true;
    flWindow_.hide();
}

void X11MainWindow::OnTrayEntryChosen(const TrayMenuEntry& entry) {
    switch (window_.OnTrayEntryChosen(entry)) {
    case TrayAction::ShowWindow: return Present();
    case TrayAction::Exit: return Close();
    case TrayAction::Handled: return;
    }
}

}  // namespace nudgewick::x11
