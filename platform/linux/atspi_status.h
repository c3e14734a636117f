#pragma once
// Whether the desktop wants its programs accessible: AT-SPI's switch,
// org.a11y.Status on the session bus, which a screen reader (Orca) or the
// desktop's settings turn on. Followed as it changes, so that a screen reader
// started after the program is served too; while it is off, nothing but two
// match rules on the session bus, and nothing runs between the program's own
// events.

#include <functional>
#include <string>

#include "platform/linux/dbus_session_bus.h"

struct sd_bus_message;
struct sd_bus_slot;

namespace nudgewick::linux_desktop {

class AtspiStatus {
public:
    // on: accessibility is wanted, and the accessibility bus is at the
    // address given. off: it no longer is, or its bus went away.
    AtspiStatus(DbusSessionBus& bus, std::function<void(const std::string& address)> on, std::function<void()> off);
    ~AtspiStatus();
    AtspiStatus(const AtspiStatus&) = delete;
    AtspiStatus& operator=(const AtspiStatus&) = delete;

private:
    void Ask();
    int OnAnswer(sd_bus_message* reply);
    int OnChanged(sd_bus_message* signal);
    int OnOwner(sd_bus_message* signal);
    int ReadProperties(sd_bus_message* message);
    void Apply();
    int OnAddress(sd_bus_message* reply);

    DbusSessionBus& bus_;
    std::function<void(const std::string&)> on_;
    std::function<void()> off_;
    sd_bus_slot* changes_ = nullptr;
    sd_bus_slot* owner_ = nullptr;
    sd_bus_slot* asking_ = nullptr;   // the switch's properties, while asked for
    sd_bus_slot* finding_ = nullptr;  // the accessibility bus's address, while asked for
    bool isEnabled_ = false;
    bool screenReaderEnabled_ = false;
    bool told_ = false;  // whether on was told last
};

}  // namespace nudgewick::linux_desktop
