#pragma once
// The program's one notification-area icon on Linux: a StatusNotifierItem
// where the desktop runs a watcher (dbus_status_notifier.h), else the XEmbed
// icon in a system tray (x11_tray.h), never both at once.

#include <functional>
#include <memory>
#include <optional>

#include "core/tray.h"
#include "platform/linux/dbus_session_bus.h"
#include "platform/linux/dbus_status_notifier.h"
#include "platform/linux/x11_tray.h"

namespace nudgewick::linux_desktop {

class LinuxNotificationArea : public TrayDisplay {
public:
    // activate: a click on the icon. chosen: the menu entry picked, as it
    // was shown.
    LinuxNotificationArea(std::function<void()> activate, std::function<void(const TrayMenuEntry&)> chosen);
    ~LinuxNotificationArea() override;
    LinuxNotificationArea(const LinuxNotificationArea&) = delete;
    LinuxNotificationArea& operator=(const LinuxNotificationArea&) = delete;

    // Puts the icon up with the last view shown, once: there is none before.
    // bus: the session bus, if there is one.
    void Connect(DbusSessionBus* bus);
    void Show(const TrayView& view) override;
    // A panel shows the icon: through a watcher that took the item, or a
    // tray that took the window.
    bool IconShown() const;
    // Told when the icon came or went, and when a tray that should have
    // taken it over did not within a moment.
    void OnIconChange(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    void OnItemShown(bool shown);
    static void OnDockWaitOver(void* self) { static_cast<LinuxNotificationArea*>(self)->Changed(); }
    void Changed();

    std::function<void()> activate_;
    std::function<void(const TrayMenuEntry&)> chosen_;
    std::optional<TrayView> view_;  // the last one shown before Connect()
    std::unique_ptr<DbusStatusNotifier> item_;
    std::unique_ptr<X11TrayIcon> tray_;  // stands aside while item_ is shown
    std::function<void()> changed_;
};

}  // namespace nudgewick::linux_desktop
