#include "platform/linux/dbus_desktop_watch.h"

#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "core/clock.h"

namespace nudgewick::linux_desktop {

constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kUpower = "org.freedesktop.UPower";

// One value that a service on a bus holds: a property (Get, PropertiesChanged)
// or a screen saver's state (GetActive, ActiveChanged). Only the service's
// current owner is heeded: a signal sent straight to the program matches
// whatever sender a match rule names, and sd-bus does not compare a
// well-known name with the sender's unique one.
class BusValue {
public:
    // property: the property's name, or nothing for a screen saver's GetActive.
    // path: empty for logind's session, which is asked for first.
    BusValue(DbusSessionBus& bus, const char* service, std::string path, const char* interface, const char* property,
             std::function<void()> changed)
        : bus_(bus),
          service_(service),
          path_(std::move(path)),
          interface_(interface),
          property_(property),
          changed_(std::move(changed)) {
        const std::string owner = std::string("type='signal',sender='org.freedesktop.DBus',") +
                                  "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='" + service_ + "'";
        sd_bus_add_match_async(
            bus_.Bus(), &ownerMatch_, owner.c_str(),
            [](sd_bus_message* m, void* self, sd_bus_error*) { return static_cast<BusValue*>(self)->OnOwner(m); },
            nullptr, this);
        if (!path_.empty()) Match();
        Ask();
        bus_.OnLost([this] { Forget(); });
    }
    ~BusValue() {
        for (sd_bus_slot* slot : {asking_, signalMatch_, ownerMatch_}) sd_bus_slot_unref(slot);
    }
    BusValue(const BusValue&) = delete;
    BusValue& operator=(const BusValue&) = delete;

    std::optional<double> value;  // nothing while the service is absent or has not answered
    bool Answered() const { return asking_ == nullptr; }
    bool Present() const { return !owner_.empty(); }
    const char* Service() const { return service_; }

private:
    void Match() {
        sd_bus_slot_unref(signalMatch_);
        const bool saver = property_ == nullptr;
        sd_bus_match_signal_async(
            bus_.Bus(), &signalMatch_, service_, path_.c_str(), saver ? interface_ : kProperties,
            saver ? "ActiveChanged" : "PropertiesChanged",
            [](sd_bus_message* m, void* self, sd_bus_error*) { return static_cast<BusValue*>(self)->OnSignal(m); },
            nullptr, this);
    }

    // Never starts a service that is not running.
    void Ask() {
        asking_ = sd_bus_slot_unref(asking_);
        sd_bus_message* call = nullptr;
        const bool session = path_.empty();
        int result =
            session ? sd_bus_message_new_method_call(bus_.Bus(), &call, service_, "/org/freedesktop/login1",
                                                     "org.freedesktop.login1.Manager", "GetSessionByPID")
            : property_ == nullptr
                ? sd_bus_message_new_method_call(bus_.Bus(), &call, service_, path_.c_str(), interface_, "GetActive")
                : sd_bus_message_new_method_call(bus_.Bus(), &call, service_, path_.c_str(), kProperties, "Get");
        if (result >= 0 && session) result = sd_bus_message_append(call, "u", static_cast<std::uint32_t>(getpid()));
        if (result >= 0 && !session && property_ != nullptr)
            result = sd_bus_message_append(call, "ss", interface_, property_);
        if (result >= 0) result = sd_bus_message_set_auto_start(call, 0);
        if (result >= 0)
            sd_bus_call_async(
                bus_.Bus(), &asking_, call,
                [](sd_bus_message* m, void* self, sd_bus_error*) { return static_cast<BusValue*>(self)->OnAnswer(m); },
                this, 0);
        sd_bus_message_unref(call);
        bus_.Rearm();
    }

    int OnAnswer(sd_bus_message* reply) {
        asking_ = sd_bus_slot_unref(asking_);
        if (sd_bus_message_is_method_error(reply, nullptr)) {
            if (path_.empty() && !askedAuto_) return AskAutoSession();
            return Set(std::nullopt), 0;
        }
        if (const char* sender = sd_bus_message_get_sender(reply)) owner_ = sender;
        if (path_.empty()) {
            const char* path = nullptr;
            if (sd_bus_message_read(reply, "o", &path) < 0) return 0;
            path_ = path;
            Match();
            Ask();
            return 0;
        }
        Set(property_ == nullptr ? ReadBool(reply) : ReadVariant(reply));
        return 0;
    }

    // Without a session of its own (started from a service, say), the
    // program's is the user's display session: logind's "auto".
    int AskAutoSession() {
        askedAuto_ = true;
        sd_bus_call_method_async(
            bus_.Bus(), &asking_, service_, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "GetSession",
            [](sd_bus_message* m, void* self, sd_bus_error*) { return static_cast<BusValue*>(self)->OnAnswer(m); },
            this, "s", "auto");
        return 0;
    }

    int OnSignal(sd_bus_message* signal) {
        const char* sender = sd_bus_message_get_sender(signal);
        if (sender == nullptr || owner_.empty() || owner_ != sender) return 0;
        if (property_ == nullptr) {
            if (const auto active = ReadBool(signal)) Set(active);
            return 0;
        }
        const char* interface = nullptr;
        if (sd_bus_message_read(signal, "s", &interface) < 0 || std::strcmp(interface, interface_) != 0) return 0;
        bool invalidated = false;
        std::optional<double> now;
        int result = sd_bus_message_enter_container(signal, 'a', "{sv}");
        while (result >= 0 && (result = sd_bus_message_enter_container(signal, 'e', "sv")) > 0) {
            const char* name = nullptr;
            if (sd_bus_message_read(signal, "s", &name) < 0) return 0;
            if (std::strcmp(name, property_) == 0) {
                if (!(now = ReadVariant(signal))) return 0;
            } else if (sd_bus_message_skip(signal, "v") < 0) {
                return 0;
            }
            result = sd_bus_message_exit_container(signal);
        }
        if (result < 0 || sd_bus_message_exit_container(signal) < 0) return 0;
        const char* name = nullptr;
        if (sd_bus_message_enter_container(signal, 'a', "s") > 0) {
            while (sd_bus_message_read(signal, "s", &name) > 0) invalidated |= std::strcmp(name, property_) == 0;
        }
        if (now) Set(now);
        if (invalidated) Ask();
        return 0;
    }

    // The service started (ask it), or ended: absent until it returns.
    int OnOwner(sd_bus_message* signal) {
        const char *name = nullptr, *before = nullptr, *now = nullptr;
        if (!SentByBus(signal) || sd_bus_message_read(signal, "sss", &name, &before, &now) < 0) return 0;
        owner_ = now;
        if (*now == '\0') return Forget(), 0;
        Ask();
        return 0;
    }

    void Forget() {
        owner_.clear();
        Set(std::nullopt);
    }

    void Set(std::optional<double> now) {
        if (now == value) return;
        value = now;
        changed_();
    }

    static std::optional<double> ReadBool(sd_bus_message* message) {
        int on = 0;
        if (sd_bus_message_read(message, "b", &on) < 0) return std::nullopt;
        return on != 0 ? 1.0 : 0.0;
    }

    // A boolean or a number in a variant; anything else is garbage.
    static std::optional<double> ReadVariant(sd_bus_message* message) {
        char type = 0;
        const char* contents = nullptr;
        if (sd_bus_message_peek_type(message, &type, &contents) < 0 || type != 'v' || contents == nullptr) {
            return std::nullopt;
        }
        if (std::strcmp(contents, "b") == 0) {
            int on = 0;
            if (sd_bus_message_read(message, "v", "b", &on) < 0) return std::nullopt;
            return on != 0 ? 1.0 : 0.0;
        }
        double number = 0;
        if (std::strcmp(contents, "d") != 0 || sd_bus_message_read(message, "v", "d", &number) < 0 ||
            !std::isfinite(number))
            return std::nullopt;
        return number;
    }

    DbusSessionBus& bus_;
    const char* service_;
    std::string path_;
    const char* interface_;
    const char* property_;
    std::function<void()> changed_;
    std::string owner_;  // the service's unique name, once known
    bool askedAuto_ = false;
    sd_bus_slot* ownerMatch_ = nullptr;
    sd_bus_slot* signalMatch_ = nullptr;
    sd_bus_slot* asking_ = nullptr;
};

namespace {

// Where logind started this session, or manages the seat: it writes the
// seat's file while it runs.
bool LogindThere() {
    const char* session = std::getenv("XDG_SESSION_ID");
    return (session != nullptr && *session != '\0') || access("/run/systemd/seats/seat0", F_OK) == 0;
}

}  // namespace

DbusDesktopWatch::DbusDesktopWatch(std::function<void()> changed) : changed_(std::move(changed)) {}

DbusDesktopWatch::~DbusDesktopWatch() = default;

void DbusDesktopWatch::Connect(DbusSessionBus* session, bool battery) {
    session_ = session;
    const auto changed = [this] { changed_(); };
    xscreensaver_ = std::make_unique<X11Screensaver>(changed);
    if (battery || LogindThere()) system_ = DbusSessionBus::OpenSystem();
    if (system_ != nullptr && LogindThere()) {
        locks_.push_back(
            std::make_unique<BusValue>(*system_, kLogind, "", "org.freedesktop.login1.Session", "LockedHint", changed));
    }
    if (system_ != nullptr && battery) {
        onBattery_ =
            std::make_unique<BusValue>(*system_, kUpower, "/org/freedesktop/UPower", kUpower, "OnBattery", changed);
        charge_ = std::make_unique<BusValue>(*system_, kUpower, "/org/freedesktop/UPower/devices/DisplayDevice",
                                             "org.freedesktop.UPower.Device", "Percentage", changed);
    }
    if (session != nullptr) {
        locks_.push_back(std::make_unique<BusValue>(*session, "org.freedesktop.ScreenSaver",
                                                    "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver",
                                                    nullptr, changed));
        locks_.push_back(std::make_unique<BusValue>(*session, "org.gnome.ScreenSaver", "/org/gnome/ScreenSaver",
                                                    "org.gnome.ScreenSaver", nullptr, changed));
    }
}

DesktopState DbusDesktopWatch::Look() {
    DesktopState state;
    state.locked = xscreensaver_ != nullptr && xscreensaver_->Active();
    for (const auto& lock : locks_) state.locked |= lock->value.value_or(0) != 0;
    state.onBattery = onBattery_ != nullptr && onBattery_->value.value_or(0) != 0;
    if (charge_ != nullptr && charge_->value && *charge_->value >= 0 && *charge_->value <= 100) {
        state.charge = static_cast<int>(*charge_->value);
    }
    return state;
}

void DbusDesktopWatch::Settle() {
    const std::int64_t end = SteadyMicroseconds() + 1'000'000;
    const auto pending = [this] {
        bool any = false;
        for (const auto& lock : locks_) any |= !lock->Answered();
        for (const auto* power : {onBattery_.get(), charge_.get()}) any |= power != nullptr && !power->Answered();
        return any;
    };
    while (pending() && SteadyMicroseconds() < end) {
        for (DbusSessionBus* bus : {system_.get(), session_}) {
            if (bus == nullptr) continue;
            while (sd_bus_process(bus->Bus(), nullptr) > 0) {
            }
        }
        sd_bus* wait = session_ != nullptr ? session_->Bus() : system_ != nullptr ? system_->Bus() : nullptr;
        if (wait == nullptr) return;
        sd_bus_wait(wait, 20'000);
    }
}

std::string DbusDesktopWatch::LockSources() {
    std::string sources;
    for (const auto& lock : locks_) {
        if (lock->Present()) sources += std::string(sources.empty() ? "" : ", ") + lock->Service();
    }
    if (xscreensaver_ != nullptr && xscreensaver_->Present())
        sources += std::string(sources.empty() ? "" : ", ") + "xscreensaver";
    return sources;
}

}  // namespace nudgewick::linux_desktop
