#include "platform/x11/x11_main_window.h"

#include <FL/Fl.H>

#include "platform/x11/x11_window_icon.h"
#include "window/layout.h"
#include "window/product_address.h"

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

X11MainWindow::X11MainWindow(const CommandLine& commandLine, WaylandDesktop* wayland)
    : dpi_(DisplayDpi()),
      textSizes_(PickTextSizes(dpi_)),
      window_(TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(kClientHeightTwips, dpi_), kWindowTitle),
      controls_(BuildControls(dpi_, textSizes_)),
      timer_(OnTick, this),
      messages_(textSizes_.standard),
      commandLine_(commandLine),
      sessionTimer_(OnSessionTimer, this),
      form_(FormParts{*controls_.txtInterval, *controls_.txtPixels, *controls_.btoGO, *controls_.lblURL, timer_,
                      messages_, wayland != nullptr ? static_cast<Pointer&>(*wayland) : pointer_, launcher_,
                      commandLine_, sessionTimer_, clock_, wayland}),
      tray_([this] { Present(); }, [this](int id) { OnTrayChoice(id); }) {
    window_.end();
    Wire();
    tray_.OnDockChange([this](bool) { IconifyWithoutIcon(); });
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
    RefreshTray();
    SetWindowIcons(window_);
    window_.xclass("nudgewick");  // WM_CLASS nudgewick/Nudgewick: the desktop entry's StartupWMClass
    if (commandLine_.minimized) return ShowMinimized();
    window_.show();
    controls_.btoGO->take_focus();
}

// Hidden while the icon is in a tray, else iconified: the window must stay
// within reach. A tray that runs gets a moment to take the icon in.
void X11MainWindow::ShowMinimized() {
    if (tray_.TrayFound()) {
        Fl::add_timeout(kDockWaitSeconds, OnDockWaitOver, this);
    } else {
        IconifyWithoutIcon();
    }
}

void X11MainWindow::IconifyWithoutIcon() {
    if (!window_.shown() && !closed_ && !tray_.Docked()) window_.iconize();
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

// What the icon shows: the look, the tooltip and the menu, from the form.
void X11MainWindow::RefreshTray() {
    tray_.SetLook(form_.Running());
    tray_.SetTooltip(form_.TrayTooltip());
    trayMenu_ = form_.TrayMenu();
    std::vector<TrayEntry> entries;
    for (std::size_t n = 0; n < trayMenu_.size(); ++n) entries.push_back({trayMenu_[n].text, static_cast<int>(n)});
    tray_.SetMenu(std::move(entries));
}

void X11MainWindow::OnTrayChoice(int id) {
    const TrayMenuEntry entry = trayMenu_.at(static_cast<std::size_t>(id));
    if (entry.command == TrayCommand::ShowWindow) return Present();
    if (entry.command == TrayCommand::Exit) return Close();
    form_.TrayMenu_Click(entry);
    RefreshTray();
}

}  // namespace nudgewick::x11
