#include "platform/linux/wayland_desktop.h"

#include <FL/Fl.H>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "core/catalogue.h"
#include "core/clock.h"
#include "ext-idle-notify-v1-client-protocol.h"
#include "fake-input-client-protocol.h"
#include "idle-client-protocol.h"
#include "platform/linux/dbus_remote_desktop.h"
#include "platform/linux/linux_desktop_entries.h"
#include "platform/linux/linux_exit.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace nudgewick::linux_desktop {
namespace {

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

// One of the compositor's idle notices, as its listener hears it.
struct IdleNotice {
    NotifiedIdle* idle;
    std::size_t which;  // its delay's place in kIdleNoticeDelays

    static void Idled(void* self) {
        const auto& notice = *static_cast<IdleNotice*>(self);
        notice.idle->Idled(notice.which, SystemClock().SteadyMilliseconds());
    }
    static void Resumed(void* self) {
        const auto& notice = *static_cast<IdleNotice*>(self);
        notice.idle->Resumed(notice.which);
    }
};

constexpr ext_idle_notification_v1_listener kExtIdleListener{
    [](void* self, ext_idle_notification_v1*) { IdleNotice::Idled(self); },
    [](void* self, ext_idle_notification_v1*) { IdleNotice::Resumed(self); }};
constexpr org_kde_kwin_idle_timeout_listener kKdeIdleListener{
    [](void* self, org_kde_kwin_idle_timeout*) { IdleNotice::Idled(self); },
    [](void* self, org_kde_kwin_idle_timeout*) { IdleNotice::Resumed(self); }};

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
    std::string displayName;
    std::optional<WaylandChoice> choice;
    zwlr_virtual_pointer_v1* virtualPointer = nullptr;
    NotifiedIdle notified;
    std::array<IdleNotice, kIdleNoticeDelays.size()> notices;
    DbusRemoteDesktop bus;  // opened only where the compositor itself offers no route or idle source

    Parts() {
        for (std::size_t i = 0; i < notices.size(); ++i) notices[i] = {&notified, i};
    }
    ~Parts() {
        if (display != nullptr) wl_display_disconnect(display);
    }

    [[noreturn]] void Lost() const {
        EndAtOnce(Format(Tr("lost the connection to the Wayland display %1"), {displayName}));
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

    CompositorGlobals Offered() const {
        return {.seat = globals.seat != nullptr,
                .virtualPointer = globals.virtualPointers != nullptr,
                .fakeInput = globals.fakeInput != nullptr,
                .extIdleNotifier = globals.idleNotifier != nullptr,
                .kdeIdle = globals.kdeIdle != nullptr,
                .kwin = globals.kwin};
    }

    // The compositor's own routes; the bus's started as they were chosen.
    void SetUpRoute(WaylandRoute route) {
        if (route == WaylandRoute::VirtualPointer) {
            // The seat has a pointer only while a virtual one exists when no
            // mouse is plugged in: this one stays for the program's life.
            virtualPointer =
                zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.virtualPointers, globals.seat);
        } else if (route == WaylandRoute::FakeInput) {
            // KWin offers the global only to programs its desktop entries
            // allow: its presence is the permission.
            org_kde_kwin_fake_input_authenticate(globals.fakeInput, "Nudgewick",
                                                 "Nudges the pointer while the computer is left alone");
        }
    }

    void ListenForIdle(IdleFrom idle) {
        for (IdleNotice& notice : notices) {
            const auto delay = static_cast<std::uint32_t>(kIdleNoticeDelays[notice.which]);
            if (idle == IdleFrom::ExtIdleNotifier) {
                ext_idle_notification_v1_add_listener(
                    ext_idle_notifier_v1_get_idle_notification(globals.idleNotifier, delay, globals.seat),
                    &kExtIdleListener, &notice);
            } else if (idle == IdleFrom::KdeIdle) {
                org_kde_kwin_idle_timeout_add_listener(
                    org_kde_kwin_idle_get_idle_timeout(globals.kdeIdle, globals.seat, delay), &kKdeIdleListener,
                    &notice);
            }
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
    parts->displayName = name;
    parts->display = wl_display_connect(nullptr);
    if (parts->display == nullptr) return nullptr;
    parts->registry = wl_display_get_registry(parts->display);
    wl_registry_add_listener(parts->registry, &kRegistryListener, &parts->globals);
    if (wl_display_roundtrip(parts->display) < 0) return nullptr;
    return std::unique_ptr<WaylandDesktop>(new WaylandDesktop(std::move(parts)));
}

const WaylandChoice& WaylandDesktop::Choose(DbusSessionBus* bus, bool lookingOnly) {
    Parts& p = *parts_;
    if (!p.choice) {
        p.bus.Use(bus);
        const CompositorGlobals offered = p.Offered();
        ProgramEntry program{.path = ThisProgram()};
        if (offered.kwin && !offered.fakeInput) {
            program.desktopEntry = FakeInputEntryFor(program.path);
            if (const char* prefix = std::getenv("XDG_MENU_PREFIX")) program.menuPrefix = prefix;
        }
        p.choice = ChooseWaylandWays(offered, p.bus, lookingOnly, program);
        p.SetUpRoute(p.choice->route);
        p.ListenForIdle(p.choice->idle);
        // The compositor has seen the requests once this returns: a refusal
        // would end the connection here rather than at the first nudge.
        if (wl_display_roundtrip(p.display) < 0) p.Lost();
    }
    return *p.choice;
}

const std::string& WaylandDesktop::DisplayName() const { return parts_->displayName; }

void WaylandDesktop::Attach() {
    Fl::add_fd(wl_display_get_fd(parts_->display), FL_READ, Parts::OnReadable, parts_.get());
    parts_->bus.Attach();
}

std::optional<std::string> WaylandDesktop::Reopen() { return parts_->bus.Restart(); }

void WaylandDesktop::OnRouteClosed(std::function<void()> closed) { parts_->bus.OnClosed(std::move(closed)); }

void WaylandDesktop::MoveBy(std::int32_t dx, std::int32_t dy) {
    Parts& p = *parts_;
    const WaylandRoute route = p.choice ? p.choice->route : WaylandRoute::Missing;
    if (route == WaylandRoute::GnomeRemoteDesktop || route == WaylandRoute::Portal) {
        p.bus.MoveBy(dx, dy);
        return;
    }
    do {
        const std::int32_t stepX = std::clamp(dx, -kLongestStep, kLongestStep);
        const std::int32_t stepY = std::clamp(dy, -kLongestStep, kLongestStep);
        if (route == WaylandRoute::VirtualPointer) {
            zwlr_virtual_pointer_v1_motion(p.virtualPointer,
                                           static_cast<std::uint32_t>(SystemClock().SteadyMilliseconds()),
                                           wl_fixed_from_int(stepX), wl_fixed_from_int(stepY));
            zwlr_virtual_pointer_v1_frame(p.virtualPointer);
        } else if (route == WaylandRoute::FakeInput) {
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
    switch (p.choice ? p.choice->idle : IdleFrom::Nowhere) {
    case IdleFrom::ExtIdleNotifier:
    case IdleFrom::KdeIdle:
        p.HandleArrived();
        // Input seems to go on, or a compositor held up by a busy machine
        // owes us the notice that it stopped: the timer for that notice is
        // then overdue and fires in the same turn of the compositor's loop
        // that answers the first round trip, so the second brings it.
        if (!p.notified.Quiet() && (wl_display_roundtrip(p.display) < 0 || wl_display_roundtrip(p.display) < 0)) {
            p.Lost();
        }
        return p.notified.Milliseconds(SystemClock().SteadyMilliseconds());
    case IdleFrom::GnomeIdleMonitor: return p.bus.IdleMilliseconds();
    case IdleFrom::Nowhere: break;
    }
    return std::nullopt;
}

}  // namespace nudgewick::linux_desktop
