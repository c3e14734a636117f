#pragma once
// The --hotkey combination in a Wayland session, as one of the desktop's
// shortcuts: the GlobalShortcuts portal of xdg-desktop-portal binds it for the
// program (the desktop may ask the user first, or let them pick other keys)
// and tells each press by a signal on the session bus the program already
// serves. Only the portal's current owner is heeded: any client can send a
// signal straight to the program, and a match on the portal's well-known name
// lets it through.

#include <cstdint>
#include <functional>
#include <string>

#include "core/hotkey.h"
#include "platform/linux/dbus_session_bus.h"

struct sd_bus_slot;

namespace nudgewick::linux_desktop {

class DbusGlobalShortcuts {
public:
    using Answer = std::function<void(const HotkeyOutcome&)>;
    // Asks the portal at once. answered: what came of it, from the event loop
    // once the portal has answered (a portal that lacks GlobalShortcuts
    // answers at once), and again when the desktop changes or drops the
    // shortcut. pressed: at each press.
    DbusGlobalShortcuts(DbusSessionBus& bus, const Hotkey& hotkey, std::function<void()> pressed, Answer answered);
    // Ends the portal's session, which drops the shortcut.
    ~DbusGlobalShortcuts();
    DbusGlobalShortcuts(const DbusGlobalShortcuts&) = delete;
    DbusGlobalShortcuts& operator=(const DbusGlobalShortcuts&) = delete;

    // For --check: whether the session's portal offers global shortcuts.
    static bool Offered(DbusSessionBus* bus);

private:
    enum class Step { Creating, Binding, Bound, Over };
    void Ask(const char* method);
    int OnCalled(sd_bus_message* reply);
    int OnResponse(sd_bus_message* signal);
    int OnActivated(sd_bus_message* signal);
    int OnShortcutsChanged(sd_bus_message* signal);
    int OnGone(sd_bus_message* signal);
    bool FromPortal(sd_bus_message* signal) const;
    void Refuse(const std::string& why);

    DbusSessionBus& bus_;
    std::string trigger_;  // the preferred one, in the desktop's notation
    std::function<void()> pressed_;
    Answer answered_;
    Step step_ = Step::Creating;
    std::string owner_;    // the portal's unique name, from its first answer
    std::string session_;  // the portal's session, once created
    sd_bus_slot* calling_ = nullptr;
    sd_bus_slot* responseMatch_ = nullptr;
    sd_bus_slot* activatedMatch_ = nullptr;
    sd_bus_slot* changedMatch_ = nullptr;
    sd_bus_slot* ownerMatch_ = nullptr;
    sd_bus_slot* closedMatch_ = nullptr;
};

}  // namespace nudgewick::linux_desktop
