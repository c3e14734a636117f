// Nudgewick on Linux, on X11 or in a Wayland session through Xwayland: checks
// the command line, opens the display and runs the window until it is closed.

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <unistd.h>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/command_line.h"
#include "core/shell.h"
#include "core/version.h"
#include "platform/linux/dbus_desktop_watch.h"
#include "platform/linux/dbus_global_shortcuts.h"
#include "platform/linux/fltk_internals.h"
#include "platform/linux/fltk_main_window.h"
#include "platform/linux/linux_exit.h"
#include "platform/linux/wayland_desktop.h"
#include "platform/linux/x11_dpi.h"
#include "platform/linux/x11_pointer.h"
#include "platform/linux/x11_single_instance.h"

using namespace nudgewick;

namespace {

// A request can fail through no fault of ours: a window manager that died left
// a stale window id behind, a client asked for the clipboard and destroyed its
// window before the answer. Only that request is lost; Xlib's own handler
// would end the program.
int OnRequestFailed(Display* display, XErrorEvent* error) {
    char what[128], number[16], request[64];
    XGetErrorText(display, error->error_code, what, sizeof what);
    std::snprintf(number, sizeof number, "%d", error->request_code);
    XGetErrorDatabaseText(display, "XRequest", number, number, request, sizeof request);
    std::fprintf(stderr, "nudgewick: ignored an X error: %s in %s\n", what, request);
    return 0;
}

// The server went away (it ended, or the connection broke): there is nothing
// left to nudge. Xlib requires this handler not to return.
int OnDisplayLost(Display* display) {
    linux_desktop::EndAtOnce(std::string("lost the connection to the X display ") + DisplayString(display));
}

// What FLTK sets up when it opens the display itself, which it does not when
// handed one: the user's character set for typed text, and X error handling.
// The locale's modifiers wait until the window is mapped (see main()).
Display* OpenDisplay() {
    std::setlocale(LC_CTYPE, "");
    XSetErrorHandler(OnRequestFailed);
    XSetIOErrorHandler(OnDisplayLost);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    linux_desktop::OpenToolkitDisplay(display);
    return display;
}

// The look of a current desktop, and the class a taskbar groups the windows
// by. Liberation Sans is narrow and metric-compatible with the dialog fonts of
// other systems; fontconfig picks the nearest family where it is missing.
void UseDesktopLook() {
    Fl::scheme("gleam");
    Fl::set_font(FL_HELVETICA, " Liberation Sans");
    Fl_Window::default_xclass(kX11WindowName);
}

// The "lock:" line for --check, with "paused: locked" after it while locked.
std::string LockLines(linux_desktop::DbusSessionBus* bus) {
    linux_desktop::DbusDesktopWatch watch([] {});
    watch.Connect(bus, false);
    watch.Settle();
    return LockCheckLines(watch.LockSources(), watch.Look().locked);
}

// "session:", "route:", "idle:", "hotkey:" and "lock:" lines for --check.
CheckReport ReportCheck(bool displayOpen, linux_desktop::WaylandDesktop* wayland) {
    const char* name = XDisplayName(nullptr);
    const std::string display = *name ? std::string("display ") + name : "no X display (DISPLAY is not set)";
    if (wayland == nullptr) {
        const std::string session = "session: X11, " + display + "\n";
        if (!displayOpen) return {session + "route: none: cannot open the X display\n", false};
        const bool xtest = linux_desktop::X11Pointer::CanMove();
        const auto bus = linux_desktop::DbusSessionBus::Open();
        return {session + "route: " + (xtest ? "XTEST" : "none: the X server lacks the XTEST extension") +
                    "\nidle: the pointer's position, read at each tick\n" + HotkeyCheckLine(HotkeyRoute::KeyGrab) +
                    LockLines(bus.get()),
                xtest};
    }
    const auto bus = linux_desktop::DbusSessionBus::Open();
    const auto& choice = wayland->Choose(bus.get(), true);
    return {"session: Wayland, display " + wayland->DisplayName() + "; the window on Xwayland, " +
                (displayOpen ? display : "none: the window needs Xwayland") + "\nroute: " + RouteName(choice.route) +
                "\nidle: " + IdleName(choice.idle) + "\n" + choice.missing +
                HotkeyCheckLine(linux_desktop::DbusGlobalShortcuts::Offered(bus.get()) ? HotkeyRoute::DesktopShortcuts
                                                                                       : HotkeyRoute::NotOffered) +
                LockLines(bus.get()),
            displayOpen && choice.CanNudge()};
}

// The program on the X display: standard output and error are the console,
// and a plain second start speaks only to a terminal.
class LinuxShell final : public Shell, Console {
public:
    explicit LinuxShell(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {}

    Console& Output() override { return *this; }
    bool Write(const std::string& text, bool toStandardError) override {
        std::fputs(text.c_str(), toStandardError ? stderr : stdout);
        return true;
    }
    bool Watched() const override { return isatty(STDERR_FILENO) != 0; }
    void ShowBox(const std::string& text) override {
        linux_desktop::FltkMessageDialog(linux_desktop::PickTextSizes(linux_desktop::DisplayDpi()).standard, nullptr)
            .Show(text);
    }

    // A script's background job starts with SIGINT ignored. Both signals end
    // the program at once with their own status: it has nothing to clean up.
    // A session is Wayland's when a compositor answers, whatever the
    // variables say.
    std::optional<std::string> ReachDesktop() override {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        wayland_ = linux_desktop::WaylandDesktop::Connect();
        displayOpen_ = OpenDisplay() != nullptr;
        if (displayOpen_) return std::nullopt;
        const char* name = XDisplayName(nullptr);
        return std::string(wayland_ ? "nudgewick: the window needs Xwayland, and the X display "
                                    : "nudgewick: cannot open the X display ") +
               (*name ? name : "(DISPLAY is not set)") + "\n";
    }
    CheckReport Check() override { return ReportCheck(displayOpen_, wayland_.get()); }
    SingleInstance& Instance() override { return instance_ ? *instance_ : instance_.emplace(); }

    // --minimized: the icon decides how the window waits, and there is no
    // frame to draw first.
    ProgramWindow* OpenWindow(const StartSettings& start, std::string_view) override {
        if (wayland_ == nullptr && !linux_desktop::X11Pointer::CanMove()) {
            std::fputs("nudgewick: the X server lacks the XTEST extension needed to move the pointer\n", stderr);
            return nullptr;
        }
        UseDesktopLook();
        auto& window =
            window_.emplace(start, wayland_.get(),
                            start.commandAt ? ArgumentsFrom(arguments_, *start.commandAt) : std::vector<std::string>());
        if (const auto missing = start.minimized ? window.ConnectDesktop() : std::nullopt) {
            linux_desktop::RefuseToRun(*missing);
            return nullptr;
        }
        return &window;
    }

private:
    std::vector<std::string> arguments_;
    std::unique_ptr<linux_desktop::WaylandDesktop> wayland_;  // outlives the window
    bool displayOpen_ = false;
    std::optional<linux_desktop::X11SingleInstance> instance_;
    std::optional<linux_desktop::FltkMainWindow> window_;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string commandLine = JoinArguments(arguments);
    LinuxShell shell(std::move(arguments));
    return RunProgram(shell, commandLine);
}
