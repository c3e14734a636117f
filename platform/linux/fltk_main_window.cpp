#include "platform/linux/fltk_main_window.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/layout.h"
#include "core/product_address.h"
#include "platform/linux/fltk_internals.h"
#include "platform/linux/x11_window_icon.h"

namespace nudgewick::linux_desktop {
namespace {

// How long a hidden window waits for the icon to come into sight: a panel
// starting beside the program (at login) takes a moment to take the icon in,
// and xfce4-panel hands its icons from one tray to the next as it starts.
constexpr double kIconWaitSeconds = 2.0;

Fl_Box* NewLabel(const Rect& r, const ControlLayout& control) {
    auto* label = new Fl_Box(r.x, r.y, r.width, r.height);
    label->copy_label(ShownText(control).c_str());
    label->align((control.centred ? FL_ALIGN_CENTER : FL_ALIGN_LEFT) | FL_ALIGN_INSIDE);
    return label;
}

// The places before any text is measured: the table's, which English keeps.
WindowPixels LaidOutInEnglish(int dpi, int standard) {
    return LayOutWindow(dpi, standard, {}, [](const char*, int) { return 0; });
}

}  // namespace

int RefuseToRun(const std::string& why) {
    std::string line = why;
    std::replace(line.begin(), line.end(), '\n', ' ');
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::fputs(Format(Tr("nudgewick: cannot nudge here: %1\n"), {line}).c_str(), stderr);
    FltkMessageDialog(StandardTextSize(DisplayDpi()), nullptr)
        .Show(Format(Tr("Nudgewick cannot nudge the pointer here.\n\n%1"), {why}));
    return 1;
}

FltkMainWindow::FltkMainWindow(const StartSettings& start, WaylandDesktop* wayland, std::vector<std::string> command)
    : dpi_(DisplayDpi()),
      standardTextSize_(StandardTextSize(dpi_)),
      layout_(LaidOutInEnglish(dpi_, standardTextSize_)),
      flWindow_(layout_.width, layout_.height, kWindowTitle),
      controls_(BuildControls(layout_)),
      tickTimer_(OnTick, this),
      sessionTimer_(OnSessionTimer, this),
      scheduleTimer_(OnScheduleTimer, this),
      messages_(standardTextSize_, &flWindow_),
      launcher_([this](const std::string& reason) { controller_.OnLinkOpenFailed(reason); }),
      tray_([this] { Present(); }, [this](const TrayMenuEntry& entry) { OnTrayEntryChosen(entry); }),
      trayViews_(tray_),
      processes_(std::move(command), [this](std::int32_t pid, const ProcessEnd& end) { OnProcessEnded(pid, end); }),
      desktop_([this] { controller_.OnDesktopChanged(); }),
      battery_(start.battery.has_value()),
      controller_({.intervalBox = *controls_.intervalBox,
                   .pixelsBox = *controls_.pixelsBox,
                   .startStopButton = *controls_.startStopButton,
                   .tickTimer = tickTimer_,
                   .sessionTimer = sessionTimer_,
                   .scheduleTimer = scheduleTimer_,
                   .messages = messages_,
                   .pointer = wayland != nullptr ? static_cast<Pointer&>(*wayland) : pointer_,
                   .launcher = launcher_,
                   .clock = clock_,
                   .tray = trayViews_,
                   .statusLine = *controls_.statusLine,
                   .processes = processes_,
                   .idle = wayland,
                   .desktop = &desktop_},
                  start),
      accessibility_({.window = flWindow_,
                      .startStopButton = *controls_.startStopButton,
                      .intervalBox = *controls_.intervalBox,
                      .pixelsBox = *controls_.pixelsBox,
                      .link = *controls_.link,
                      .statusLine = *controls_.statusLine,
                      .messages = messages_,
                      .layout = layout_}),
      minimized_(start.minimized),
      wayland_(wayland) {
    flWindow_.end();
    Wire();
    tray_.OnIconChange([this] {
        if (!tray_.IconShown()) WaitForIcon();
    });
    if (wayland != nullptr) wayland->OnRouteClosed([this] { controller_.OnInputRouteClosed(); });
}

FltkMainWindow::~FltkMainWindow() { Fl::remove_timeout(OnIconWaitOver, this); }

// Created in the table's order, which is the Tab order; the labels take no
// focus.
FltkMainWindow::Controls FltkMainWindow::BuildControls(const WindowPixels& layout) {
    Controls built;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlLayout& control = kControls[i];
        const Rect& r = layout.controls[i];
        Fl_Widget* widget = nullptr;
        switch (control.id) {
        case ControlId::StartStopButton:
            widget = built.startStopButton = new FltkButton(r.x, r.y, r.width, r.height, nullptr);
            built.startStopButton->SetCaption(ShownText(control));
            break;
        case ControlId::PixelsBox: widget = built.pixelsBox = new FltkTextBox(r.x, r.y, r.width, r.height); break;
        case ControlId::IntervalBox: widget = built.intervalBox = new FltkTextBox(r.x, r.y, r.width, r.height); break;
        case ControlId::Link: widget = built.link = new FltkLink(r.x, r.y, r.width, r.height, kProductAddress); break;
        case ControlId::TitleLabel:
        case ControlId::IntervalLabel:
        case ControlId::PixelsLabel:
        case ControlId::State: widget = NewLabel(r, control); break;  // the status line is built below
        }
        widget->labelsize(layout.fontSizes[i]);
        built.all[i] = widget;
    }
    const Rect& status = layout.statusLine;
    built.statusLine = new FltkStatusLine(status.x, status.y, status.width, status.height);
    built.statusLine->labelsize(layout.statusLineFontSize);
    built.pixelsBox->textsize(layout.FontSizeOf(ControlId::PixelsBox));
    built.intervalBox->textsize(layout.FontSizeOf(ControlId::IntervalBox));
    return built;
}

void FltkMainWindow::Wire() {
    flWindow_.callback(OnClose, this);
    controls_.startStopButton->callback(OnStartStopClicked, this);
    controls_.link->callback(OnLinkClicked, this);
    controls_.intervalBox->OnFocusLeft([this](FocusMove move) { controller_.OnIntervalBoxLeft(move); });
    controls_.pixelsBox->OnFocusLeft([this](FocusMove move) { controller_.OnPixelsBoxLeft(move); });
}

std::optional<std::string> FltkMainWindow::ConnectDesktop() {
    connected_ = true;
    bus_ = DbusSessionBus::Open();
    if (wayland_ != nullptr) {
        const auto& choice = wayland_->Choose(bus_.get());
        if (!choice.CanNudge()) return choice.missing;
        wayland_->Attach();
    }
    tray_.Connect(bus_.get());
    accessibility_.Connect(bus_.get());
    desktop_.Connect(bus_.get(), battery_);
    if (auto waiting = std::exchange(desktopHotkey_, std::nullopt)) BindShortcut(waiting->first, waiting->second);
    return std::nullopt;
}

std::optional<std::string> FltkMainWindow::Show() {
    controller_.Load();
    SetWindowIcons(flWindow_);
    flWindow_.xclass(kX11WindowName);  // WM_CLASS nudgewick/Nudgewick: the desktop entry's StartupWMClass
    if (minimized_) {
        FitTexts();
        WaitForIcon();
        return std::nullopt;
    }
    flWindow_.show();
    XFlush(fl_display);  // the server and the window manager map it while the labels are fitted
    FitTexts();
    controls_.startStopButton->take_focus();
    return std::nullopt;
}

// The input method follows XMODIFIERS (@im=...) from the first event on:
// FLTK opens one when the pointer enters the window. Telling Xlib loads its
// locale database, which the window's mapping does not need.
int FltkMainWindow::Run() {
    XSetLocaleModifiers("");
    Fl::check();  // draws the window
    if (const auto missing = connected_ ? std::nullopt : ConnectDesktop()) {
        End(0);
        return RefuseToRun(*missing);
    }
    OpenInputMethod();
    // Not Fl::run(), which the XEmbed icon's window would keep going; and a
    // wait with a time, since Fl::wait() returns at once while no window is
    // shown, as when hidden behind a StatusNotifierItem.
    while (!closed_) Fl::wait(1e20);
    return exitStatus_;
}

// Labels too long for their room are made smaller, and where that is not
// enough the window grows. Measuring them opens the first font, which reads
// fontconfig's whole configuration: more time than everything before, spent
// once the window is on its way to the screen, and before its first frame.
// Until then the window has its English size, which most languages keep.
void FltkMainWindow::FitTexts() {
    UseWindowFont();
    layout_ = LayOutForTexts(dpi_, standardTextSize_);
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const Rect& r = layout_.controls[i];
        controls_.all[i]->resize(r.x, r.y, r.width, r.height);
        controls_.all[i]->labelsize(layout_.fontSizes[i]);
    }
    const Rect& status = layout_.statusLine;
    controls_.statusLine->resize(status.x, status.y, status.width, status.height);
    if (flWindow_.w() != layout_.width || flWindow_.h() != layout_.height)
        flWindow_.size(layout_.width, layout_.height);
}

// The icon gets a moment to come (back) into sight: at the start, and when
// it left the screen.
void FltkMainWindow::WaitForIcon() {
    Fl::remove_timeout(OnIconWaitOver, this);
    Fl::add_timeout(kIconWaitSeconds, OnIconWaitOver, this);
}

void FltkMainWindow::GrabHotkey(const Hotkey& hotkey, HotkeyAnswer answered) {
    hotkey_.reset();
    if (wayland_ != nullptr) return BindShortcut(hotkey, std::move(answered));
    hotkey_.emplace(hotkey, [this] { controller_.OnHotkey(); });
    auto refusal = hotkey_->Grab();
    if (refusal) hotkey_.reset();
    answered({refusal, std::nullopt});
}

void FltkMainWindow::BindShortcut(const Hotkey& hotkey, HotkeyAnswer answered) {
    shortcuts_.reset();
    if (!connected_) {
        desktopHotkey_.emplace(hotkey, std::move(answered));
        return;
    }
    if (bus_ == nullptr || !bus_->Connected()) return answered({HotkeyRefusal::Unavailable, std::nullopt});
    shortcuts_.emplace(
        *bus_, hotkey, [this] { controller_.OnHotkey(); }, std::move(answered));
}

// Until the user shows the window, it stays hidden while the icon is on the
// screen and iconified while it is not.
void FltkMainWindow::ApplyMinimizedShowing() {
    if (flWindow_.shown() || closed_ || !minimized_) return;
    if (ShowingAtStart(minimized_, tray_.IconShown()) == WindowShowing::Iconified) flWindow_.iconize();
}

void FltkMainWindow::Hide() {
    minimized_ = true;
    if (ShowingAtStart(true, tray_.IconShown()) == WindowShowing::Hidden) return flWindow_.hide();
    flWindow_.iconize();
}

// Escape reaches the window as a shortcut and would hide it: only the
// window manager's close ends the program.
void FltkMainWindow::OnClose(Fl_Widget*, void* self) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    static_cast<FltkMainWindow*>(self)->Close();
}

void FltkMainWindow::End(int exitStatus) {
    closed_ = true;
    exitStatus_ = exitStatus;
    flWindow_.hide();
}

void FltkMainWindow::OnProcessEnded(std::int32_t pid, const ProcessEnd& end) {
    if (const auto exitStatus = controller_.OnProcessEnded(pid, end)) End(*exitStatus);
}

void FltkMainWindow::OnTrayEntryChosen(const TrayMenuEntry& entry) {
    switch (controller_.OnTrayEntryChosen(entry)) {
    case TrayAction::ShowWindow: return Present();
    case TrayAction::Exit: return Close();
    case TrayAction::Handled: return;
    }
}

}  // namespace nudgewick::linux_desktop
