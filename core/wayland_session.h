#pragma once
// A Wayland session, where no client may read the pointer and moves made
// through X reach only Xwayland: the way the nudges go and where the idle
// time comes from, chosen from what the compositor and the session bus offer,
// and the idle time as the compositor's notices tell it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace nudgewick {

// How the nudges reach the compositor, in the order they are tried.
enum class WaylandRoute { Missing, VirtualPointer, FakeInput, GnomeRemoteDesktop, Portal };

// Where the idle time comes from, in the order they are tried.
enum class IdleFrom { Nowhere, ExtIdleNotifier, KdeIdle, GnomeIdleMonitor };

// The compositor's globals that matter here, as it announced them.
struct CompositorGlobals {
    bool seat = false;
    bool virtualPointer = false;   // wlroots' zwlr_virtual_pointer_manager_v1
    bool fakeInput = false;        // KWin's org_kde_kwin_fake_input, offered only to the programs it allows
    bool extIdleNotifier = false;  // ext_idle_notifier_v1
    bool kdeIdle = false;          // KDE's org_kde_kwin_idle
    bool kwin = false;             // globals that only KWin offers
};

// The session bus's services, each asked only when the compositor and every
// service before it offered nothing. Each start returns nothing when it
// worked, else the system's reason, for the text that says what is missing.
class SessionServices {
public:
    virtual ~SessionServices() = default;
    // Creates and starts a session of GNOME Mutter's remote desktop service,
    // which sends input as a device of its own without asking the user.
    virtual std::optional<std::string> StartRemoteDesktop() = 0;
    // The same through the desktop's RemoteDesktop portal, which may ask the user.
    virtual std::optional<std::string> StartPortal() = 0;
    // Only whether the portal is there, starting nothing.
    virtual std::optional<std::string> LookForPortal() = 0;
    // Whether GNOME Mutter's idle monitor answers.
    virtual bool HasIdleMonitor() = 0;
};

struct WaylandChoice {
    WaylandRoute route = WaylandRoute::Missing;
    IdleFrom idle = IdleFrom::Nowhere;
    // For a missing route or idle source: what is missing and how to fix it, in lines.
    std::string missing;

    bool CanNudge() const;
};

// This program as KWin sees it: KWin lets a program use its fake input when
// a desktop entry that it finds names the program's file.
struct ProgramEntry {
    std::string path;  // this program's file
    // An installed desktop entry that names it and asks for the fake input,
    // looked for only where KWin withheld the fake input.
    std::optional<std::string> desktopEntry{};
    std::string menuPrefix{};  // XDG_MENU_PREFIX: KWin 6 finds entries only through its menu file
};

// The first route and the first idle source the session offers. Looking only
// (--check), the portal is asked only whether it is there: a session started
// through GNOME's would ask the user.
WaylandChoice ChooseWaylandWays(const CompositorGlobals& globals, SessionServices& services, bool lookingOnly,
                                const ProgramEntry& program);

// How --check names them, "none" for Missing and Nowhere.
std::string RouteName(WaylandRoute route);
std::string IdleName(IdleFrom idle);

// The compositor says when input has stopped for each of these delays, and
// when it resumes. The first tells the idle time to the tick: shorter means
// more events; it must stay well under a second, the user's rhythm that the
// ticks tell apart from our own nudges. A compositor held up by a busy machine
// sends its notices late, which makes the idle time taken from their arrival
// too short; the notice for the second delay, sent in the same late turn of
// its loop, then says that input stopped at least that long before.
inline constexpr std::array<std::int64_t, 2> kIdleNoticeDelays = {500, 2000};

// The idle time as far as the compositor's notices tell it, each counted
// from its arrival on the steady clock (milliseconds).
class NotifiedIdle {
public:
    // The notice for kIdleNoticeDelays[which] came at now: no input for that long.
    void Idled(std::size_t which, std::int64_t now);
    // Input came, as the notice for kIdleNoticeDelays[which] says.
    void Resumed(std::size_t which);
    // No input for the first delay at least.
    bool Quiet() const;
    // Exact once input has stopped for the first delay; under that, taken as 0.
    std::int64_t Milliseconds(std::int64_t now) const;

private:
    struct Notice {
        bool quiet = false;
        std::int64_t lastInput = 0;
    };
    std::array<Notice, kIdleNoticeDelays.size()> notices_{};
};

}  // namespace nudgewick
