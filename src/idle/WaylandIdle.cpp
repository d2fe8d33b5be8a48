#include "idle/WaylandIdle.h"

#include <wayland-client.h>

#include <cerrno>
#include <cstring>

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

class WaylandIdle : public IdleSource {
public:
    ~WaylandIdle() override {
        if (reading) wl_display_cancel_read(display);
        if (extNotification) ext_idle_notification_v1_destroy(extNotification);
        if (kdeTimeout) org_kde_kwin_idle_timeout_release(kdeTimeout);
        if (extNotifier) ext_idle_notifier_v1_destroy(extNotifier);
        if (kdeIdle) org_kde_kwin_idle_destroy(kdeIdle);
        if (seat) wl_seat_destroy(seat);
        if (registry) wl_registry_destroy(registry);
        if (display) wl_display_disconnect(display);
    }

    int descriptor() const override { return wl_display_get_fd(display); }

    short pollEvents() override {
        while (wl_display_prepare_read(display) != 0) wl_display_dispatch_pending(display);
        reading = true;
        // A full socket buffer waits for POLLOUT; the compositor reads it soon.
        if (wl_display_flush(display) < 0 && errno == EAGAIN) return POLLIN | POLLOUT;
        return POLLIN;
    }

    bool dispatch(short revents) override {
        if (reading) {
            reading = false;
            if (revents & (POLLIN | POLLERR | POLLHUP)) {
                if (wl_display_read_events(display) < 0) return false;
            } else {
                wl_display_cancel_read(display);
            }
        }
        return wl_display_dispatch_pending(display) >= 0;
    }

    void idled() { report(IdleEdge::Idle); }
    void resumed() { report(IdleEdge::Active); }

    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* extNotifier = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
    ext_idle_notification_v1* extNotification = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout = nullptr;
    bool reading = false;
};

namespace {

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* source = static_cast<WaylandIdle*>(data);
    // The first seat: the one the session's user types on.
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !source->seat) {
        source->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0) {
        source->extNotifier =
            static_cast<ext_idle_notifier_v1*>(wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    } else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0) {
        source->kdeIdle =
            static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
    }
}

void onGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

void extIdled(void* data, ext_idle_notification_v1*) { static_cast<WaylandIdle*>(data)->idled(); }
void extResumed(void* data, ext_idle_notification_v1*) { static_cast<WaylandIdle*>(data)->resumed(); }
const ext_idle_notification_v1_listener kExtListener = {extIdled, extResumed};

void kdeIdled(void* data, org_kde_kwin_idle_timeout*) { static_cast<WaylandIdle*>(data)->idled(); }
void kdeResumed(void* data, org_kde_kwin_idle_timeout*) { static_cast<WaylandIdle*>(data)->resumed(); }
const org_kde_kwin_idle_timeout_listener kKdeListener = {kdeIdled, kdeResumed};

}  // namespace

std::unique_ptr<IdleSource> connectWayland(SessionOffers& offers) {
    auto source = std::make_unique<WaylandIdle>();
    source->display = wl_display_connect(nullptr);
    if (!source->display) return nullptr;
    source->registry = wl_display_get_registry(source->display);
    wl_registry_add_listener(source->registry, &kRegistryListener, source.get());
    if (wl_display_roundtrip(source->display) < 0) return nullptr;
    offers.extIdleNotify = source->extNotifier && source->seat;
    offers.kdeIdle = source->kdeIdle && source->seat;
    return source;
}

bool watchWaylandIdle(IdleSource& watched, IdleSourceKind kind, int seconds) {
    auto& source = static_cast<WaylandIdle&>(watched);
    uint32_t milliseconds = static_cast<uint32_t>(seconds) * 1000u;
    if (kind == IdleSourceKind::ExtIdleNotify) {
        source.extNotification =
            ext_idle_notifier_v1_get_idle_notification(source.extNotifier, milliseconds, source.seat);
        ext_idle_notification_v1_add_listener(source.extNotification, &kExtListener, &source);
    } else if (kind == IdleSourceKind::KdeIdle) {
        source.kdeTimeout = org_kde_kwin_idle_get_idle_timeout(source.kdeIdle, source.seat, milliseconds);
        org_kde_kwin_idle_timeout_add_listener(source.kdeTimeout, &kKdeListener, &source);
    } else {
        return false;
    }
    return wl_display_roundtrip(source.display) >= 0;
}

