#include "platform/linux/dbus_global_shortcuts.h"

#include <systemd/sd-bus.h>

#include <cstring>
#include <optional>

namespace nudgewick::linux_desktop {
namespace {

constexpr const char* kShortcuts = "org.freedesktop.portal.GlobalShortcuts";
constexpr const char* kShortcutId = "toggle";
// The same at each start: KDE keeps the keys a user gave the shortcut under
// the session's name.
constexpr const char* kSessionToken = "nudgewick";

// Calls each entry's key with the message at its variant, which take reads
// or skips; false for a message that is not a vardict there.
template <typename Take>
bool ReadVardict(sd_bus_message* message, Take&& take) {
    if (sd_bus_message_enter_container(message, 'a', "{sv}") <= 0) return false;
    int result = 0;
    while ((result = sd_bus_message_enter_container(message, 'e', "sv")) > 0) {
        const char* key = nullptr;
        if (sd_bus_message_read(message, "s", &key) <= 0 || !take(key) || sd_bus_message_exit_container(message) < 0) {
            return false;
        }
    }
    return result == 0 && sd_bus_message_exit_container(message) >= 0;
}

// A variant that holds a string (or, from a portal that reads the interface
// to the letter, an object path).
bool ReadText(sd_bus_message* message, std::string& text) {
    const char* contents = nullptr;
    char type = 0;
    if (sd_bus_message_peek_type(message, &type, &contents) <= 0 || contents == nullptr ||
        (std::strcmp(contents, "s") != 0 && std::strcmp(contents, "o") != 0)) {
        return false;
    }
    const char* read = nullptr;
    if (sd_bus_message_read(message, "v", contents, &read) <= 0) return false;
    text = read;
    return true;
}

// The toggle's trigger among the shortcuts bound (a(sa{sv})): outer nothing
// for a malformed list, inner nothing when it is not among them.
std::optional<std::optional<std::string>> ReadToggle(sd_bus_message* message) {
    std::optional<std::string> toggle;
    if (sd_bus_message_enter_container(message, 'a', "(sa{sv})") <= 0) return std::nullopt;
    int result = 0;
    while ((result = sd_bus_message_enter_container(message, 'r', "sa{sv}")) > 0) {
        const char* id = nullptr;
        if (sd_bus_message_read(message, "s", &id) <= 0) return std::nullopt;
        const bool ours = std::strcmp(id, kShortcutId) == 0;
        std::string trigger;
        const bool read = ReadVardict(message, [&](const char* key) {
            if (ours && std::strcmp(key, "trigger_description") == 0) return ReadText(message, trigger);
            return sd_bus_message_skip(message, "v") >= 0;
        });
        if (!read || sd_bus_message_exit_container(message) < 0) return std::nullopt;
        if (ours) toggle = trigger;
    }
    if (result < 0 || sd_bus_message_exit_container(message) < 0) return std::nullopt;
    return toggle;
}

// The portal's errors that say it is not there, or has no global shortcuts.
bool Absent(const sd_bus_error* error) {
    for (const char* name : {SD_BUS_ERROR_SERVICE_UNKNOWN, SD_BUS_ERROR_NAME_HAS_NO_OWNER, SD_BUS_ERROR_UNKNOWN_METHOD,
                             SD_BUS_ERROR_UNKNOWN_INTERFACE, SD_BUS_ERROR_UNKNOWN_OBJECT}) {
        if (sd_bus_error_has_name(error, name) != 0) return true;
    }
    return false;
}

template <int (DbusGlobalShortcuts::*Handle)(sd_bus_message*)>
int Dispatch(sd_bus_message* message, void* self, sd_bus_error*) {
    return (static_cast<DbusGlobalShortcuts*>(self)->*Handle)(message);
}

}  // namespace

DbusGlobalShortcuts::DbusGlobalShortcuts(DbusSessionBus& bus, const Hotkey& hotkey, std::function<void()> pressed,
                                         Answer answered)
    : bus_(bus), trigger_(ShortcutTrigger(hotkey)), pressed_(std::move(pressed)), answered_(std::move(answered)) {
    const std::string owner = std::string(
                                  "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
                                  "member='NameOwnerChanged',arg0='") +
                              kPortal + "'";
    sd_bus_add_match_async(bus_.Bus(), &ownerMatch_, owner.c_str(), Dispatch<&DbusGlobalShortcuts::OnGone>, nullptr,
                           this);
    Ask("CreateSession");
}

// The session ends with the program's connection too; a new --hotkey ends it here.
DbusGlobalShortcuts::~DbusGlobalShortcuts() {
    if (!session_.empty()) {
        sd_bus_call_method_async(bus_.Bus(), nullptr, kPortal, session_.c_str(), "org.freedesktop.portal.Session",
                                 "Close", nullptr, nullptr, "");
    }
    for (sd_bus_slot* slot : {calling_, responseMatch_, activatedMatch_, changedMatch_, ownerMatch_, closedMatch_}) {
        sd_bus_slot_unref(slot);
    }
    bus_.Rearm();
}

bool DbusGlobalShortcuts::Offered(DbusSessionBus* bus) {
    if (bus == nullptr || !bus->Connected()) return false;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    std::uint32_t version = 0;
    const int result =
        sd_bus_get_property_trivial(bus->Bus(), kPortal, kPortalPath, kShortcuts, "version", &error, 'u', &version);
    sd_bus_error_free(&error);
    return result >= 0;
}

// The answer comes as a Response signal from a request object whose path
// follows from the token and the program's name on the bus: it is listened
// for before the request is made.
void DbusGlobalShortcuts::Ask(const char* method) {
    static unsigned requests = 0;
    const std::string token = "nudgewick" + std::to_string(++requests);
    const std::string request = PortalRequestPath(bus_.Bus(), token);
    responseMatch_ = sd_bus_slot_unref(responseMatch_);
    int result = sd_bus_match_signal_async(bus_.Bus(), &responseMatch_, kPortal, request.c_str(),
                                           "org.freedesktop.portal.Request", "Response",
                                           Dispatch<&DbusGlobalShortcuts::OnResponse>, nullptr, this);
    sd_bus_message* call = nullptr;
    if (result >= 0)
        result = sd_bus_message_new_method_call(bus_.Bus(), &call, kPortal, kPortalPath, kShortcuts, method);
    if (result >= 0 && step_ == Step::Creating) {
        result = sd_bus_message_append(call, "a{sv}", 2, "handle_token", "s", token.c_str(), "session_handle_token",
                                       "s", kSessionToken);
    } else if (result >= 0) {
        result = sd_bus_message_append(call, "oa(sa{sv})sa{sv}", session_.c_str(), 1, kShortcutId, 2, "description",
                                       "s", kHotkeyAction, "preferred_trigger", "s", trigger_.c_str(), "", 1,
                                       "handle_token", "s", token.c_str());
    }
    if (result >= 0)
        result = sd_bus_call_async(bus_.Bus(), &calling_, call, Dispatch<&DbusGlobalShortcuts::OnCalled>, this, 0);
    sd_bus_message_unref(call);
    bus_.Rearm();
    if (result < 0) Refuse(std::string("the request could not be sent: ") + std::strerror(-result));
}

// The call's own answer, which names the portal's owner; the result comes by Response.
int DbusGlobalShortcuts::OnCalled(sd_bus_message* reply) {
    calling_ = sd_bus_slot_unref(calling_);
    if (const sd_bus_error* error = sd_bus_message_get_error(reply)) {
        Refuse(step_ == Step::Creating && Absent(error) ? ""
               : error->message != nullptr              ? error->message
                                                        : error->name);
        return 0;
    }
    if (const char* sender = sd_bus_message_get_sender(reply); sender != nullptr && owner_.empty()) owner_ = sender;
    return 0;
}

int DbusGlobalShortcuts::OnResponse(sd_bus_message* signal) {
    std::uint32_t code = 0;
    if (!FromPortal(signal) || sd_bus_message_read(signal, "u", &code) <= 0) return 0;
    if (code != 0) return Refuse(code == 1 ? "the user said no" : "the portal failed"), 0;
    if (step_ == Step::Binding) {
        std::optional<std::optional<std::string>> toggle;
        const bool read = ReadVardict(signal, [&](const char* key) {
            if (std::strcmp(key, "shortcuts") != 0) return sd_bus_message_skip(signal, "v") >= 0;
            return sd_bus_message_enter_container(signal, 'v', "a(sa{sv})") > 0 && (toggle = ReadToggle(signal)) &&
                   sd_bus_message_exit_container(signal) >= 0;
        });
        if (!read || !toggle) return 0;
        if (!*toggle) return Refuse("it bound none"), 0;
        step_ = Step::Bound;
        responseMatch_ = sd_bus_slot_unref(responseMatch_);
        answered_({std::nullopt, **toggle});
        return 0;
    }
    if (step_ != Step::Creating) return 0;
    std::string session;
    const bool read = ReadVardict(signal, [&](const char* key) {
        return std::strcmp(key, "session_handle") == 0 ? ReadText(signal, session)
                                                       : sd_bus_message_skip(signal, "v") >= 0;
    });
    if (!read || !sd_bus_object_path_is_valid(session.c_str())) return 0;
    session_ = session;
    // Listened for before the bind, so that a press right after it is not missed.
    sd_bus_match_signal_async(bus_.Bus(), &activatedMatch_, kPortal, kPortalPath, kShortcuts, "Activated",
                              Dispatch<&DbusGlobalShortcuts::OnActivated>, nullptr, this);
    sd_bus_match_signal_async(bus_.Bus(), &changedMatch_, kPortal, kPortalPath, kShortcuts, "ShortcutsChanged",
                              Dispatch<&DbusGlobalShortcuts::OnShortcutsChanged>, nullptr, this);
    sd_bus_match_signal_async(bus_.Bus(), &closedMatch_, kPortal, session_.c_str(), "org.freedesktop.portal.Session",
                              "Closed", Dispatch<&DbusGlobalShortcuts::OnGone>, nullptr, this);
    step_ = Step::Binding;
    Ask("BindShortcuts");
    return 0;
}

int DbusGlobalShortcuts::OnActivated(sd_bus_message* signal) {
    const char *session = nullptr, *id = nullptr;
    if (step_ != Step::Bound || !FromPortal(signal) || sd_bus_message_read(signal, "os", &session, &id) <= 0) return 0;
    if (session_ == session && std::strcmp(id, kShortcutId) == 0 && pressed_) pressed_();
    return 0;
}

// The user gave the shortcut other keys in the desktop's settings.
int DbusGlobalShortcuts::OnShortcutsChanged(sd_bus_message* signal) {
    const char* session = nullptr;
    if (step_ != Step::Bound || !FromPortal(signal) || sd_bus_message_read(signal, "o", &session) <= 0 ||
        session_ != session) {
        return 0;
    }
    if (const auto toggle = ReadToggle(signal); toggle && *toggle) answered_({std::nullopt, **toggle});
    return 0;
}

// The portal ended (NameOwnerChanged from the bus), or closed the session: the shortcut went with it.
int DbusGlobalShortcuts::OnGone(sd_bus_message* signal) {
    if (step_ == Step::Over || owner_.empty()) return 0;
    if (!SentByBus(signal)) {
        if (FromPortal(signal)) Refuse("the desktop closed the session");
        return 0;
    }
    const char *name = nullptr, *before = nullptr, *now = nullptr;
    if (sd_bus_message_read(signal, "sss", &name, &before, &now) > 0 && owner_ == before) Refuse("the portal ended");
    return 0;
}

bool DbusGlobalShortcuts::FromPortal(sd_bus_message* signal) const {
    const char* sender = sd_bus_message_get_sender(signal);
    return sender != nullptr && !owner_.empty() && owner_ == sender;
}

// Empty words: no portal here offers global shortcuts.
void DbusGlobalShortcuts::Refuse(const std::string& why) {
    step_ = Step::Over;
    session_.clear();
    for (sd_bus_slot** slot : {&responseMatch_, &activatedMatch_, &changedMatch_, &closedMatch_}) {
        *slot = sd_bus_slot_unref(*slot);
    }
    answered_({HotkeyRefusal(HotkeyRefusal::Unavailable, why), std::nullopt});
}

}  // namespace nudgewick::linux_desktop
