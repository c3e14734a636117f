#pragma once
// The program's icon in the notification area of desktops that host
// StatusNotifierItems (KDE Plasma, GNOME with the AppIndicator extension,
// Xfce, LXQt, waybar...): an object on the session bus that the desktop's
// watcher is told about and its panels draw, with the menu of dbus_menu.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/tray.h"

#include "platform/linux/dbus_menu.h"
#include "platform/linux/dbus_session_bus.h"

namespace nudgewick::linux_desktop {

class DbusStatusNotifier {
public:
    // activate: the panel's click on the icon. chosen: the menu entry picked,
    // as the panel showed it. Registers with the watcher if one runs, and
    // with each that starts later.
    DbusStatusNotifier(DbusSessionBus& bus, std::function<void()> activate,
                       std::function<void(const TrayMenuEntry&)> chosen);
    ~DbusStatusNotifier();
    DbusStatusNotifier(const DbusStatusNotifier&) = delete;
    DbusStatusNotifier& operator=(const DbusStatusNotifier&) = delete;

    // The panels hear of each change.
    void Show(const TrayView& view);

    // A watcher runs on the bus; whether a panel shows the item is Shown().
    bool WatcherFound() const { return watcherFound_; }
    // The watcher took the item, and says that a panel (a host) draws items.
    bool Shown() const { return shown_; }
    // Told Shown() after each answer of a watcher, and when the watcher, its
    // panel or the bus goes away.
    void OnShown(std::function<void(bool shown)> told) { told_ = std::move(told); }

    // The handlers the bus calls.
    int GetProperty(const char* property, sd_bus_message* reply);
    int Activate(sd_bus_message* call);

private:
    void Register();
    int OnRegistered(sd_bus_message* reply);
    void AskForHost();
    int OnHostAnswer(sd_bus_message* reply);
    int OnWatcherOwner(sd_bus_message* signal);
    int OnWatcherSignal(sd_bus_message* signal);
    void SetShown(bool now);
    void Emit(const char* signal);

    DbusSessionBus& bus_;
    std::function<void()> activate_;
    std::function<void(bool)> told_;
    const std::string name_;  // the bus name the watcher knows the item by
    DbusMenu menu_;
    sd_bus_slot* object_ = nullptr;
    sd_bus_slot* ownerMatch_ = nullptr;
    sd_bus_slot* watcherSignals_ = nullptr;
    sd_bus_slot* asking_ = nullptr;  // the call to the watcher, while it awaits its answer
    bool watcherFound_ = false;
    bool registered_ = false;  // with the watcher that runs
    bool shown_ = false;
    bool running_ = true;
    std::string tooltip_;
    std::vector<unsigned char> pixmaps_[2];  // per look, stopped and running: the sizes one after another
};

}  // namespace nudgewick::linux_desktop
