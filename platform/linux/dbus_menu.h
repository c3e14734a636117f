#pragma once
// The notification-area icon's menu as the desktop's panel asks for it over
// the session bus (com.canonical.dbusmenu, the menu a StatusNotifierItem
// names): a flat list of entries, each with its label.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/tray.h"

struct sd_bus;
struct sd_bus_message;
struct sd_bus_slot;

namespace nudgewick::linux_desktop {

class DbusMenu {
public:
    // Serves the menu at PATH. chosen: the entry clicked, as the panel last
    // fetched it.
    DbusMenu(sd_bus* bus, const char* path, std::function<void(const TrayMenuEntry&)> chosen);
    ~DbusMenu();
    DbusMenu(const DbusMenu&) = delete;
    DbusMenu& operator=(const DbusMenu&) = delete;

    // The entries; a change is announced, and the panel asks again.
    void SetEntries(const std::vector<TrayMenuEntry>& entries);

    // The handlers the bus calls.
    int GetLayout(sd_bus_message* call);
    int GetGroupProperties(sd_bus_message* call);
    int GetProperty(sd_bus_message* call);
    int Event(sd_bus_message* call);
    int EventGroup(sd_bus_message* call);

private:
    int AppendItem(sd_bus_message* reply, int id, const std::vector<std::string>& names, int depth);
    std::vector<const char*> PropertyNames(int id) const;
    int AppendValue(sd_bus_message* reply, int id, std::string_view name) const;
    int AppendProperties(sd_bus_message* reply, int id, const std::vector<std::string>& names);
    void Clicked(int id);
    bool Known(int id) const { return id >= 0 && id <= static_cast<int>(entries_.size()); }

    sd_bus* bus_;
    const char* path_;
    std::function<void(const TrayMenuEntry&)> chosen_;
    sd_bus_slot* slot_ = nullptr;
    std::vector<TrayMenuEntry> entries_;
    // As the panel last fetched them: a click acts on what the entry said then.
    std::vector<TrayMenuEntry> shown_;
    std::uint32_t revision_ = 1;
};

}  // namespace nudgewick::linux_desktop
