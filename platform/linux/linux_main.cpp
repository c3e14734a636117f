// Nudgewick on Linux, on X11 or in a Wayland session through Xwayland: checks
// the command line, opens the display and runs the window until it is closed.

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <libintl.h>
#include <unistd.h>
#include <algorithm>
#include <climits>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/catalogue.h"
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
    std::fputs(Format(Tr("nudgewick: ignored an X error: %1 in %2\n"), {what, request}).c_str(), stderr);
    return 0;
}

// The server went away (it ended, or the connection broke): there is nothing
// left to nudge. Xlib requires this handler not to return.
int OnDisplayLost(Display* display) {
    linux_desktop::EndAtOnce(Format(Tr("lost the connection to the X display %1"), {DisplayString(display)}));
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

// The "lock:" line for --check, with "paused: locked" after it while locked.
std::string LockLines(linux_desktop::DbusSessionBus* bus) {
    linux_desktop::DbusDesktopWatch watch([] {});
    watch.Connect(bus, false);
    watch.Settle();
    return LockCheckLines(watch.LockSources(), watch.Look().locked);
}

// "session:", "route:", "idle:", "hotkey:" and "lock:" lines for --check.
CheckReport ReportCheck(bool displayOpen, linux_desktop::WaylandDesktop* wayland) {
    const char* display = XDisplayName(nullptr);
    if (wayland == nullptr) {
        const bool xtest = displayOpen && linux_desktop::X11Pointer::CanMove();
        const std::string session = X11SessionCheckLines(display, displayOpen, xtest);
        if (!displayOpen) return {session, false};
        const auto bus = linux_desktop::DbusSessionBus::Open();
        return {session + HotkeyCheckLine(HotkeyRoute::KeyGrab) + LockLines(bus.get()), xtest};
    }
    const auto bus = linux_desktop::DbusSessionBus::Open();
    const auto& choice = wayland->Choose(bus.get(), true);
    return {WaylandSessionCheckLines(wayland->DisplayName(), display, displayOpen, RouteName(choice.route),
                                     IdleName(choice.idle)) +
                choice.missing +
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
        linux_desktop::FltkMessageDialog(linux_desktop::StandardTextSize(linux_desktop::DisplayDpi()), nullptr)
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
        const std::string display = *name ? name : Tr("(DISPLAY is not set)");
        return Format(wayland_ ? Tr("nudgewick: the window needs Xwayland, and the X display %1\n")
                               : Tr("nudgewick: cannot open the X display %1\n"),
                      {display});
    }
    CheckReport Check() override { return ReportCheck(displayOpen_, wayland_.get()); }
    SingleInstance& Instance() override { return instance_ ? *instance_ : instance_.emplace(); }

    // --minimized: the icon decides how the window waits, and there is no
    // frame to draw first.
    ProgramWindow* OpenWindow(const StartSettings& start, std::string_view) override {
        if (wayland_ == nullptr && !linux_desktop::X11Pointer::CanMove()) {
            std::fputs(Tr("nudgewick: the X server lacks the XTEST extension needed to move the pointer\n").c_str(),
                       stderr);
            return nullptr;
        }
        linux_desktop::UseDesktopLook();
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

// PREFIX for the running PREFIX/bin/nudgewick (without std::filesystem, whose
// code would be the largest part of the C++ library paged in).
std::string InstallPrefix() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    std::string prefix(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    for (int level = 0; level < 2; ++level) prefix.resize(std::min(prefix.size(), prefix.rfind('/')));
    return prefix;
}

// The texts in the user's language, from the catalogues installed beside the
// program (PREFIX/share/locale for PREFIX/bin/nudgewick), as gettext picks
// the language from LANGUAGE, LC_ALL, LC_MESSAGES and LANG.
class GettextCatalogue final : public Catalogue {
public:
    GettextCatalogue() {
        bindtextdomain(kDomain, (InstallPrefix() + "/share/locale").c_str());
        bind_textdomain_codeset(kDomain, "UTF-8");
    }
    std::string Text(const char* text) const override { return dgettext(kDomain, text); }
    std::string Plural(const char* one, const char* other, unsigned long count) const override {
        return dngettext(kDomain, one, other, count);
    }

private:
    static constexpr const char* kDomain = "nudgewick";
};

}  // namespace

int main(int argc, char** argv) {
    // Only the language of the messages comes from the user's locale (and the
    // character set, once the display opens): numbers are read and written
    // alike in every language ('.' in "4.5 s"), and the rest of a locale's
    // data, its collation above all, would cost megabytes it never uses.
    std::setlocale(LC_MESSAGES, "");
    const GettextCatalogue catalogue;
    UseCatalogue(&catalogue);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string commandLine = JoinArguments(arguments);
    LinuxShell shell(std::move(arguments));
    return RunProgram(shell, commandLine);
}
