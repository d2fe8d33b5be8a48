#include "idle/MutterIdle.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

const char kService[] = "org.gnome.Mutter.IdleMonitor";
const char kPath[] = "/org/gnome/Mutter/IdleMonitor/Core";
const char kInterface[] = "org.gnome.Mutter.IdleMonitor";

}  // namespace

class MutterIdle : public IdleSource {
public:
    ~MutterIdle() override {
        sd_bus_slot_unref(slot);
        sd_bus_flush_close_unref(bus);
    }

    int descriptor() const override { return sd_bus_get_fd(bus); }

    // sd-bus may already hold messages read along with a reply: those are handled here,
    // before the poll, as the descriptor would not wake for them.
    short pollEvents() override {
        healthy = healthy && processQueued();
        int events = sd_bus_get_events(bus);
        return static_cast<short>(events <= 0 ? POLLIN : events);
    }

    bool dispatch(short) override {
        healthy = healthy && processQueued();
        return healthy;
    }

    bool processQueued() {
        int result;
        while ((result = sd_bus_process(bus, nullptr)) > 0) {
        }
        if (result < 0) {
            std::fprintf(stderr, "voidrift: the session bus: %s\n", std::strerror(-result));
            return false;
        }
        // The user-active watch fires once; a new one follows every idle edge.
        if (wantActiveWatch) {
            wantActiveWatch = false;
            return addWatch("AddUserActiveWatch", 0, activeWatch);
        }
        return true;
    }

    bool addWatch(const char* method, std::uint64_t milliseconds, std::uint32_t& id) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        int result = method[3] == 'I'
                         ? sd_bus_call_method(bus, kService, kPath, kInterface, method, &error, &reply, "t", milliseconds)
                         : sd_bus_call_method(bus, kService, kPath, kInterface, method, &error, &reply, "");
        if (result >= 0) result = sd_bus_message_read(reply, "u", &id);
        if (result < 0) std::fprintf(stderr, "voidrift: the idle monitor refused %s: %s\n", method, error.message ? error.message : "");
        sd_bus_error_free(&error);
        sd_bus_message_unref(reply);
        return result >= 0;
    }

    void fired(std::uint32_t id) {
        if (id == idleWatch) {
            report(IdleEdge::Idle);
            wantActiveWatch = true;
        } else if (id == activeWatch) {
            report(IdleEdge::Active);
        }
    }

    sd_bus* bus = nullptr;
    sd_bus_slot* slot = nullptr;
    std::uint32_t idleWatch = 0;
    std::uint32_t activeWatch = 0;
    bool wantActiveWatch = false;
    bool healthy = true;
};

namespace {

int onWatchFired(sd_bus_message* message, void* data, sd_bus_error*) {
    std::uint32_t id = 0;
    if (sd_bus_message_read(message, "u", &id) > 0) static_cast<MutterIdle*>(data)->fired(id);
    return 0;
}

bool nameHasOwner(sd_bus* bus, const char* name) {
    sd_bus_message* reply = nullptr;
    int owned = 0;
    int result = sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                    "NameHasOwner", nullptr, &reply, "s", name);
    if (result >= 0 && sd_bus_message_read(reply, "b", &owned) < 0) owned = 0;
    sd_bus_message_unref(reply);
    return result >= 0 && owned;
}

}  // namespace

std::unique_ptr<IdleSource> connectMutterIdle() {
    auto source = std::make_unique<MutterIdle>();
    if (sd_bus_open_user(&source->bus) < 0) return nullptr;
    sd_bus_set_method_call_timeout(source->bus, 5 * 1000000ull);
    if (!nameHasOwner(source->bus, kService)) return nullptr;
    return source;
}

bool watchMutterIdle(IdleSource& watched, int seconds) {
    auto& source = static_cast<MutterIdle&>(watched);
    if (sd_bus_match_signal(source.bus, &source.slot, kService, kPath, kInterface, "WatchFired", onWatchFired,
                            &source) < 0) {
        return false;
    }
    return source.addWatch("AddIdleWatch", static_cast<std::uint64_t>(seconds) * 1000u, source.idleWatch);
}

