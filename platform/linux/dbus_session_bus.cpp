#include "platform/linux/dbus_session_bus.h"

#include <FL/Fl.H>
#include <poll.h>
#include <systemd/sd-bus.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "core/clock.h"

namespace nudgewick::linux_desktop {
namespace {

// A flood of calls is served this many messages at a time, the loop's
// timers (the nudges) running in between.
constexpr int kMessagesAtATime = 64;

// Longer than any path the program serves.
constexpr std::size_t kLongestPath = 255;

// Refuses a call to a longer path before sd-bus looks for its handler, which
// it does under each of the path's prefixes in turn: a path of a few thousand
// parts would hold the program up for seconds.
int RefuseLongPath(sd_bus_message* message, void*, sd_bus_error* error) {
    const char* path = sd_bus_message_get_path(message);
    if (path == nullptr || std::strlen(path) <= kLongestPath) return 0;
    if (sd_bus_message_is_method_call(message, nullptr, nullptr) <= 0) return 1;  // nothing of ours sends there
    return sd_bus_error_setf(error, SD_BUS_ERROR_UNKNOWN_OBJECT, "No object at a path of %zu bytes", std::strlen(path));
}

std::string missing = "no session bus";  // the program has one session, and looks for its bus once or twice

}  // namespace

std::unique_ptr<DbusSessionBus> DbusSessionBus::Open() {
    sd_bus* bus = nullptr;
    if (const int result = sd_bus_open_user(&bus); result < 0) {
        missing = std::string("no session bus: ") + std::strerror(-result);
        return nullptr;
    }
    std::unique_ptr<DbusSessionBus> opened(new DbusSessionBus(bus));
    opened->Rearm();
    return opened;
}

std::unique_ptr<DbusSessionBus> DbusSessionBus::OpenSystem() {
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0) return nullptr;
    std::unique_ptr<DbusSessionBus> opened(new DbusSessionBus(bus));
    opened->Rearm();
    return opened;
}

const std::string& DbusSessionBus::Missing() { return missing; }

std::unique_ptr<DbusSessionBus> DbusSessionBus::Connect(const std::string& address) {
    sd_bus* bus = nullptr;
    if (sd_bus_new(&bus) < 0) return nullptr;
    // Trusted, as sd-bus takes the user's session bus: otherwise it would ask
    // the bus for each caller's privileges, waiting, while other calls piled up.
    if (sd_bus_set_address(bus, address.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 ||
        sd_bus_set_trusted(bus, 1) < 0 || sd_bus_start(bus) < 0) {
        sd_bus_unref(bus);
        return nullptr;
    }
    std::unique_ptr<DbusSessionBus> connected(new DbusSessionBus(bus));
    connected->Rearm();
    return connected;
}

DbusSessionBus::DbusSessionBus(sd_bus* bus) : bus_(bus), fd_(sd_bus_get_fd(bus)) {
    sd_bus_add_filter(bus_, nullptr, RefuseLongPath, nullptr);
}

// Sends what is still queued (the answer to the menu's Exit, say) before the
// connection closes.
DbusSessionBus::~DbusSessionBus() {
    Unwatch();
    Fl::remove_timeout(OnDeadline, this);
    sd_bus_flush_close_unref(bus_);
}

void DbusSessionBus::OnReady(int, void* self) { static_cast<DbusSessionBus*>(self)->Process(); }

void DbusSessionBus::OnDeadline(void* self) { static_cast<DbusSessionBus*>(self)->Process(); }

// A callback may open a message box, whose loop would find the socket
// readable again and again while the bus waits for the callback to return:
// the socket is not watched meanwhile.
void DbusSessionBus::Process() {
    if (fd_ < 0 || processing_) return;
    processing_ = true;
    Unwatch();
    Fl::remove_timeout(OnDeadline, this);
    int result = 0;
    for (int n = 0; n < kMessagesAtATime && (result = sd_bus_process(bus_, nullptr)) > 0; ++n) {
    }
    processing_ = false;
    // EBUSY: called from inside a callback of sd-bus's, whose caller goes on processing.
    if (result < 0 && result != -EBUSY) return Lose();
    Rearm();
}

// Watches the socket for what sd-bus waits for (reading always, writing while
// it holds back output), and its earliest deadline, if it has one: none, if
// it holds messages already read.
void DbusSessionBus::Rearm() {
    if (fd_ < 0 || processing_) return;
    const int events = sd_bus_get_events(bus_);
    if (events < 0) return;  // closed: the next Process() notices
    const int wanted = ((events & POLLIN) != 0 ? FL_READ : 0) | ((events & POLLOUT) != 0 ? FL_WRITE : 0);
    if (wanted != watched_) {
        Unwatch();
        if (wanted != 0) Fl::add_fd(fd_, wanted, OnReady, this);
        watched_ = wanted;
    }
    Fl::remove_timeout(OnDeadline, this);
    std::uint64_t deadline = UINT64_MAX;
    if (sd_bus_get_timeout(bus_, &deadline) < 0 || deadline == UINT64_MAX) return;
    const auto now = static_cast<std::uint64_t>(SteadyMicroseconds());  // the clock of sd-bus's deadlines
    Fl::add_timeout(deadline > now ? static_cast<double>(deadline - now) / 1e6 : 0.0, OnDeadline, this);
}

void DbusSessionBus::Unwatch() {
    if (watched_ != 0) Fl::remove_fd(fd_);
    watched_ = 0;
}

// The connection stays allocated until the end, since the users' slots refer
// to it; it is only no longer served.
void DbusSessionBus::Lose() {
    Unwatch();
    Fl::remove_timeout(OnDeadline, this);
    fd_ = -1;
    for (const auto& lost : std::vector(std::move(lost_))) lost();
}

std::string PortalRequestPath(sd_bus* bus, const std::string& token) {
    const char* unique = nullptr;
    sd_bus_get_unique_name(bus, &unique);
    std::string sender = unique != nullptr ? unique + 1 : "";
    std::replace(sender.begin(), sender.end(), '.', '_');
    return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

bool SentByBus(sd_bus_message* signal) {
    const char* sender = sd_bus_message_get_sender(signal);
    return sender != nullptr && std::strcmp(sender, "org.freedesktop.DBus") == 0;
}

}  // namespace nudgewick::linux_desktop
