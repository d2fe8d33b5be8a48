#include "idle/SessionChecks.h"

#include <systemd/sd-bus.h>

#include <cstdlib>
#include <string>

namespace {

// A call that waits at most this long: a stuck service must not stall the launcher.
constexpr std::uint64_t kCallMicroseconds = 2 * 1000000ull;
// GsmInhibitorFlag "idle".
constexpr std::uint32_t kGnomeInhibitIdle = 8;

sd_bus* openBus(int (*open)(sd_bus**)) {
    sd_bus* bus = nullptr;
    if (open(&bus) < 0) return nullptr;
    sd_bus_set_method_call_timeout(bus, kCallMicroseconds);
    return bus;
}

void readLogind(IdleConditions& conditions) {
    sd_bus* bus = openBus(sd_bus_open_system);
    if (!bus) return;
    char* blocked = nullptr;
    if (sd_bus_get_property_string(bus, "org.freedesktop.login1", "/org/freedesktop/login1",
                                   "org.freedesktop.login1.Manager", "BlockInhibited", nullptr, &blocked) >= 0) {
        conditions.inhibited = conditions.inhibited || blockListHas(blocked, "idle");
    }
    std::free(blocked);
    int locked = 0;
    // "auto": the session this process belongs to.
    if (sd_bus_get_property_trivial(bus, "org.freedesktop.login1", "/org/freedesktop/login1/session/auto",
                                    "org.freedesktop.login1.Session", "LockedHint", nullptr, 'b', &locked) >= 0) {
        conditions.locked = locked != 0;
    }
    sd_bus_flush_close_unref(bus);
}

void readGnomeSession(IdleConditions& conditions) {
    sd_bus* bus = openBus(sd_bus_open_user);
    if (!bus) return;
    sd_bus_message* reply = nullptr;
    int inhibited = 0;
    if (sd_bus_call_method(bus, "org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager",
                           "IsInhibited", nullptr, &reply, "u", kGnomeInhibitIdle) >= 0 &&
        sd_bus_message_read(reply, "b", &inhibited) > 0) {
        conditions.inhibited = conditions.inhibited || inhibited != 0;
    }
    sd_bus_message_unref(reply);
    sd_bus_flush_close_unref(bus);
}

}  // namespace

IdleConditions readSessionConditions() {
    IdleConditions conditions;
    readLogind(conditions);
    readGnomeSession(conditions);
    return conditions;
}
