#include "platform/linux/dbus_menu.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstring>

#include "platform/linux/dbus_reply.h"

namespace nudgewick::linux_desktop {
namespace {

constexpr const char* kInterface = "com.canonical.dbusmenu";
constexpr std::uint32_t kVersion = 3;  // of the menu interface, as panels expect it

DbusMenu& Menu(void* self) { return *static_cast<DbusMenu*>(self); }

// No panel sends more property names, or events, at once; a longer list is
// refused with an error.
constexpr std::size_t kLongestList = 64;

int TooLong(sd_bus_error* error, const char* what) {
    return sd_bus_error_setf(error, SD_BUS_ERROR_LIMITS_EXCEEDED, "More than %zu %s", kLongestList, what);
}

// The names of the properties a panel asks for; none means all. Read one by
// one: sd-bus's list reader takes time growing with the square of its length.
int ReadNames(sd_bus_message* call, std::vector<std::string>& names, sd_bus_error* error) {
    int result = sd_bus_message_enter_container(call, 'a', "s");
    const char* name = nullptr;
    while (result >= 0 && (result = sd_bus_message_read_basic(call, 's', &name)) > 0) {
        if (names.size() == kLongestList) return TooLong(error, "property names");
        names.emplace_back(name);
    }
    return result < 0 ? result : sd_bus_message_exit_container(call);
}

bool Wanted(const std::vector<std::string>& names, const char* name) {
    return names.empty() || std::find(names.begin(), names.end(), name) != names.end();
}

// An underscore marks the access key in a panel's menu; the labels have none.
std::string Escaped(const std::string& label) {
    std::string escaped;
    for (const char c : label) escaped += c == '_' ? std::string("__") : std::string(1, c);
    return escaped;
}

int InvalidId(sd_bus_message* call, int id) {
    return sd_bus_reply_method_errorf(call, SD_BUS_ERROR_INVALID_ARGS, "No menu entry %d", id);
}

int GetConstant(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply, void*, sd_bus_error*) {
    if (std::strcmp(property, "Version") == 0) return sd_bus_message_append(reply, "u", kVersion);
    if (std::strcmp(property, "TextDirection") == 0) return sd_bus_message_append(reply, "s", "ltr");
    if (std::strcmp(property, "Status") == 0) return sd_bus_message_append(reply, "s", "normal");
    return sd_bus_message_append(reply, "as", 0);  // IconThemePath
}

int AboutToShow(sd_bus_message* call, void*, sd_bus_error*) {
    return sd_bus_reply_method_return(call, "b", 0);  // the layout sent last is current
}

int AboutToShowGroup(sd_bus_message* call, void*, sd_bus_error*) {
    return sd_bus_reply_method_return(call, "aiai", 0, 0);
}

const sd_bus_vtable kVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD(
        "GetLayout", "iias", "u(ia{sv}av)",
        [](sd_bus_message* call, void* self, sd_bus_error* error) { return Menu(self).GetLayout(call, error); }, 0),
    SD_BUS_METHOD(
        "GetGroupProperties", "aias", "a(ia{sv})",
        [](sd_bus_message* call, void* self, sd_bus_error* error) {
            return Menu(self).GetGroupProperties(call, error);
        },
        0),
    SD_BUS_METHOD(
        "GetProperty", "is", "v",
        [](sd_bus_message* call, void* self, sd_bus_error*) { return Menu(self).GetProperty(call); }, 0),
    SD_BUS_METHOD(
        "Event", "isvu", "", [](sd_bus_message* call, void* self, sd_bus_error*) { return Menu(self).Event(call); }, 0),
    SD_BUS_METHOD(
        "EventGroup", "a(isvu)", "ai",
        [](sd_bus_message* call, void* self, sd_bus_error* error) { return Menu(self).EventGroup(call, error); }, 0),
    SD_BUS_METHOD("AboutToShow", "i", "b", AboutToShow, 0),
    SD_BUS_METHOD("AboutToShowGroup", "ai", "aiai", AboutToShowGroup, 0),
    SD_BUS_SIGNAL("ItemsPropertiesUpdated", "a(ia{sv})a(ias)", 0),
    SD_BUS_SIGNAL("LayoutUpdated", "ui", 0),
    SD_BUS_SIGNAL("ItemActivationRequested", "iu", 0),
    SD_BUS_PROPERTY("Version", "u", GetConstant, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("TextDirection", "s", GetConstant, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Status", "s", GetConstant, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconThemePath", "as", GetConstant, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END};

}  // namespace

DbusMenu::DbusMenu(sd_bus* bus, const char* path, std::function<void(const TrayMenuEntry&)> chosen)
    : bus_(bus), path_(path), chosen_(std::move(chosen)) {
    sd_bus_add_object_vtable(bus_, &slot_, path_, kInterface, kVtable, this);
}

DbusMenu::~DbusMenu() { sd_bus_slot_unref(slot_); }

void DbusMenu::SetEntries(const std::vector<TrayMenuEntry>& entries) {
    if (entries == entries_) return;
    entries_ = entries;
    ++revision_;
    sd_bus_emit_signal(bus_, path_, kInterface, "LayoutUpdated", "ui", revision_, 0);
}

// The root (id 0) holds the entries, ids 1 to N from the top. "Follow work
// hours" shows its tick box.
std::vector<const char*> DbusMenu::PropertyNames(int id) const {
    if (id == 0) return {"children-display"};
    if (entries_[static_cast<std::size_t>(id - 1)].checked) {
        return {"label", "enabled", "visible", "toggle-type", "toggle-state"};
    }
    return {"label", "enabled", "visible"};
}

// One of PropertyNames(id), as a variant.
int DbusMenu::AppendValue(sd_bus_message* reply, int id, std::string_view name) const {
    if (name == "children-display") return sd_bus_message_append(reply, "v", "s", "submenu");
    const TrayMenuEntry& entry = entries_[static_cast<std::size_t>(id - 1)];
    if (name == "label") return sd_bus_message_append(reply, "v", "s", Escaped(entry.text).c_str());
    if (name == "toggle-type") return sd_bus_message_append(reply, "v", "s", "checkmark");
    if (name == "toggle-state") return sd_bus_message_append(reply, "v", "i", entry.checked.value_or(false) ? 1 : 0);
    return sd_bus_message_append(reply, "v", "b", 1);  // enabled, visible
}

int DbusMenu::AppendProperties(sd_bus_message* reply, int id, const std::vector<std::string>& names) {
    return InContainer(reply, 'a', "{sv}", [&](sd_bus_message* m) {
        int result = 0;
        for (const char* name : PropertyNames(id)) {
            if (result < 0 || !Wanted(names, name)) continue;
            result = InContainer(m, 'e', "sv", [&](sd_bus_message* entry) {
                const int appended = sd_bus_message_append(entry, "s", name);
                return appended < 0 ? appended : AppendValue(entry, id, name);
            });
        }
        return result;
    });
}

// One entry as (id, properties, children), with DEPTH levels of children
// (-1: all).
int DbusMenu::AppendItem(sd_bus_message* reply, int id, const std::vector<std::string>& names, int depth) {
    return InContainer(reply, 'r', "ia{sv}av", [&](sd_bus_message* m) {
        int result = sd_bus_message_append(m, "i", id);
        if (result >= 0) result = AppendProperties(m, id, names);
        if (result < 0) return result;
        return InContainer(m, 'a', "v", [&](sd_bus_message* children) {
            int appended = 0;
            for (int child = 1; id == 0 && depth != 0 && appended >= 0 && child <= static_cast<int>(entries_.size());
                 ++child)
                appended = InContainer(children, 'v', "(ia{sv}av)",
                                       [&](sd_bus_message* v) { return AppendItem(v, child, names, depth - 1); });
            return appended;
        });
    });
}

int DbusMenu::GetLayout(sd_bus_message* call, sd_bus_error* error) {
    int parent = 0, depth = 0;
    std::vector<std::string> names;
    int result = sd_bus_message_read(call, "ii", &parent, &depth);
    if (result >= 0) result = ReadNames(call, names, error);
    if (result < 0) return result;
    if (!Known(parent)) return InvalidId(call, parent);
    result = ReplyWith(call, [&](sd_bus_message* reply) {
        const int appended = sd_bus_message_append(reply, "u", revision_);
        return appended < 0 ? appended : AppendItem(reply, parent, names, depth);
    });
    if (result >= 0) shown_ = entries_;
    return result;
}

// Each entry once, however often asked for: the answer stays within what the
// bus carries.
int DbusMenu::GetGroupProperties(sd_bus_message* call, sd_bus_error* error) {
    const void* ids = nullptr;
    std::size_t size = 0;
    std::vector<std::string> names;
    int result = sd_bus_message_read_array(call, 'i', &ids, &size);
    if (result >= 0) result = ReadNames(call, names, error);
    if (result < 0) return result;
    std::vector<bool> answered(entries_.size() + 1);
    const auto entries = [&](sd_bus_message* list) {
        int appended = 0;
        for (std::size_t n = 0; appended >= 0 && n < size / sizeof(std::int32_t); ++n) {
            const int id = static_cast<const std::int32_t*>(ids)[n];
            if (!Known(id) || answered[static_cast<std::size_t>(id)]) continue;
            answered[static_cast<std::size_t>(id)] = true;
            appended = InContainer(list, 'r', "ia{sv}", [&](sd_bus_message* entry) {
                const int number = sd_bus_message_append(entry, "i", id);
                return number < 0 ? number : AppendProperties(entry, id, names);
            });
        }
        return appended;
    };
    result = ReplyWith(call, [&](sd_bus_message* reply) { return InContainer(reply, 'a', "(ia{sv})", entries); });
    if (result >= 0) shown_ = entries_;
    return result;
}

int DbusMenu::GetProperty(sd_bus_message* call) {
    int id = 0;
    const char* name = nullptr;
    int result = sd_bus_message_read(call, "is", &id, &name);
    if (result < 0) return result;
    if (!Known(id)) return InvalidId(call, id);
    const auto names = PropertyNames(id);
    if (std::none_of(names.begin(), names.end(), [name](const char* known) { return std::strcmp(known, name) == 0; }))
        return sd_bus_reply_method_errorf(call, SD_BUS_ERROR_INVALID_ARGS, "No property %s", name);
    return ReplyWith(call, [&](sd_bus_message* reply) { return AppendValue(reply, id, name); });
}

// Answers first: a click may end the program.
int DbusMenu::Event(sd_bus_message* call) {
    int id = 0;
    const char* event = nullptr;
    int result = sd_bus_message_read(call, "is", &id, &event);
    if (result < 0) return result;
    const bool clicked = std::strcmp(event, "clicked") == 0;
    result = sd_bus_reply_method_return(call, "");
    if (clicked) Clicked(id);
    return result;
}

// Each entry clicked at most once a group.
int DbusMenu::EventGroup(sd_bus_message* call, sd_bus_error* error) {
    std::vector<int> clicked;
    std::size_t count = 0;
    int result = sd_bus_message_enter_container(call, 'a', "(isvu)");
    while (result >= 0 && (result = sd_bus_message_enter_container(call, 'r', "isvu")) > 0) {
        if (++count > kLongestList) return TooLong(error, "events");
        int id = 0;
        const char* event = nullptr;
        result = sd_bus_message_read(call, "is", &id, &event);
        if (result >= 0 && std::strcmp(event, "clicked") == 0 && Shown(id) &&
            std::find(clicked.begin(), clicked.end(), id) == clicked.end())
            clicked.push_back(id);
        if (result >= 0) result = sd_bus_message_skip(call, "vu");
        if (result >= 0) result = sd_bus_message_exit_container(call);
    }
    if (result < 0) return result;
    result = sd_bus_reply_method_return(call, "ai", 0);
    for (const int id : clicked) Clicked(id);
    return result;
}

// A copy: the handler may bring new entries.
void DbusMenu::Clicked(int id) {
    if (!Shown(id) || !chosen_) return;
    const TrayMenuEntry entry = shown_[static_cast<std::size_t>(id - 1)];
    chosen_(entry);
}

}  // namespace nudgewick::linux_desktop
