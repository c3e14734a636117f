#include "platform/linux/dbus_remote_desktop.h"

#include <FL/Fl.H>
#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstring>

#include "core/catalogue.h"
#include "core/clock.h"
#include "platform/linux/linux_exit.h"

namespace nudgewick::linux_desktop {
namespace {

constexpr const char* kRemoteDesktop = "org.gnome.Mutter.RemoteDesktop";
constexpr const char* kRemoteDesktopPath = "/org/gnome/Mutter/RemoteDesktop";
constexpr const char* kRemoteSession = "org.gnome.Mutter.RemoteDesktop.Session";
constexpr const char* kIdleMonitor = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kIdleMonitorPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* kPortalRemoteDesktop = "org.freedesktop.portal.RemoteDesktop";
constexpr std::uint32_t kPortalPointer = 2;  // the device types' bit for a pointer

// The portal answers each request by a signal; its Start may first ask the
// user, who is given this long.
constexpr std::int64_t kPortalAnswerMicroseconds = 10'000'000;
constexpr std::int64_t kUserAnswerMicroseconds = 300'000'000;

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

[[noreturn]] void Lost() { EndAtOnce(Tr("lost the connection to the session bus")); }

}  // namespace

DbusRemoteDesktop::~DbusRemoteDesktop() { sd_bus_slot_unref(closeMatch_); }

// Nothing once the shared connection is in use, else why it cannot be.
std::optional<std::string> DbusRemoteDesktop::Open() {
    if (bus_ != nullptr) return std::nullopt;
    if (shared_ == nullptr) return DbusSessionBus::Missing();
    if (!shared_->Connected()) return "no session bus";
    bus_ = shared_->Bus();
    sd_bus_set_method_call_timeout(bus_, kCallTimeoutMicroseconds);
    return std::nullopt;
}

std::optional<std::string> DbusRemoteDesktop::StartRemoteDesktop() {
    if (auto why = Open()) return why;
    BusError error;
    Reply created;
    int result = sd_bus_call_method(bus_, kRemoteDesktop, kRemoteDesktopPath, kRemoteDesktop, "CreateSession",
                                    &error.error, &created.message, "");
    const char* path = nullptr;
    if (result >= 0) result = sd_bus_message_read(created.message, "o", &path);
    if (result < 0) return "GNOME's remote desktop service: " + error.Text(result);
    session_ = path;
    // Listened for before the start, so that a close right after it is not missed.
    ListenForClose(kRemoteDesktop, kRemoteSession);
    result =
        sd_bus_call_method(bus_, kRemoteDesktop, session_.c_str(), kRemoteSession, "Start", &error.error, nullptr, "");
    if (result < 0) {
        session_.clear();
        return "GNOME's remote desktop session did not start: " + error.Text(result);
    }
    return std::nullopt;
}

// The portal's answer to one request: its code (0: granted) and the results
// this program reads.
struct DbusRemoteDesktop::Answer {
    bool arrived = false;
    std::uint32_t code = 2;
    std::string session;
    std::uint32_t devices = 0;

    static int OnResponse(sd_bus_message* message, void* self, sd_bus_error*) {
        auto& answer = *static_cast<Answer*>(self);
        answer.arrived = true;
        if (sd_bus_message_read(message, "u", &answer.code) < 0) return 0;
        if (sd_bus_message_enter_container(message, 'a', "{sv}") < 0) return 0;
        while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
            const char* key = nullptr;
            const char* text = nullptr;
            sd_bus_message_read(message, "s", &key);
            if (std::strcmp(key, "session_handle") == 0 && sd_bus_message_read(message, "v", "s", &text) > 0) {
                answer.session = text;
            } else if (std::strcmp(key, "devices") != 0 ||
                       sd_bus_message_read(message, "v", "u", &answer.devices) <= 0) {
                sd_bus_message_skip(message, "v");
            }
            sd_bus_message_exit_container(message);
        }
        return 0;
    }
};

// One request to the RemoteDesktop portal and its answer. The answer comes as
// a signal from a request object whose path is known from the token and our
// name on the bus, so it is listened for before the request is made.
std::optional<std::string> DbusRemoteDesktop::AskPortal(const char* method, const std::string& token, Answer& answer) {
    const std::string request = PortalRequestPath(bus_, token);
    sd_bus_slot* listening = nullptr;
    int result = sd_bus_match_signal(bus_, &listening, kPortal, request.c_str(), "org.freedesktop.portal.Request",
                                     "Response", Answer::OnResponse, &answer);
    sd_bus_message* call = nullptr;
    if (result >= 0)
        result = sd_bus_message_new_method_call(bus_, &call, kPortal, kPortalPath, kPortalRemoteDesktop, method);
    const bool starting = std::strcmp(method, "Start") == 0;
    if (result >= 0 && std::strcmp(method, "CreateSession") == 0) {
        result = sd_bus_message_append(call, "a{sv}", 2, "handle_token", "s", token.c_str(), "session_handle_token",
                                       "s", "nudgewick");
    } else if (result >= 0 && std::strcmp(method, "SelectDevices") == 0) {
        result = sd_bus_message_append(call, "oa{sv}", session_.c_str(), 2, "handle_token", "s", token.c_str(), "types",
                                       "u", kPortalPointer);
    } else if (result >= 0 && starting) {
        result = sd_bus_message_append(call, "osa{sv}", session_.c_str(), "", 1, "handle_token", "s", token.c_str());
    }
    BusError error;
    if (result >= 0) result = sd_bus_call(bus_, call, 0, &error.error, nullptr);
    sd_bus_message_unref(call);
    const std::int64_t deadline =
        SteadyMicroseconds() + (starting ? kUserAnswerMicroseconds : kPortalAnswerMicroseconds);
    while (result >= 0 && !answer.arrived && SteadyMicroseconds() < deadline) {
        result = sd_bus_process(bus_, nullptr);
        const auto left = std::max<std::int64_t>(deadline - SteadyMicroseconds(), 0);
        if (result == 0) result = sd_bus_wait(bus_, static_cast<std::uint64_t>(left));
    }
    sd_bus_slot_unref(listening);
    if (result < 0) return std::string("the RemoteDesktop portal: ") + error.Text(result);
    if (!answer.arrived || answer.code != 0) {
        return std::string("the RemoteDesktop portal ") + (answer.arrived ? "refused" : "did not answer") + " (" +
               method + ")";
    }
    return std::nullopt;
}

// Its version, since its AvailableDeviceTypes is not to be trusted: KDE's
// portal says 0 there and still grants a pointer.
std::optional<std::string> DbusRemoteDesktop::LookForPortal() {
    if (auto why = Open()) return why;
    BusError error;
    std::uint32_t version = 0;
    const int result = sd_bus_get_property_trivial(bus_, kPortal, kPortalPath, kPortalRemoteDesktop, "version",
                                                   &error.error, 'u', &version);
    if (result < 0) return std::string("the RemoteDesktop portal: ") + error.Text(result);
    return std::nullopt;
}

std::optional<std::string> DbusRemoteDesktop::StartPortal() {
    if (auto why = Open()) return why;
    Answer created, selected, started;
    if (auto why = AskPortal("CreateSession", "nudgewick_create", created)) return why;
    session_ = created.session;
    auto why = AskPortal("SelectDevices", "nudgewick_select", selected);
    if (!why) why = AskPortal("Start", "nudgewick_start", started);
    if (!why && (started.devices & kPortalPointer) == 0) why = "the RemoteDesktop portal gave no pointer";
    if (why) {
        session_.clear();
        return why;
    }
    ListenForClose(kPortal, "org.freedesktop.portal.Session");
    portal_ = true;
    return std::nullopt;
}

void DbusRemoteDesktop::MoveBy(std::int32_t dx, std::int32_t dy) {
    BusError error;
    const int result =
        portal_
            ? sd_bus_call_method(bus_, kPortal, kPortalPath, kPortalRemoteDesktop, "NotifyPointerMotion", &error.error,
                                 nullptr, "oa{sv}dd", session_.c_str(), 0, static_cast<double>(dx),
                                 static_cast<double>(dy))
            : sd_bus_call_method(bus_, kRemoteDesktop, session_.c_str(), kRemoteSession, "NotifyPointerMotionRelative",
                                 &error.error, nullptr, "dd", static_cast<double>(dx), static_cast<double>(dy));
    HandleQueued();
    if (result < 0 && !session_.empty()) Closed();
}

// The session's Closed signal. A match on the service's well-known name does
// not hold for a signal that another client addresses to this program, so
// only the name's owner when the session started is believed.
void DbusRemoteDesktop::ListenForClose(const char* service, const char* interface) {
    BusError error;
    Reply reply;
    const char* owner = nullptr;
    int result = sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                    "GetNameOwner", &error.error, &reply.message, "s", service);
    if (result >= 0) result = sd_bus_message_read(reply.message, "s", &owner);
    owner_ = result >= 0 ? owner : "";
    closeMatch_ = sd_bus_slot_unref(closeMatch_);
    const auto onClosed = [](sd_bus_message* signal, void* self, sd_bus_error*) {
        auto& remote = *static_cast<DbusRemoteDesktop*>(self);
        const char* sender = sd_bus_message_get_sender(signal);
        if (sender != nullptr && sender == remote.owner_) remote.Closed();
        return 0;
    };
    sd_bus_match_signal(bus_, &closeMatch_, service, session_.c_str(), interface, "Closed", onClosed, this);
}

// Told from the event loop, not from inside the bus's callback or a tick's
// move: the handlers run one at a time.
void DbusRemoteDesktop::Closed() {
    session_.clear();
    closeMatch_ = sd_bus_slot_unref(closeMatch_);
    Fl::add_timeout(
        0.0,
        [](void* self) {
            const auto& closed = static_cast<DbusRemoteDesktop*>(self)->closed_;
            if (closed) closed();
        },
        this);
}

std::optional<std::int64_t> DbusRemoteDesktop::IdleMilliseconds() {
    if (Open()) return std::nullopt;
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

// Once the bus carries the nudges or the idle time, losing it ends the
// program: its nudges would reach nothing.
void DbusRemoteDesktop::Attach() {
    if (bus_ != nullptr) shared_->OnLost(Lost);
}

// A call's wait may have read other messages, a signal among them, into the
// queue: the socket then looks quiet though they wait.
void DbusRemoteDesktop::HandleQueued() {
    shared_->Process();
    if (!shared_->Connected()) Lost();
}

}  // namespace nudgewick::linux_desktop
