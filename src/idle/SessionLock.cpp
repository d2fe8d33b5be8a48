#include "idle/SessionLock.h"

#include <systemd/sd-bus.h>

namespace {

const char kLogind[] = "org.freedesktop.login1";

class SessionLock : public IdleSource {
public:
    ~SessionLock() override {
        sd_bus_slot_unref(slot);
        sd_bus_flush_close_unref(bus);
    }

    int descriptor() const override { return sd_bus_get_fd(bus); }

    short pollEvents() override {
        // Messages already read with a reply wait in sd-bus, not on the descriptor.
        while (sd_bus_process(bus, nullptr) > 0) {
        }
        int events = sd_bus_get_events(bus);
        return static_cast<short>(events <= 0 ? POLLIN : events);
    }

    // Losing logind is no reason to stop watching for idleness.
    bool dispatch(short) override {
        while (sd_bus_process(bus, nullptr) > 0) {
        }
        return true;
    }

    void locked() { report(IdleEdge::Locked); }

    sd_bus* bus = nullptr;
    sd_bus_slot* slot = nullptr;
};

int onLock(sd_bus_message*, void* data, sd_bus_error*) {
    static_cast<SessionLock*>(data)->locked();
    return 0;
}

}  // namespace

std::unique_ptr<IdleSource> watchSessionLock() {
    auto watch = std::make_unique<SessionLock>();
    if (sd_bus_open_system(&watch->bus) < 0) return nullptr;
    sd_bus_set_method_call_timeout(watch->bus, 2 * 1000000ull);
    // "auto": the caller's session, else the user's graphical one; the signal comes from
    // the session's own path.
    sd_bus_message* reply = nullptr;
    const char* path = nullptr;
    bool found = sd_bus_call_method(watch->bus, kLogind, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                    "GetSession", nullptr, &reply, "s", "auto") >= 0 &&
                 sd_bus_message_read(reply, "o", &path) > 0 &&
                 sd_bus_match_signal(watch->bus, &watch->slot, kLogind, path, "org.freedesktop.login1.Session", "Lock",
                                     onLock, watch.get()) >= 0;
    sd_bus_message_unref(reply);
    if (!found) return nullptr;
    return watch;
}
