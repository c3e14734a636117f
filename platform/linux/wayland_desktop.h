#pragma once
#include <functional>
#include <memory>
#include <string>

#include "core/controls.h"
#include "core/nudge.h"
#include "platform/linux/dbus_session_bus.h"

namespace nudgewick::linux_desktop {

// What a Wayland session offers this program, as --check reports it.
struct WaylandFindings {
    std::string display;  // the Wayland display's name
    std::string route;    // how the pointer is moved; empty when there is no way
    std::string idle;     // where the idle time comes from; empty when nowhere
    std::string missing;  // for an empty route or idle source: what is missing and how to fix it, in lines
    bool CanNudge() const { return !route.empty() && !idle.empty(); }
};

// The compositor of a Wayland session, where XTEST moves reach only Xwayland
// and keep nothing awake. The nudges go to the compositor itself, through the
// first of these it offers: wlroots' virtual pointer, KWin's fake input, GNOME
// Mutter's remote desktop service on the session bus, the RemoteDesktop portal.
// "Still" comes from its idle time: ext_idle_notifier_v1, else KDE's idle
// protocol, else Mutter's idle monitor. No client may read the pointer's
// position here.
class WaylandDesktop final : public Pointer, public IdleSource {
public:
    // Connects to the compositor WAYLAND_DISPLAY names; nothing when it names
    // none or nothing answers there, and the session is then not a Wayland one.
    static std::unique_ptr<WaylandDesktop> Connect();
    ~WaylandDesktop() override;
    WaylandDesktop(const WaylandDesktop&) = delete;
    WaylandDesktop& operator=(const WaylandDesktop&) = delete;

    // Picks the route and the idle source, once; a route may be set up then (a
    // virtual pointer, a remote desktop session) and lives as long as this.
    // Looking only (--check), the portal is only asked whether it is there: a
    // session started by GNOME's would ask the user.
    // bus: the program's connection to the session bus, if any, for GNOME's
    // services and the portal.
    const WaylandFindings& Choose(DbusSessionBus* bus, bool lookingOnly = false);
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
