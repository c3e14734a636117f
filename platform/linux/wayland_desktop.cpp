#include "platform/linux/wayland_desktop.h"

#include <FL/Fl.H>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "ext-idle-notify-v1-client-protocol.h"
#include "fake-input-client-protocol.h"
#include "idle-client-protocol.h"
#include "platform/linux/dbus_remote_desktop.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace nudgewick::linux_desktop {
namespace {

std::int64_t NowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The compositor says when input has stopped for each of these delays, and
// when it resumes. The first tells the idle time to the tick: shorter means
// more events; it must stay well under a second, the user's rhythm that the
// ticks tell apart from our own nudges. A compositor held up by a busy machine
// sends its notices late, which makes the idle time taken from their arrival
// too short; the notice for the second delay, sent in the same late turn of
// its loop, then says that input stopped at least that long before.
constexpr std::uint32_t kIdleDelays[] = {500, 2000};

// A wl_fixed holds at most 2^23 - 1; a move of 32768 pixels is sent in parts.
constexpr std::int32_t kLongestStep = 16384;

// The globals this program uses, bound as the registry announces them.
struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* virtualPointers = nullptr;
    org_kde_kwin_fake_input* fakeInput = nullptr;
    ext_idle_notifier_v1* idleNotifier = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
    bool kwin = false;  // globals only KWin offers: the fake input's absence then has a known fix
};

template <typename T>
T* Bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface, std::uint32_t offered,
        std::uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    auto& globals = *static_cast<Globals*>(data);
    const std::string_view offered(interface);
    if (offered == wl_seat_interface.name && globals.seat == nullptr) {
        globals.seat = Bind<wl_seat>(registry, name, wl_seat_interface, version, 1);
    } else if (offered == zwlr_virtual_pointer_manager_v1_interface.name) {
        globals.virtualPointers = Bind<zwlr_virtual_pointer_manager_v1>(
            registry, name, zwlr_virtual_pointer_manager_v1_interface, version, 1);
    } else if (offered == org_kde_kwin_fake_input_interface.name) {
        globals.fakeInput =
            Bind<org_kde_kwin_fake_input>(registry, name, org_kde_kwin_fake_input_interface, version, 1);
    } else if (offered == ext_idle_notifier_v1_interface.name) {
        globals.idleNotifier = Bind<ext_idle_notifier_v1>(registry, name, ext_idle_notifier_v1_interface, version, 1);
    } else if (offered == org_kde_kwin_idle_interface.name) {
        globals.kdeIdle = Bind<org_kde_kwin_idle>(registry, name, org_kde_kwin_idle_interface, version, 1);
    } else if (offered.starts_with("org_kde_plasma_") || offered.starts_with("kde_")) {
        globals.kwin = true;
    }
}

void OnGlobalRemoved(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemoved};

// What one notice tells: whether input has stopped for its delay, and since
// when, as far as its arrival says.
struct IdleNotice {
    std::uint32_t delay = 0;
    bool quiet = false;
    std::int64_t lastInput = 0;

    static void Idled(void* self) {
        auto& notice = *static_cast<IdleNotice*>(self);
        notice.quiet = true;
        notice.lastInput = NowMilliseconds() - notice.delay;
    }
    static void Resumed(void* self) { static_cast<IdleNotice*>(self)->quiet = false; }
};

// The idle time as far as the compositor's notices tell it: exact once input
// has stopped for the first delay, under that (taken as 0) before.
struct NotifiedIdle {
    IdleNotice notices[std::size(kIdleDelays)];

    NotifiedIdle() {
        for (std::size_t i = 0; i < std::size(kIdleDelays); ++i) notices[i].delay = kIdleDelays[i];
    }
    bool Quiet() const { return notices[0].quiet; }
    std::int64_t Milliseconds() const {
        if (!Quiet()) return 0;
        std::int64_t lastInput = notices[0].lastInput;
        for (const auto& notice : notices) {
            if (notice.quiet) lastInput = std::min(lastInput, notice.lastInput);
        }
        return NowMilliseconds() - lastInput;
    }
};

constexpr ext_idle_notification_v1_listener kExtIdleListener{
    [](void* self, ext_idle_notification_v1*) { IdleNotice::Idled(self); },
    [](void* self, ext_idle_notification_v1*) { IdleNotice::Resumed(self); }};
constexpr org_kde_kwin_idle_timeout_listener kKdeIdleListener{
    [](void* self, org_kde_kwin_idle_timeout*) { IdleNotice::Idled(self); },
    [](void* self, org_kde_kwin_idle_timeout*) { IdleNotice::Resumed(self); }};

enum class Route { None, VirtualPointer, FakeInput, Gnome, Portal };
enum class IdleFrom { None, Notifications, Gnome };

std::string ThisProgram() {
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string("/usr/bin/nudgewick");
}

}  // namespace

struct WaylandDesktop::Parts {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    Globals globals;
    bool chosen = false;
    WaylandFindings findings;
    Route route = Route::None;
    IdleFrom idleFrom = IdleFrom::None;
    zwlr_virtual_pointer_v1* virtualPointer = nullptr;
    NotifiedIdle notified;
    DbusRemoteDesktop bus;  // opened only where the compositor itself offers no route or idle source

    ~Parts() {
        if (display != nullptr) wl_display_disconnect(display);
    }

    [[noreturn]] void Lost() const {
        std::fprintf(stderr, "nudgewick: lost the connection to the Wayland display %s\n", findings.display.c_str());
        std::_Exit(1);
    }

    // Handles what the compositor sent so far, without waiting for more.
    void HandleArrived() {
        while (wl_display_prepare_read(display) != 0) wl_display_dispatch_pending(display);
        wl_display_flush(display);
        pollfd socket{wl_display_get_fd(display), POLLIN, 0};
        if (poll(&socket, 1, 0) > 0) {
            if (wl_display_read_events(display) < 0) Lost();
        } else {
            wl_display_cancel_read(display);
        }
        if (wl_display_dispatch_pending(display) < 0) Lost();
    }

    static void OnReadable(int, void* self) {
        auto& parts = *static_cast<Parts*>(self);
        if (wl_display_dispatch(parts.display) < 0) parts.Lost();
    }

    void ChooseRoute(bool lookingOnly) {
        Globals& g = globals;
        if (g.virtualPointers != nullptr) {
            // The seat has a pointer only while a virtual one exists when no
            // mouse is plugged in: this one stays for the program's life.
            virtualPointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(g.virtualPointers, g.seat);
            route = Route::VirtualPointer;
            findings.route = "wlroots virtual pointer (zwlr_virtual_pointer_manager_v1)";
        } else if (g.fakeInput != nullptr) {
            // KWin offers the global only to programs its desktop entries
            // allow: its presence is the permission.
            org_kde_kwin_fake_input_authenticate(g.fakeInput, "Nudgewick",
                                                 "Nudges the pointer while the computer is left alone");
            route = Route::FakeInput;
            findings.route = "KWin fake input (org_kde_kwin_fake_input)";
        } else {
            std::string why, portalWhy;
            if (bus.StartRemoteDesktop(why)) {
                route = Route::Gnome;
                findings.route = "GNOME remote desktop (org.gnome.Mutter.RemoteDesktop)";
            } else if (lookingOnly ? bus.PortalAnswers(portalWhy) : bus.StartPortal(portalWhy)) {
                route = Route::Portal;
                findings.route = "RemoteDesktop portal (org.freedesktop.portal.RemoteDesktop)";
            } else if (g.kwin) {
                findings.missing +=
                    "KWin lets only programs named by an installed desktop entry move the pointer.\n"
                    "Install Nudgewick's package, or add a desktop entry with Exec=" +
                    ThisProgram() +
                    "\nand X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input to ~/.local/share/applications.\n"
                    "Nor did the desktop's RemoteDesktop portal help (" +
                    portalWhy + ").\n";
            } else {
                findings.missing +=
                    "The compositor offers no virtual pointer (zwlr_virtual_pointer_manager_v1), no KWin\n"
                    "fake input, no GNOME remote desktop (" +
                    why + "),\nand no RemoteDesktop portal (" + portalWhy + ").\n";
            }
        }
    }

    void ChooseIdleSource() {
        Globals& g = globals;
        if (g.idleNotifier != nullptr && g.seat != nullptr) {
            for (auto& notice : notified.notices) {
                ext_idle_notification_v1_add_listener(
                    ext_idle_notifier_v1_get_idle_notification(g.idleNotifier, notice.delay, g.seat), &kExtIdleListener,
                    &notice);
            }
            idleFrom = IdleFrom::Notifications;
            findings.idle = "ext_idle_notifier_v1";
        } else if (g.kdeIdle != nullptr && g.seat != nullptr) {
            for (auto& notice : notified.notices) {
                org_kde_kwin_idle_timeout_add_listener(
                    org_kde_kwin_idle_get_idle_timeout(g.kdeIdle, g.seat, notice.delay), &kKdeIdleListener, &notice);
            }
            idleFrom = IdleFrom::Notifications;
            findings.idle = "org_kde_kwin_idle";
        } else if (bus.HasIdleMonitor()) {
            idleFrom = IdleFrom::Gnome;
            findings.idle = "GNOME idle monitor (org.gnome.Mutter.IdleMonitor)";
        } else {
            findings.missing +=
                "The compositor tells no idle time (ext_idle_notifier_v1, org_kde_kwin_idle\n"
                "or GNOME's org.gnome.Mutter.IdleMonitor), which tells a user who is away.\n";
        }
    }
};

WaylandDesktop::WaylandDesktop(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
WaylandDesktop::~WaylandDesktop() {
    if (parts_->display != nullptr) Fl::remove_fd(wl_display_get_fd(parts_->display));
}

std::unique_ptr<WaylandDesktop> WaylandDesktop::Connect() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || *name == '\0') return nullptr;
    auto parts = std::make_unique<Parts>();
    parts->findings.display = name;
    parts->display = wl_display_connect(nullptr);
    if (parts->display == nullptr) return nullptr;
    parts->registry = wl_display_get_registry(parts->display);
    wl_registry_add_listener(parts->registry, &kRegistryListener, &parts->globals);
    if (wl_display_roundtrip(parts->display) < 0) return nullptr;
    return std::unique_ptr<WaylandDesktop>(new WaylandDesktop(std::move(parts)));
}

const WaylandFindings& WaylandDesktop::Choose(DbusSessionBus* bus, bool lookingOnly) {
    Parts& p = *parts_;
    if (!p.chosen) {
        p.chosen = true;
        p.bus.Use(bus);
        p.ChooseRoute(lookingOnly);
        p.ChooseIdleSource();
        // The compositor has seen the requests once this returns: a refusal
        // would end the connection here rather than at the first nudge.
        if (wl_display_roundtrip(p.display) < 0) p.Lost();
    }
    return p.findings;
}

void WaylandDesktop::Attach() {
    Fl::add_fd(wl_display_get_fd(parts_->display), FL_READ, Parts::OnReadable, parts_.get());
    parts_->bus.Attach();
}

std::optional<std::string> WaylandDesktop::Reopen() {
    std::string why;
    if (parts_->bus.Restart(why)) return std::nullopt;
    return why;
}

void WaylandDesktop::OnRouteClosed(std::function<void()> closed) { parts_->bus.OnClosed(std::move(closed)); }

void WaylandDesktop::MoveBy(std::int32_t dx, std::int32_t dy) {
    Parts& p = *parts_;
    if (p.route == Route::Gnome || p.route == Route::Portal) {
        p.bus.MoveBy(dx, dy);
        return;
    }
    do {
        const std::int32_t stepX = std::clamp(dx, -kLongestStep, kLongestStep);
        const std::int32_t stepY = std::clamp(dy, -kLongestStep, kLongestStep);
        if (p.route == Route::VirtualPointer) {
            zwlr_virtual_pointer_v1_motion(p.virtualPointer, static_cast<std::uint32_t>(NowMilliseconds()),
                                           wl_fixed_from_int(stepX), wl_fixed_from_int(stepY));
            zwlr_virtual_pointer_v1_frame(p.virtualPointer);
        } else if (p.route == Route::FakeInput) {
            org_kde_kwin_fake_input_pointer_motion(p.globals.fakeInput, wl_fixed_from_int(stepX),
                                                   wl_fixed_from_int(stepY));
        }
        dx -= stepX;
        dy -= stepY;
    } while (dx != 0 || dy != 0);
    if (wl_display_flush(p.display) < 0 && errno != EAGAIN) p.Lost();
}

std::optional<std::int64_t> WaylandDesktop::IdleMilliseconds() {
    Parts& p = *parts_;
    switch (p.idleFrom) {
    case IdleFrom::Notifications:
        p.HandleArrived();
        // Input seems to go on, or a compositor held up by a busy machine
        // owes us the notice that it stopped: the timer for that notice is
        // then overdue and fires in the same turn of the compositor's loop
        // that answers the first round trip, so the second brings it.
        if (!p.notified.Quiet() && (wl_display_roundtrip(p.display) < 0 || wl_display_roundtrip(p.display) < 0)) {
            p.Lost();
        }
        return p.notified.Milliseconds();
    case IdleFrom::Gnome: return p.bus.IdleMilliseconds();
    case IdleFrom::None: break;
    }
    return std::nullopt;
}

}  // namespace nudgewick::linux_desktop
