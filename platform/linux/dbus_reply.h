#pragma once
// Answers to D-Bus calls built the one way sd-bus wants: each step only
// while the ones before it worked, the reply freed whatever happened, and
// the first error handed back to the bus.

#include <systemd/sd-bus.h>

namespace nudgewick::linux_desktop {

// Answers CALL with what FILL(reply) appends.
template <typename Fill>
int ReplyWith(sd_bus_message* call, Fill&& fill) {
    sd_bus_message* reply = nullptr;
    int result = sd_bus_message_new_method_return(call, &reply);
    if (result >= 0) result = fill(reply);
    if (result >= 0) result = sd_bus_send(nullptr, reply, nullptr);
    sd_bus_message_unref(reply);
    return result;
}

// What FILL(message) appends, in a container of TYPE ('a', 'r', 'v') that
// holds CONTENTS.
template <typename Fill>
int InContainer(sd_bus_message* message, char type, const char* contents, Fill&& fill) {
    int result = sd_bus_message_open_container(message, type, contents);
    if (result >= 0) result = fill(message);
    if (result >= 0) result = sd_bus_message_close_container(message);
    return result;
}

}  // namespace nudgewick::linux_desktop
