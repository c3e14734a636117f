#pragma once
#include <functional>
#include <memory>
#include <string>

#include "core/controls.h"
#include "core/wayland_session.h"
#include "platform/linux/dbus_session_bus.h"

namespace nudgewick::linux_desktop {

// The compositor of a Wayland session, where moves made through X reach only
// Xwayland and keep nothing awake. The nudges go to the compositor itself by
// the route the core chooses (wayland_session.h), and "still" comes from its
// idle time. No client may read the pointer's position here.
class WaylandDesktop final : public Pointer, public IdleSource {
public:
    // Connects to the compositor WAYLAND_DISPLAY names; nothing when it names
    // none or nothing answers there, and the session is then not a Wayland one.
    static std::unique_ptr<WaylandDesktop> Connect();
    ~WaylandDesktop() override;
    WaylandDesktop(const WaylandDesktop&) = delete;
    WaylandDesktop& operator=(const WaylandDesktop&) = delete;

    // Picks the route and the idle source, once, and sets them up (a virtual
    // pointer, a remote desktop session) for as long as this lives; looking
    // only (--check), nothing that would ask the user. bus: the program's
    // connection to the session bus, if any, for GNOME's services and the
    // portal.
    const WaylandChoice& Choose(DbusSessionBus* bus, bool lookingOnly = false);
    // The Wayland display's name.
    const std::string& DisplayName() const;
    // Hands the connections to FLTK's event loop: from then on the
    // compositor's events are handled as they come, and a lost connection
    // ends the program, since its nudges would reach nothing.
    void Attach();

    std::optional<Point> Read() override { return std::nullopt; }
    void MoveBy(std::int32_t dx, std::int32_t dy) override;
    std::optional<std::string> Reopen() override;
    // closed: the desktop ended the remote desktop session that carried the
    // nudges; Reopen asks for a new one.
    void OnRouteClosed(std::function<void()> closed);
    std::optional<std::int64_t> IdleMilliseconds() override;

private:
    struct Parts;
    explicit WaylandDesktop(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> parts_;
};

}  // namespace nudgewick::linux_desktop
