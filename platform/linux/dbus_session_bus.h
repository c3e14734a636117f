#pragma once
// The connection to the desktop session's message bus (D-Bus, through
// sd-bus), served by FLTK's event loop: its socket is one more file
// descriptor the loop waits on, and a timer runs only while sd-bus has a
// deadline (a call awaiting its answer). No thread, and nothing happens
// between the program's own events.

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct sd_bus;
struct sd_bus_message;

namespace nudgewick::linux_desktop {

class DbusSessionBus {
public:
    // The session's bus, or nothing where there is none (no desktop session,
    // no D-Bus): the program then does without what needs it.
    static std::unique_ptr<DbusSessionBus> Open();
    // The system's bus (logind, UPower), or nothing where it cannot be reached.
    static std::unique_ptr<DbusSessionBus> OpenSystem();
    // Why the last Open found none, in sd-bus's words: "no session bus: ...".
    static const std::string& Missing();
    // Another bus at ADDRESS (the accessibility bus), served the same way;
    // nothing if it cannot be reached.
    static std::unique_ptr<DbusSessionBus> Connect(const std::string& address);
    ~DbusSessionBus();
    DbusSessionBus(const DbusSessionBus&) = delete;
    DbusSessionBus& operator=(const DbusSessionBus&) = delete;

    sd_bus* Bus() const { return bus_; }
    // Call after sending from outside a bus callback: sd-bus may have kept
    // part of a message back for when the socket takes it, or begun a call
    // whose answer has a deadline. Inside a callback it happens anyway.
    void Rearm();
    // Handles whatever has arrived; for after a blocking call, which reads
    // other messages ahead and leaves them queued.
    void Process();
    // LOST is called once if the bus goes away (the session ends, the daemon
    // dies); each user of the bus may add its own.
    void OnLost(std::function<void()> lost) { lost_.push_back(std::move(lost)); }
    bool Connected() const { return fd_ >= 0; }

private:
    explicit DbusSessionBus(sd_bus* bus);
    static void OnReady(int fd, void* self);
    static void OnDeadline(void* self);
    void Unwatch();
    void Lose();

    sd_bus* bus_;
    int fd_ = -1;
    int watched_ = 0;          // the FLTK events the descriptor is watched for
    bool processing_ = false;  // inside sd_bus_process, maybe in a callback's message box
    std::vector<std::function<void()>> lost_;
};

// xdg-desktop-portal's front, which answers each request by a Response
// signal from a request object: its path follows from the request's token and
// the caller's unique name on BUS.
inline constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
inline constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
std::string PortalRequestPath(sd_bus* bus, const std::string& token);

// Whether the bus itself sent SIGNAL (NameOwnerChanged): any client can send
// a signal straight to the program, and it then matches whatever sender a
// match rule names.
bool SentByBus(sd_bus_message* signal);

}  // namespace nudgewick::linux_desktop
