// The end-to-end tests' hands and eyes on a Wayland compositor:
//   wayland_helper observe      a fullscreen window that prints "motion MS X Y" for each pointer motion over it
//                               (MS on the wall clock), after "ready" once it is shown; and "resumed MS" when
//                               the compositor's idle time restarts after a second or more of no input
//   wayland_helper user SECONDS a user moving the pointer up and back down by 5 px every second, through the
//                               same kind of route the program uses (virtual pointer, fake input, GNOME)
#include <poll.h>
#include <sys/mman.h>
#include <systemd/sd-bus.h>
#include <unistd.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

#include "ext-idle-notify-v1-client-protocol.h"
#include "fake-input-client-protocol.h"
#include "idle-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

// On the wall clock, which the test's shell reads too.
long long Now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// For the events a listener must name and the helper does not need.
constexpr auto kIgnore = [](auto...) {};

[[noreturn]] void Die(const char* what) {
    std::fprintf(stderr, "wayland_helper: %s\n", what);
    std::exit(1);
}

struct Client {
    wl_display* display = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    xdg_wm_base* shell = nullptr;
    wl_seat* seat = nullptr;
    wl_pointer* pointer = nullptr;
    zwlr_virtual_pointer_manager_v1* virtualPointers = nullptr;
    org_kde_kwin_fake_input* fakeInput = nullptr;
    ext_idle_notifier_v1* idleNotifier = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
    wl_surface* surface = nullptr;
    int width = 1024, height = 768;
    bool configured = false;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto& c = *static_cast<Client*>(data);
    // The first of each kind, at the version the calls below need.
    const auto bind = [&]<typename T>(T*& slot, const wl_interface& what, std::uint32_t version = 1) {
        if (!slot && std::string_view(interface) == what.name)
            slot = static_cast<T*>(wl_registry_bind(registry, name, &what, version));
    };
    bind(c.compositor, wl_compositor_interface, 4);
    bind(c.shm, wl_shm_interface);
    bind(c.shell, xdg_wm_base_interface);
    bind(c.seat, wl_seat_interface);
    bind(c.virtualPointers, zwlr_virtual_pointer_manager_v1_interface);
    bind(c.fakeInput, org_kde_kwin_fake_input_interface);
    bind(c.idleNotifier, ext_idle_notifier_v1_interface);
    bind(c.kdeIdle, org_kde_kwin_idle_interface);
}
const wl_registry_listener kRegistry{OnGlobal, kIgnore};

Client Connect() {
    Client c;
    c.display = wl_display_connect(nullptr);
    if (!c.display) Die("cannot connect to WAYLAND_DISPLAY");
    wl_registry_add_listener(wl_display_get_registry(c.display), &kRegistry, &c);
    wl_display_roundtrip(c.display);
    return c;
}

// --- observe ---

void Print(const char* what, wl_fixed_t x, wl_fixed_t y) {
    std::printf("%s %lld %d %d\n", what, Now(), wl_fixed_to_int(x), wl_fixed_to_int(y));
}
void OnEnter(void*, wl_pointer*, std::uint32_t, wl_surface*, wl_fixed_t x, wl_fixed_t y) { Print("enter", x, y); }
void OnMotion(void*, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) { Print("motion", x, y); }
// Bound at version 1: the later events never come.
const wl_pointer_listener kPointer{OnEnter, kIgnore, OnMotion, kIgnore, kIgnore,
                                   nullptr, nullptr, nullptr,  nullptr, nullptr};

void OnCapabilities(void* data, wl_seat* seat, std::uint32_t caps) {
    auto& c = *static_cast<Client*>(data);
    if ((caps & WL_SEAT_CAPABILITY_POINTER) && !c.pointer) {
        c.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(c.pointer, &kPointer, &c);
    } else if (!(caps & WL_SEAT_CAPABILITY_POINTER) && c.pointer) {
        wl_pointer_destroy(c.pointer);
        c.pointer = nullptr;
    }
}
const wl_seat_listener kSeat{OnCapabilities, kIgnore};

void OnPing(void*, xdg_wm_base* shell, std::uint32_t serial) { xdg_wm_base_pong(shell, serial); }
const xdg_wm_base_listener kShell{OnPing};

void OnToplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*) {
    auto& c = *static_cast<Client*>(data);
    if (width > 0 && height > 0) c.width = width, c.height = height;
}
void OnToplevelClose(void*, xdg_toplevel*) { std::exit(0); }
const xdg_toplevel_listener kToplevel{OnToplevelConfigure, OnToplevelClose, nullptr, nullptr};

// A grey buffer of the size the compositor asked for.
void Draw(Client& c) {
    const int stride = c.width * 4, size = stride * c.height;
    const int fd = memfd_create("observer", 0);
    if (fd < 0 || ftruncate(fd, size) != 0) Die("no shared memory");
    void* pixels = mmap(nullptr, static_cast<std::size_t>(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    std::memset(pixels, 0x80, static_cast<std::size_t>(size));
    munmap(pixels, static_cast<std::size_t>(size));
    wl_shm_pool* pool = wl_shm_create_pool(c.shm, fd, size);
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, c.width, c.height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_surface_attach(c.surface, buffer, 0, 0);
    wl_surface_damage(c.surface, 0, 0, c.width, c.height);
    wl_surface_commit(c.surface);
}

void OnSurfaceConfigure(void* data, xdg_surface* surface, std::uint32_t serial) {
    auto& c = *static_cast<Client*>(data);
    xdg_surface_ack_configure(surface, serial);
    Draw(c);
    if (!c.configured) std::puts("ready");
    c.configured = true;
}
const xdg_surface_listener kSurface{OnSurfaceConfigure};

// The compositor's idle time, to see that the nudges count as input: it restarts at each.
constexpr std::uint32_t kIdleAfter = 1000;
void Resumed(long long at) { std::printf("resumed %lld\n", at); }
constexpr auto kResumedNow = [](auto...) { Resumed(Now()); };
const ext_idle_notification_v1_listener kExtIdle{kIgnore, kResumedNow};
const org_kde_kwin_idle_timeout_listener kKdeIdle{kIgnore, kResumedNow};

// Mutter's idle monitor, asked five times a second: a reading below the one before means input came.
struct IdleMonitor {
    sd_bus* bus = nullptr;
    std::uint64_t last = 0;
    void Look() {
        sd_bus_message* reply = nullptr;
        std::uint64_t idle = 0;
        if (sd_bus_call_method(bus, "org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
                               "org.gnome.Mutter.IdleMonitor", "GetIdletime", nullptr, &reply, "") < 0 ||
            sd_bus_message_read(reply, "t", &idle) < 0) {
            Die("no idle time from Mutter");
        }
        sd_bus_message_unref(reply);
        if (idle < last && last >= kIdleAfter) Resumed(Now() - static_cast<long long>(idle));
        last = idle;
    }
};

int Observe() {
    Client c = Connect();
    if (!c.compositor || !c.shm || !c.shell || !c.seat) Die("the compositor lacks a global a window needs");
    xdg_wm_base_add_listener(c.shell, &kShell, &c);
    wl_seat_add_listener(c.seat, &kSeat, &c);
    c.surface = wl_compositor_create_surface(c.compositor);
    xdg_surface* shellSurface = xdg_wm_base_get_xdg_surface(c.shell, c.surface);
    xdg_surface_add_listener(shellSurface, &kSurface, &c);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(shellSurface);
    xdg_toplevel_add_listener(toplevel, &kToplevel, &c);
    xdg_toplevel_set_title(toplevel, "observer");
    xdg_toplevel_set_fullscreen(toplevel, nullptr);
    wl_surface_commit(c.surface);
    IdleMonitor monitor;
    if (c.idleNotifier) {
        auto* notification = ext_idle_notifier_v1_get_idle_notification(c.idleNotifier, kIdleAfter, c.seat);
        ext_idle_notification_v1_add_listener(notification, &kExtIdle, nullptr);
    } else if (c.kdeIdle) {
        org_kde_kwin_idle_timeout_add_listener(org_kde_kwin_idle_get_idle_timeout(c.kdeIdle, c.seat, kIdleAfter),
                                               &kKdeIdle, nullptr);
    } else if (sd_bus_open_user(&monitor.bus) < 0) {
        Die("no idle time: neither an idle protocol nor a session bus");
    }
    while (true) {
        while (wl_display_prepare_read(c.display) != 0) wl_display_dispatch_pending(c.display);
        wl_display_flush(c.display);
        pollfd socket{wl_display_get_fd(c.display), POLLIN, 0};
        if (poll(&socket, 1, monitor.bus ? 200 : -1) > 0) {
            if (wl_display_read_events(c.display) < 0) return 1;
        } else {
            wl_display_cancel_read(c.display);
        }
        if (wl_display_dispatch_pending(c.display) < 0) return 1;
        if (monitor.bus) monitor.Look();
    }
}

// --- user ---

// GNOME's remote desktop: a session of our own on the session bus.
struct Gnome {
    static constexpr const char* kService = "org.gnome.Mutter.RemoteDesktop";
    static constexpr const char* kSession = "org.gnome.Mutter.RemoteDesktop.Session";
    sd_bus* bus = nullptr;
    std::string session;
    bool Start() {
        sd_bus_message* reply = nullptr;
        const char* path = nullptr;
        if (sd_bus_open_user(&bus) < 0 ||
            sd_bus_call_method(bus, kService, "/org/gnome/Mutter/RemoteDesktop", kService, "CreateSession", nullptr,
                               &reply, "") < 0 ||
            sd_bus_message_read(reply, "o", &path) < 0) {
            return false;
        }
        session = path;
        sd_bus_message_unref(reply);
        return sd_bus_call_method(bus, kService, session.c_str(), kSession, "Start", nullptr, nullptr, "") >= 0;
    }
    bool MoveBy(double dx, double dy) {
        return sd_bus_call_method(bus, kService, session.c_str(), kSession, "NotifyPointerMotionRelative", nullptr,
                                  nullptr, "dd", dx, dy) >= 0;
    }
};

int User(int seconds) {
    Client c = Connect();
    zwlr_virtual_pointer_v1* virtualPointer = nullptr;
    Gnome gnome;
    if (c.virtualPointers) {
        virtualPointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(c.virtualPointers, c.seat);
    } else if (c.fakeInput) {
        org_kde_kwin_fake_input_authenticate(c.fakeInput, "test user", "plays a user");
    } else if (!gnome.Start()) {
        Die("no way to move the pointer");
    }
    std::puts("ready");
    for (int i = 0; i < seconds; ++i) {
        const int dy = i % 2 ? -5 : 5;
        if (virtualPointer) {
            zwlr_virtual_pointer_v1_motion(virtualPointer, static_cast<std::uint32_t>(Now()), 0, wl_fixed_from_int(dy));
            zwlr_virtual_pointer_v1_frame(virtualPointer);
        } else if (c.fakeInput) {
            org_kde_kwin_fake_input_pointer_motion(c.fakeInput, 0, wl_fixed_from_int(dy));
        } else if (!gnome.MoveBy(0, dy)) {
            Die("GNOME refused a move");
        }
        wl_display_roundtrip(c.display);
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each line reaches the test as it is printed
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "observe") return Observe();
    if (mode == "user" && argc > 2) return User(std::atoi(argv[2]));
    std::fputs("usage: wayland_helper observe | user SECONDS\n", stderr);
    return 2;
}
