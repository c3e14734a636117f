#include "platform/x11/wayland_gnome.h"

#include <FL/Fl.H>
#include <systemd/sd-bus.h>

#include <cstdio>
#include <cstdlib>

namespace nudgewick::x11 {
namespace {

constexpr const char* kRemoteDesktop = "org.gnome.Mutter.RemoteDesktop";
constexpr const char* kRemoteDesktopPath = "/org/gnome/Mutter/RemoteDesktop";
constexpr const char* kRemoteSession = "org.gnome.Mutter.RemoteDesktop.Session";
constexpr const char* kIdleMonitor = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kIdleMonitorPath = "/org/gnome/Mutter/IdleMonitor/Core";

// A compositor that does not answer within this holds the whole program up:
// every call here is made and answered within one handler.
constexpr std::uint64_t kCallTimeoutMicroseconds = 2'000'000;

// The bus's error, freed when it goes out of scope.
struct BusError {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~BusError() { sd_bus_error_free(&error); }
    std::string Text(int result) const {
        return error.message != nullptr ? error.message : std::string("error ") + std::to_string(-result);
    }
};

struct Reply {
    sd_bus_message* message = nullptr;
    ~Reply() { sd_bus_message_unref(message); }
};

int OnSessionClosed(sd_bus_message*, void*, sd_bus_error*) {
    std::fputs("nudgewick: GNOME closed the remote desktop session that moved the pointer\n", stderr);
    std::_Exit(1);
}

}  // namespace

GnomeSessionBus::~GnomeSessionBus() {
    if (bus_ != nullptr) {
        Fl::remove_fd(sd_bus_get_fd(bus_));
        sd_bus_flush_close_unref(bus_);
    }
}

bool GnomeSessionBus::Open(std::string& why) {
    if (bus_ != nullptr) return true;
    const int result = sd_bus_open_user(&bus_);
    if (result < 0) {
        bus_ = nullptr;
        why = "no session bus (error " + std::to_string(-result) + ")";
        return false;
    }
    sd_bus_set_method_call_timeout(bus_, kCallTimeoutMicroseconds);
    return true;
}

bool GnomeSessionBus::StartRemoteDesktop(std::string& why) {
    if (!Open(why)) return false;
    BusError error;
    Reply created;
    int result = sd_bus_call_method(bus_, kRemoteDesktop, kRemoteDesktopPath, kRemoteDesktop, "CreateSession",
                                    &error.error, &created.message, "");
    const char* path = nullptr;
    if (result >= 0) result = sd_bus_message_read(created.message, "o", &path);
    if (result < 0) {
        why = "GNOME's remote desktop service: " + error.Text(result);
        return false;
    }
    session_ = path;
    // Matched before the start, so that a close right after it is not missed.
    result = sd_bus_match_signal(bus_, nullptr, kRemoteDesktop, session_.c_str(), kRemoteSession, "Closed",
                                 OnSessionClosed, nullptr);
    if (result >= 0) {
        result = sd_bus_call_method(bus_, kRemoteDesktop, session_.c_str(), kRemoteSession, "Start", &error.error,
                                    nullptr, "");
    }
    if (result < 0) {
        why = "GNOME's remote desktop session did not start: " + error.Text(result);
        session_.clear();
        return false;
    }
    return true;
}

void GnomeSessionBus::MoveBy(std::int32_t dx, std::int32_t dy) {
    BusError error;
    const int result =
        sd_bus_call_method(bus_, kRemoteDesktop, session_.c_str(), kRemoteSession, "NotifyPointerMotionRelative",
                           &error.error, nullptr, "dd", static_cast<double>(dx), static_cast<double>(dy));
    if (result < 0) Lost("GNOME's remote desktop session refused a move: " + error.Text(result));
    HandleQueued();
}

std::optional<std::int64_t> GnomeSessionBus::IdleMilliseconds() {
    std::string why;
    if (!Open(why)) return std::nullopt;
    BusError error;
    Reply reply;
    std::uint64_t idle = 0;
    int result = sd_bus_call_method(bus_, kIdleMonitor, kIdleMonitorPath, kIdleMonitor, "GetIdletime", &error.error,
                                    &reply.message, "");
    if (result >= 0) result = sd_bus_message_read(reply.message, "t", &idle);
    HandleQueued();
    if (result < 0) return std::nullopt;
    return static_cast<std::int64_t>(idle);
}

void GnomeSessionBus::Attach() {
    if (bus_ != nullptr) Fl::add_fd(sd_bus_get_fd(bus_), FL_READ, OnReadable, this);
}

// A call's wait may have read other messages, a signal among them, into the
// queue: the socket then looks quiet though they wait.
void GnomeSessionBus::HandleQueued() {
    int result = 0;
    while ((result = sd_bus_process(bus_, nullptr)) > 0) {
    }
    if (result < 0) Lost("lost the connection to the session bus");
}

void GnomeSessionBus::OnReadable(int, void* self) { static_cast<GnomeSessionBus*>(self)->HandleQueued(); }

void GnomeSessionBus::Lost(const std::string& what) {
    std::fprintf(stderr, "nudgewick: %s\n", what.c_str());
    std::_Exit(1);
}

}  // namespace nudgewick::x11
