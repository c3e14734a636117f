#include "core/wayland_session.h"

#include <algorithm>

#include "core/catalogue.h"

namespace nudgewick {
namespace {

// What to do where KWin withheld its fake input: install an entry that names
// the program, or, where one is installed, let KWin find it.
std::string KwinEntryAdvice(const ProgramEntry& program) {
    if (!program.desktopEntry) {
        return Format(Tr("KWin lets only programs named by an installed desktop entry move the pointer.\n"
                         "Install Nudgewick's package, or add a desktop entry with Exec=%1\n"
                         "and X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input to ~/.local/share/applications.\n"),
                      {program.path});
    }
    const std::string prefix = program.menuPrefix.empty() ? Tr("XDG_MENU_PREFIX, which is not set here")
                                                          : "XDG_MENU_PREFIX=" + program.menuPrefix;
    return Format(Tr("KWin did not find the desktop entry %1,\n"
                     "which lets this program move the pointer: KWin 6 finds desktop entries only through\n"
                     "the menu file that %2 names.\n"
                     "Start KWin in a Plasma session, which sets XDG_MENU_PREFIX=plasma- and installs its menu "
                     "file.\n"),
                  {*program.desktopEntry, prefix});
}

// The route, trying the compositor's own first, then the bus's services in
// turn; where none works, what is missing is added to missing.
WaylandRoute ChooseRoute(const CompositorGlobals& globals, SessionServices& services, bool lookingOnly,
                         const ProgramEntry& program, std::string& missing) {
    if (globals.virtualPointer) return WaylandRoute::VirtualPointer;
    if (globals.fakeInput) return WaylandRoute::FakeInput;
    const auto gnomeFailure = services.StartRemoteDesktop();
    if (!gnomeFailure) return WaylandRoute::GnomeRemoteDesktop;
    const auto portalFailure = lookingOnly ? services.LookForPortal() : services.StartPortal();
    if (!portalFailure) return WaylandRoute::Portal;
    if (globals.kwin) {
        missing += KwinEntryAdvice(program) +
                   Format(Tr("Nor did the desktop's RemoteDesktop portal help (%1).\n"), {*portalFailure});
    } else {
        missing += Format(Tr("The compositor offers no virtual pointer (zwlr_virtual_pointer_manager_v1), no KWin\n"
                             "fake input, no GNOME remote desktop (%1),\n"
                             "and no RemoteDesktop portal (%2).\n"),
                          {*gnomeFailure, *portalFailure});
    }
    return WaylandRoute::Missing;
}

// The compositor's idle notices need the seat whose input they watch.
IdleFrom ChooseIdleSource(const CompositorGlobals& globals, SessionServices& services, std::string& missing) {
    if (globals.extIdleNotifier && globals.seat) return IdleFrom::ExtIdleNotifier;
    if (globals.kdeIdle && globals.seat) return IdleFrom::KdeIdle;
    if (services.HasIdleMonitor()) return IdleFrom::GnomeIdleMonitor;
    missing +=
        Tr("The compositor tells no idle time (ext_idle_notifier_v1, org_kde_kwin_idle\n"
           "or GNOME's org.gnome.Mutter.IdleMonitor), which tells a user who is away.\n");
    return IdleFrom::Nowhere;
}

}  // namespace

bool WaylandChoice::CanNudge() const { return route != WaylandRoute::Missing && idle != IdleFrom::Nowhere; }

WaylandChoice ChooseWaylandWays(const CompositorGlobals& globals, SessionServices& services, bool lookingOnly,
                                const ProgramEntry& program) {
    WaylandChoice choice;
    choice.route = ChooseRoute(globals, services, lookingOnly, program, choice.missing);
    choice.idle = ChooseIdleSource(globals, services, choice.missing);
    return choice;
}

// In the enums' order. The protocols' names are the same in every language:
// only "none" has a translation.
std::string RouteName(WaylandRoute route) {
    const char* const names[] = {Marked("none"), "wlroots virtual pointer (zwlr_virtual_pointer_manager_v1)",
                                 "KWin fake input (org_kde_kwin_fake_input)",
                                 "GNOME remote desktop (org.gnome.Mutter.RemoteDesktop)",
                                 "RemoteDesktop portal (org.freedesktop.portal.RemoteDesktop)"};
    return Tr(names[static_cast<std::size_t>(route)]);
}

std::string IdleName(IdleFrom idle) {
    const char* const names[] = {Marked("none"), "ext_idle_notifier_v1", "org_kde_kwin_idle",
                                 "GNOME idle monitor (org.gnome.Mutter.IdleMonitor)"};
    return Tr(names[static_cast<std::size_t>(idle)]);
}

void NotifiedIdle::Idled(std::size_t which, std::int64_t now) {
    notices_.at(which) = {true, now - kIdleNoticeDelays.at(which)};
}

void NotifiedIdle::Resumed(std::size_t which) { notices_.at(which).quiet = false; }

bool NotifiedIdle::Quiet() const { return notices_[0].quiet; }

// The earliest last input that a quiet notice tells.
std::int64_t NotifiedIdle::Milliseconds(std::int64_t now) const {
    if (!Quiet()) return 0;
    std::int64_t lastInput = notices_[0].lastInput;
    for (const Notice& notice : notices_) {
        if (notice.quiet) lastInput = std::min(lastInput, notice.lastInput);
    }
    return now - lastInput;
}

}  // namespace nudgewick
