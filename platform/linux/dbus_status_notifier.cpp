#include "platform/linux/dbus_status_notifier.h"

#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/linux/linux_tray_image.h"

namespace nudgewick::linux_desktop {
namespace {

constexpr const char* kInterface = "org.kde.StatusNotifierItem";
constexpr const char* kItemPath = "/StatusNotifierItem";  // where watchers look for an item known by its bus name
constexpr const char* kMenuPath = "/MenuBar";
constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr std::uint64_t kOwnerQueryMicroseconds = 2000000;
constexpr std::array kSides = {16, 22, 24, 32, 48};  // the panels' usual sizes; they scale the nearest

DbusStatusNotifier& Item(void* self) { return *static_cast<DbusStatusNotifier*>(self); }

// The look at each side, as the panels take pixels: ARGB with straight (not
// premultiplied) colours, each pixel's bytes from alpha to blue.
std::vector<unsigned char> LookBytes(bool running) {
    std::vector<unsigned char> bytes;
    for (const int side : kSides) {
        for (const std::uint32_t pixel : TrayLook(running, side)) {
            const unsigned alpha = pixel >> 24;
            bytes.push_back(static_cast<unsigned char>(alpha));
            for (const int shift : {16, 8, 0}) {
                const unsigned premultiplied = (pixel >> shift) & 0xffu;
                bytes.push_back(static_cast<unsigned char>(
                    alpha == 0 ? 0 : std::min(255u, (premultiplied * 255 + alpha / 2) / alpha)));
            }
        }
    }
    return bytes;
}

int AppendPixmaps(sd_bus_message* reply, const std::vector<unsigned char>& bytes) {
    int result = sd_bus_message_open_container(reply, 'a', "(iiay)");
    std::size_t offset = 0;
    for (const int side : kSides) {
        const auto size = static_cast<std::size_t>(side * side * 4);
        if (result >= 0) result = sd_bus_message_open_container(reply, 'r', "iiay");
        if (result >= 0) result = sd_bus_message_append(reply, "ii", side, side);
        if (result >= 0) result = sd_bus_message_append_array(reply, 'y', bytes.data() + offset, size);
        if (result >= 0) result = sd_bus_message_close_container(reply);
        offset += size;
    }
    if (result >= 0) result = sd_bus_message_close_container(reply);
    return result;
}

int GetProperty(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply, void* self,
                sd_bus_error*) {
    return Item(self).GetProperty(property, reply);
}

#define NUDGEWICK_ITEM_PROPERTY(name, signature) \
    SD_BUS_PROPERTY(name, signature, GetProperty, 0, SD_BUS_VTABLE_PROPERTY_EMITS_INVALIDATION)

int Ignore(sd_bus_message* call, void*, sd_bus_error*) { return sd_bus_reply_method_return(call, ""); }

const sd_bus_vtable kVtable[] = {
    SD_BUS_VTABLE_START(0),
    NUDGEWICK_ITEM_PROPERTY("Category", "s"),
    NUDGEWICK_ITEM_PROPERTY("Id", "s"),
    NUDGEWICK_ITEM_PROPERTY("Title", "s"),
    NUDGEWICK_ITEM_PROPERTY("Status", "s"),
    NUDGEWICK_ITEM_PROPERTY("WindowId", "i"),
    NUDGEWICK_ITEM_PROPERTY("IconThemePath", "s"),
    NUDGEWICK_ITEM_PROPERTY("IconName", "s"),
    NUDGEWICK_ITEM_PROPERTY("IconPixmap", "a(iiay)"),
    NUDGEWICK_ITEM_PROPERTY("OverlayIconName", "s"),
    NUDGEWICK_ITEM_PROPERTY("OverlayIconPixmap", "a(iiay)"),
    NUDGEWICK_ITEM_PROPERTY("AttentionIconName", "s"),
    NUDGEWICK_ITEM_PROPERTY("AttentionIconPixmap", "a(iiay)"),
    NUDGEWICK_ITEM_PROPERTY("AttentionMovieName", "s"),
    NUDGEWICK_ITEM_PROPERTY("ToolTip", "(sa(iiay)ss)"),
    NUDGEWICK_ITEM_PROPERTY("ItemIsMenu", "b"),
    NUDGEWICK_ITEM_PROPERTY("Menu", "o"),
    SD_BUS_METHOD(
        "Activate", "ii", "", [](sd_bus_message* call, void* self, sd_bus_error*) { return Item(self).Activate(call); },
        0),
    SD_BUS_METHOD("SecondaryActivate", "ii", "", Ignore, 0),
    SD_BUS_METHOD("ContextMenu", "ii", "", Ignore, 0),  // the panels that call it have the menu
    SD_BUS_METHOD("Scroll", "is", "", Ignore, 0),
    SD_BUS_SIGNAL("NewTitle", "", 0),
    SD_BUS_SIGNAL("NewIcon", "", 0),
    SD_BUS_SIGNAL("NewAttentionIcon", "", 0),
    SD_BUS_SIGNAL("NewOverlayIcon", "", 0),
    SD_BUS_SIGNAL("NewToolTip", "", 0),
    SD_BUS_SIGNAL("NewStatus", "s", 0),
    SD_BUS_VTABLE_END};

#undef NUDGEWICK_ITEM_PROPERTY

}  // namespace

// The bus name watchers conventionally expect: one per process and item.
DbusStatusNotifier::DbusStatusNotifier(DbusSessionBus& bus, std::function<void()> activate,
                                       std::function<void(const TrayMenuEntry&)> chosen)
    : bus_(bus),
      activate_(std::move(activate)),
      name_("org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-1"),
      menu_(bus.Bus(), kMenuPath, std::move(chosen)) {
    sd_bus* const connection = bus_.Bus();
    sd_bus_add_object_vtable(connection, &object_, kItemPath, kInterface, kVtable, this);
    const std::string watcherOwner = std::string("type='signal',sender='org.freedesktop.DBus',") +
                                     "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='" + kWatcher +
                                     "'";
    sd_bus_add_match_async(
        connection, &ownerMatch_, watcherOwner.c_str(),
        [](sd_bus_message* signal, void* self, sd_bus_error*) { return Item(self).OnWatcherOwner(signal); }, nullptr,
        this);
    sd_bus_match_signal_async(
        connection, &watcherSignals_, kWatcher, "/StatusNotifierWatcher", kWatcher, nullptr,
        [](sd_bus_message* signal, void* self, sd_bus_error*) { return Item(self).OnWatcherSignal(signal); }, nullptr,
        this);
    sd_bus_request_name_async(connection, nullptr, name_.c_str(), 0, nullptr, nullptr);
    // Whether a watcher runs now: the one blocking call, so that --minimized
    // knows at once whether to wait for a panel; the bus itself answers. It
    // answers in order, so a watcher that starts after this answer is heard
    // of through the match above.
    sd_bus_message *call = nullptr, *reply = nullptr;
    int found = 0;
    if (sd_bus_message_new_method_call(connection, &call, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "NameHasOwner") >= 0 &&
        sd_bus_message_append(call, "s", kWatcher) >= 0 &&
        sd_bus_call(connection, call, kOwnerQueryMicroseconds, nullptr, &reply) >= 0 &&
        sd_bus_message_read(reply, "b", &found) >= 0 && found != 0) {
        watcherFound_ = true;
        Register();
    }
    sd_bus_message_unref(reply);
    sd_bus_message_unref(call);
    bus_.OnLost([this] {
        watcherFound_ = registered_ = false;
        SetShown(false);
    });
    bus_.Process();
}

DbusStatusNotifier::~DbusStatusNotifier() {
    told_ = nullptr;
    sd_bus_slot_unref(asking_);
    sd_bus_slot_unref(watcherSignals_);
    sd_bus_slot_unref(ownerMatch_);
    sd_bus_slot_unref(object_);
}

void DbusStatusNotifier::Show(const TrayView& view) {
    if (view.running != running_) {
        running_ = view.running;
        Emit("NewIcon");
    }
    if (view.tooltip != tooltip_) {
        tooltip_ = view.tooltip;
        Emit("NewToolTip");
    }
    menu_.SetEntries(view.menu);
    bus_.Rearm();
}

void DbusStatusNotifier::Emit(const char* signal) { sd_bus_emit_signal(bus_.Bus(), kItemPath, kInterface, signal, ""); }

// The installed icon names the running look; while stopped there is no name,
// so that the panels draw the greyed pixels. Status stays Active: a passive
// item is hidden by several panels, and a stopped Nudgewick must stay within
// reach to be started again.
int DbusStatusNotifier::GetProperty(const char* property, sd_bus_message* reply) {
    const auto is = [property](const char* name) { return std::strcmp(property, name) == 0; };
    if (is("Category")) return sd_bus_message_append(reply, "s", "ApplicationStatus");
    if (is("Id")) return sd_bus_message_append(reply, "s", "nudgewick");
    if (is("Title")) return sd_bus_message_append(reply, "s", "Nudgewick");
    if (is("Status")) return sd_bus_message_append(reply, "s", "Active");
    if (is("WindowId")) return sd_bus_message_append(reply, "i", 0);
    if (is("IconName")) return sd_bus_message_append(reply, "s", running_ ? NUDGEWICK_ICON_NAME : "");
    if (is("IconPixmap")) {
        std::vector<unsigned char>& look = pixmaps_[running_ ? 1 : 0];
        if (look.empty()) look = LookBytes(running_);
        return AppendPixmaps(reply, look);
    }
    if (is("OverlayIconPixmap") || is("AttentionIconPixmap")) return sd_bus_message_append(reply, "a(iiay)", 0);
    if (is("ToolTip")) return sd_bus_message_append(reply, "(sa(iiay)ss)", "", 0, tooltip_.c_str(), "");
    if (is("ItemIsMenu")) return sd_bus_message_append(reply, "b", 0);  // a click shows the window
    if (is("Menu")) return sd_bus_message_append(reply, "o", kMenuPath);
    return sd_bus_message_append(reply, "s", "");  // no theme path, overlay, attention icon or animation
}

// Answers first: showing the window may take a moment.
int DbusStatusNotifier::Activate(sd_bus_message* call) {
    const int result = sd_bus_reply_method_return(call, "");
    if (activate_) activate_();
    return result;
}

void DbusStatusNotifier::Register() {
    registered_ = false;
    asking_ = sd_bus_slot_unref(asking_);
    sd_bus_call_method_async(
        bus_.Bus(), &asking_, kWatcher, "/StatusNotifierWatcher", kWatcher, "RegisterStatusNotifierItem",
        [](sd_bus_message* reply, void* self, sd_bus_error*) { return Item(self).OnRegistered(reply); }, this, "s",
        name_.c_str());
}

int DbusStatusNotifier::OnRegistered(sd_bus_message* reply) {
    asking_ = sd_bus_slot_unref(asking_);
    registered_ = !sd_bus_message_is_method_error(reply, nullptr);
    if (registered_) {
        AskForHost();
    } else {
        SetShown(false);
    }
    return 0;
}

// A watcher can run without any panel to draw its items (one started by a
// program of another desktop): the icon would then show nowhere, while an
// XEmbed tray may be there to hold it.
void DbusStatusNotifier::AskForHost() {
    asking_ = sd_bus_slot_unref(asking_);
    sd_bus_call_method_async(
        bus_.Bus(), &asking_, kWatcher, "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties", "Get",
        [](sd_bus_message* reply, void* self, sd_bus_error*) { return Item(self).OnHostAnswer(reply); }, this, "ss",
        kWatcher, "IsStatusNotifierHostRegistered");
}

// A watcher that cannot say is taken to have a panel.
int DbusStatusNotifier::OnHostAnswer(sd_bus_message* reply) {
    asking_ = sd_bus_slot_unref(asking_);
    int hosted = 1;
    if (!sd_bus_message_is_method_error(reply, nullptr) && sd_bus_message_read(reply, "v", "b", &hosted) < 0)
        hosted = 1;
    SetShown(registered_ && hosted != 0);
    return 0;
}

// A panel came or went.
int DbusStatusNotifier::OnWatcherSignal(sd_bus_message* signal) {
    const char* member = sd_bus_message_get_member(signal);
    if (registered_ && member != nullptr &&
        (std::strcmp(member, "StatusNotifierHostRegistered") == 0 ||
         std::strcmp(member, "StatusNotifierHostUnregistered") == 0))
        AskForHost();
    return 0;
}

// A watcher started, ended, or was replaced: a new one knows nothing of the
// item, so it is told again.
int DbusStatusNotifier::OnWatcherOwner(sd_bus_message* signal) {
    const char *name = nullptr, *before = nullptr, *now = nullptr;
    if (!SentByBus(signal) || sd_bus_message_read(signal, "sss", &name, &before, &now) < 0) return 0;
    watcherFound_ = *now != '\0';
    if (watcherFound_) {
        Register();  // the answers say whether it is still shown
    } else {
        registered_ = false;
        SetShown(false);
    }
    return 0;
}

void DbusStatusNotifier::SetShown(bool now) {
    shown_ = now;
    if (told_) told_(now);
}

}  // namespace nudgewick::linux_desktop
