#pragma once
// Whether the screen is locked and what powers the computer, as the desktop's
// services say: logind's session and UPower on the system bus, the screen
// savers' interfaces on the session bus, xscreensaver on the root window.
// Each service is asked once when it appears and followed through its
// signals, which wake the loop once per change, and xscreensaver through the
// root window's property changes. A service that is absent or gone says "not
// locked, mains".

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/controls.h"
#include "platform/linux/dbus_session_bus.h"
#include "platform/linux/x11_screensaver.h"

namespace nudgewick::linux_desktop {

class BusValue;

class DbusDesktopWatch final : public DesktopWatch {
public:
    // changed: a service told of a change, or went away.
    explicit DbusDesktopWatch(std::function<void()> changed);
    ~DbusDesktopWatch() override;
    DbusDesktopWatch(const DbusDesktopWatch&) = delete;
    DbusDesktopWatch& operator=(const DbusDesktopWatch&) = delete;

    // session: the session's bus, if there is one. The system bus is opened
    // only for --battery, or where logind runs.
    void Connect(DbusSessionBus* session, bool battery);
    DesktopState Look() override;
    // For --check: waits up to a second for the services' first answers.
    void Settle();
    // The lock's sources that answered, as --check names them.
    std::string LockSources();

private:
    std::function<void()> changed_;
    std::unique_ptr<DbusSessionBus> system_;
    DbusSessionBus* session_ = nullptr;
    std::vector<std::unique_ptr<BusValue>> locks_;  // logind's first, where asked
    std::unique_ptr<BusValue> onBattery_, charge_;
    std::unique_ptr<X11Screensaver> xscreensaver_;
};

}  // namespace nudgewick::linux_desktop
