#include "platform/linux/atspi_status.h"

#include <systemd/sd-bus.h>

#include <cstdlib>
#include <cstring>

namespace nudgewick::linux_desktop {
namespace {

constexpr const char* kService = "org.a11y.Bus";
constexpr const char* kPath = "/org/a11y/bus";
constexpr const char* kStatus = "org.a11y.Status";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

AtspiStatus& Status(void* self) { return *static_cast<AtspiStatus*>(self); }

}  // namespace

AtspiStatus::AtspiStatus(DbusSessionBus& bus, std::function<void(const std::string&)> on, std::function<void()> off)
    : bus_(bus), on_(std::move(on)), off_(std::move(off)) {
    sd_bus* const connection = bus_.Bus();
    sd_bus_match_signal_async(
        connection, &changes_, kService, kPath, kProperties, "PropertiesChanged",
        [](sd_bus_message* signal, void* self, sd_bus_error*) { return Status(self).OnChanged(signal); }, nullptr,
        this);
    const std::string owner =
        std::string("type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',") +
        "member='NameOwnerChanged',arg0='" + kService + "'";
    sd_bus_add_match_async(
        connection, &owner_, owner.c_str(),
        [](sd_bus_message* signal, void* self, sd_bus_error*) { return Status(self).OnOwner(signal); }, nullptr, this);
    Ask();
    bus_.OnLost([this] {
        isEnabled_ = screenReaderEnabled_ = false;
        Apply();
    });
    bus_.Rearm();
}

AtspiStatus::~AtspiStatus() {
    sd_bus_slot_unref(finding_);
    sd_bus_slot_unref(asking_);
    sd_bus_slot_unref(owner_);
    sd_bus_slot_unref(changes_);
}

// Only a switch that runs is asked: starting the service that holds it would
// cost a session without any assistive technology a process.
void AtspiStatus::Ask() {
    asking_ = sd_bus_slot_unref(asking_);
    sd_bus_message* call = nullptr;
    if (sd_bus_message_new_method_call(bus_.Bus(), &call, kService, kPath, kProperties, "GetAll") >= 0 &&
        sd_bus_message_append(call, "s", kStatus) >= 0 && sd_bus_message_set_auto_start(call, 0) >= 0)
        sd_bus_call_async(
            bus_.Bus(), &asking_, call,
            [](sd_bus_message* reply, void* self, sd_bus_error*) { return Status(self).OnAnswer(reply); }, this, 0);
    sd_bus_message_unref(call);
}

int AtspiStatus::OnAnswer(sd_bus_message* reply) {
    asking_ = sd_bus_slot_unref(asking_);
    isEnabled_ = screenReaderEnabled_ = false;
    if (!sd_bus_message_is_method_error(reply, nullptr)) ReadProperties(reply);
    Apply();
    return 0;
}

// Either property on turns accessibility on; the others are passed over.
int AtspiStatus::ReadProperties(sd_bus_message* message) {
    int result = sd_bus_message_enter_container(message, 'a', "{sv}");
    while (result >= 0 && (result = sd_bus_message_enter_container(message, 'e', "sv")) > 0) {
        const char* name = nullptr;
        if ((result = sd_bus_message_read(message, "s", &name)) < 0) break;
        bool* const flag = std::strcmp(name, "IsEnabled") == 0             ? &isEnabled_
                           : std::strcmp(name, "ScreenReaderEnabled") == 0 ? &screenReaderEnabled_
                                                                           : nullptr;
        int value = 0;
        if (flag != nullptr && sd_bus_message_read(message, "v", "b", &value) >= 0) {
            *flag = value != 0;
        } else {
            result = sd_bus_message_skip(message, "v");
        }
        if (result >= 0) result = sd_bus_message_exit_container(message);
    }
    return result < 0 ? result : sd_bus_message_exit_container(message);
}

int AtspiStatus::OnChanged(sd_bus_message* signal) {
    const char* interface = nullptr;
    if (sd_bus_message_read(signal, "s", &interface) < 0 || std::strcmp(interface, kStatus) != 0) return 0;
    if (ReadProperties(signal) < 0) return 0;
    // A property said to have changed without its value is asked for.
    if (sd_bus_message_enter_container(signal, 'a', "s") > 0 && sd_bus_message_at_end(signal, false) == 0) {
        Ask();
    } else {
        Apply();
    }
    return 0;
}

// The switch's service started (ask it), or ended: everything it served went with it.
int AtspiStatus::OnOwner(sd_bus_message* signal) {
    const char *name = nullptr, *before = nullptr, *now = nullptr;
    if (sd_bus_message_read(signal, "sss", &name, &before, &now) < 0) return 0;
    if (*now != '\0') {
        Ask();
    } else {
        isEnabled_ = screenReaderEnabled_ = false;
        Apply();
    }
    return 0;
}

// AT_SPI_BUS_ADDRESS, when set, names the accessibility bus (as for a
// program run under another user); else the switch's service gives it.
void AtspiStatus::Apply() {
    const bool wanted = isEnabled_ || screenReaderEnabled_;
    if (!wanted) {
        finding_ = sd_bus_slot_unref(finding_);
        if (told_) off_();
        told_ = false;
        return;
    }
    if (told_ || finding_ != nullptr) return;
    const char* address = std::getenv("AT_SPI_BUS_ADDRESS");
    if (address != nullptr && *address != '\0') {
        told_ = true;
        return on_(address);
    }
    sd_bus_call_method_async(
        bus_.Bus(), &finding_, kService, kPath, kService, "GetAddress",
        [](sd_bus_message* reply, void* self, sd_bus_error*) { return Status(self).OnAddress(reply); }, this, "");
}

int AtspiStatus::OnAddress(sd_bus_message* reply) {
    finding_ = sd_bus_slot_unref(finding_);
    const char* address = nullptr;
    if (sd_bus_message_is_method_error(reply, nullptr) || sd_bus_message_read(reply, "s", &address) < 0 ||
        *address == '\0')
        return 0;
    told_ = true;
    on_(address);
    return 0;
}

}  // namespace nudgewick::linux_desktop
