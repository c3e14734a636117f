// Nudgewick on Linux, on X11 or in a Wayland session through Xwayland: checks
// the command line, opens the display and runs the window until it is closed.

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <unistd.h>
#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/command_channel.h"
#include "core/command_line.h"
#include "core/version.h"
#include "platform/linux/fltk_internals.h"
#include "platform/linux/fltk_main_window.h"
#include "platform/linux/linux_exit.h"
#include "platform/linux/wayland_desktop.h"
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

// "session:", "route:" and "idle:" lines for --check; true when it can nudge.
bool ReportCheck(bool displayOpen, linux_desktop::WaylandDesktop* wayland) {
    const char* name = XDisplayName(nullptr);
    const std::string display = *name ? std::string("display ") + name : "no X display (DISPLAY is not set)";
    if (wayland == nullptr) {
        std::printf("session: X11, %s\n", display.c_str());
        if (!displayOpen) {
            std::printf("route: none: cannot open the X display\n");
            return false;
        }
        const bool xtest = linux_desktop::X11Pointer::CanMove();
        std::printf("route: %s\nidle: the pointer's position, read at each tick\n",
                    xtest ? "XTEST" : "none: the X server lacks the XTEST extension");
        return xtest;
    }
    const auto bus = linux_desktop::DbusSessionBus::Open();
    const auto& choice = wayland->Choose(bus.get(), true);
    std::printf("session: Wayland, display %s; the window on Xwayland, %s\n", wayland->DisplayName().c_str(),
                displayOpen ? display.c_str() : "none: the window needs Xwayland");
    std::printf("route: %s\nidle: %s\n", RouteName(choice.route).c_str(), IdleName(choice.idle).c_str());
    std::printf("%s", choice.missing.c_str());
    return displayOpen && choice.CanNudge();
}

// A message box besides the line on standard error: a program started from a
// desktop's menu has no terminal.
int RefuseToRun(const std::string& why) {
    std::string line = why;
    std::replace(line.begin(), line.end(), '\n', ' ');
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::fprintf(stderr, "nudgewick: cannot nudge here: %s\n", line.c_str());
    linux_desktop::FltkMessageDialog(linux_desktop::PickTextSizes(linux_desktop::DisplayDpi()).standard, nullptr)
        .Show("Nudgewick cannot nudge the pointer here.\n\n" + why);
    return 1;
}

// The session bus (one connection for all the program's use of it), the
// compositor's route and idle source, and the notification-area icon: the
// window's first frame needs none of them. False, with what is missing, when
// a Wayland session offers no way to nudge.
bool ConnectDesktop(std::unique_ptr<linux_desktop::DbusSessionBus>& bus, linux_desktop::WaylandDesktop* wayland,
                    linux_desktop::FltkMainWindow& window, std::string& missing) {
    bus = linux_desktop::DbusSessionBus::Open();
    if (wayland != nullptr) {
        const auto& choice = wayland->Choose(bus.get());
        missing = choice.missing;
        if (!choice.CanNudge()) return false;
        wayland->Attach();
    }
    window.UseSessionBus(bus.get());
    return true;
}

// An answer from the running copy, or about it, on the stream the core
// names; a plain second start's only where someone reads it.
int Report(const CommandAnswer& answer, const StartSettings& asked) {
    if (!AsksNothing(asked) || isatty(STDERR_FILENO))
        std::fputs(answer.text.c_str(), OnStandardError(answer, asked) ? stderr : stdout);
    return answer.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string commandLine = JoinArguments(arguments);
    const StartupCheck check = CheckCommandLine(commandLine);
    if (!check.proceed) {
        std::fputs(check.output.c_str(), check.exitCode == 0 ? stdout : stderr);
        return check.exitCode;
    }
    // A script's background job starts with SIGINT ignored. Both signals end
    // the program at once with their own status: it has nothing to clean up.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);

    // A session is Wayland's when a compositor answers, whatever the variables say.
    auto wayland = linux_desktop::WaylandDesktop::Connect();
    const bool displayOpen = OpenDisplay() != nullptr;
    if (check.settings.check) return ReportCheck(displayOpen, wayland.get()) ? 0 : 1;
    // No copy runs on a display that cannot be opened.
    const auto withoutCopy = AnswerWithoutCopy(check.settings.command);
    if (!displayOpen && withoutCopy) return Report(*withoutCopy, check.settings);
    if (!displayOpen) {
        const char* name = XDisplayName(nullptr);
        std::fprintf(stderr,
                     wayland != nullptr
                         ? "nudgewick: the window needs Xwayland, and the X display %s cannot be opened\n"
                         : "nudgewick: cannot open the X display %s\n",
                     *name ? name : "(DISPLAY is not set)");
        return 1;
    }
    linux_desktop::X11SingleInstance instance;
    // A start with "--" runs a copy of its own, beside the display's copy.
    const auto commandAt = check.settings.commandAt;
    switch (commandAt ? linux_desktop::X11SingleInstance::Found::Claimed : instance.Claim(!withoutCopy)) {
    case linux_desktop::X11SingleInstance::Found::OtherCopy:
        return Report(ReadAnswer(instance.HandOver(commandLine)), check.settings);
    case linux_desktop::X11SingleInstance::Found::NoCopy: return Report(*withoutCopy, check.settings);
    case linux_desktop::X11SingleInstance::Found::Claimed: break;
    }
    if (wayland == nullptr && !linux_desktop::X11Pointer::CanMove()) {
        std::fputs("nudgewick: the X server lacks the XTEST extension needed to move the pointer\n", stderr);
        return 1;
    }
    UseDesktopLook();
    std::unique_ptr<linux_desktop::DbusSessionBus> bus;  // outlives the window's icon
    linux_desktop::FltkMainWindow window(check.settings, wayland.get(),
                                         commandAt ? ArgumentsFrom(arguments, *commandAt) : std::vector<std::string>());
    instance.OnCommandLine([&window](std::string_view message) { return window.OnCommandLine(message); });
    // --minimized: the icon decides how the window waits, and there is no
    // frame to draw first.
    const bool connectFirst = check.settings.minimized;
    std::string missing;
    if (connectFirst && !ConnectDesktop(bus, wayland.get(), window, missing)) return RefuseToRun(missing);
    if (const auto refusal = window.Follow()) {
        std::fputs(refusal->output.c_str(), stderr);
        return refusal->exitCode;
    }
    window.Show();
    // The input method follows XMODIFIERS (@im=...) from the first event on:
    // FLTK opens one when the pointer enters the window. Telling Xlib loads
    // its locale database, which the window's mapping does not need.
    XSetLocaleModifiers("");
    Fl::check();  // draws the window
    if (!connectFirst && !ConnectDesktop(bus, wayland.get(), window, missing)) {
        window.Close();
        return RefuseToRun(missing);
    }
    linux_desktop::OpenInputMethod();
    // Not Fl::run(), which the XEmbed icon's window would keep going; and a
    // wait with a time, since Fl::wait() returns at once while no window is
    // shown, as when hidden behind a StatusNotifierItem.
    while (!window.Closed()) Fl::wait(1e20);
    return window.ExitStatus();
}
