#include "platform/linux/dbus_session_bus.h"

#include <FL/Fl.H>
#include <poll.h>
#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdint>

#include "core/clock.h"

namespace nudgewick::linux_desktop {

std::unique_ptr<DbusSessionBus> DbusSessionBus::Open() {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) return nullptr;
    std::unique_ptr<DbusSessionBus> opened(new DbusSessionBus(bus));
    opened->Rearm();
    return opened;
}

std::unique_ptr<DbusSessionBus> DbusSessionBus::Connect(const std::string& address) {
    sd_bus* bus = nullptr;
    if (sd_bus_new(&bus) < 0) return nullptr;
    if (sd_bus_set_address(bus, address.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 || sd_bus_start(bus) < 0) {
        sd_bus_unref(bus);
        return nullptr;
    }
    std::unique_ptr<DbusSessionBus> connected(new DbusSessionBus(bus));
    connected->Rearm();
    return connected;
}

DbusSessionBus::DbusSessionBus(sd_bus* bus) : bus_(bus), fd_(sd_bus_get_fd(bus)) {}

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
    while ((result = sd_bus_process(bus_, nullptr)) > 0) {
    }
    processing_ = false;
    // EBUSY: called from inside a callback of sd-bus's, whose caller goes on processing.
    if (result < 0 && result != -EBUSY) return Lose();
    Rearm();
}

// Watches the socket for what sd-bus waits for (reading always, writing while
// it holds back output), and its earliest deadline, if it has one.
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

}  // namespace nudgewick::linux_desktop
