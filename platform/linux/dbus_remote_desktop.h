#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/wayland_session.h"
#include "platform/linux/dbus_session_bus.h"

struct sd_bus;
struct sd_bus_message;
struct sd_bus_slot;

namespace nudgewick::linux_desktop {

// What the session bus offers a Wayland client: GNOME Mutter's remote desktop
// service, whose sessions send input as a device of their own without asking
// the user, and its idle monitor; and the desktop's RemoteDesktop portal
// (KDE's grants pointer input without asking; GNOME's asks at every start). A
// remote desktop session belongs to the bus connection that created it, so
// this one connection lives as long as the program.
class DbusRemoteDesktop final : public SessionServices {
public:
    DbusRemoteDesktop() = default;
    ~DbusRemoteDesktop();
    // The program's one connection to the session bus, which the
    // notification area's icon uses too; none where there is no bus.
    void Use(DbusSessionBus* shared) { shared_ = shared; }
    DbusRemoteDesktop(const DbusRemoteDesktop&) = delete;
    DbusRemoteDesktop& operator=(const DbusRemoteDesktop&) = delete;

    std::optional<std::string> StartRemoteDesktop() override;
    // For the pointer only. Waits for the portal's answers, which may come
    // from the user.
    std::optional<std::string> StartPortal() override;
    std::optional<std::string> LookForPortal() override;
    bool HasIdleMonitor() override { return IdleMilliseconds().has_value(); }

    // Relative, as a mouse moves. A move the session refuses counts as the
    // session's end.
    void MoveBy(std::int32_t dx, std::int32_t dy);
    // closed: the desktop ended the session (GNOME's indicator has a button
    // for it), or it refused a move. Start again with Restart.
    void OnClosed(std::function<void()> closed) { closed_ = std::move(closed); }
    // A new session of the kind that ended: nothing once it started, else why not.
    std::optional<std::string> Restart() { return portal_ ? StartPortal() : StartRemoteDesktop(); }
    // Milliseconds since the last input, asked at each call.
    std::optional<std::int64_t> IdleMilliseconds();

    // From now on a lost bus ends the program.
    void Attach();

private:
    std::optional<std::string> Open();
    struct Answer;
    std::optional<std::string> AskPortal(const char* method, const std::string& token, Answer& answer);
    void HandleQueued();
    void ListenForClose(const char* service, const char* interface);
    void Closed();

    DbusSessionBus* shared_ = nullptr;
    sd_bus* bus_ = nullptr;  // the shared connection's, once this uses it
    std::string session_;    // the remote desktop session's object path, while it lives
    std::string owner_;      // the unique bus name of the service that runs it
    sd_bus_slot* closeMatch_ = nullptr;
    bool portal_ = false;  // the session is the portal's
    std::function<void()> closed_;
};

}  // namespace nudgewick::linux_desktop
