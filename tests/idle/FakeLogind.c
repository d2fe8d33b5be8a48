/* Just enough of logind for the launcher's checks, on the bus named by
 * DBUS_SYSTEM_BUS_ADDRESS: the manager's "BlockInhibited" and GetSession("auto"), the
 * session's "LockedHint" and Lock signal. SIGUSR1 toggles an idle inhibitor ("sleep" alone,
 * or "sleep:idle"), SIGUSR2 the lock (locking sends Lock). Prints "ready" once it owns its
 * name. */
#include <signal.h>
#include <stdio.h>
#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>

static int idle_blocked;
static int locked;

static int get_block(sd_bus *bus, const char *path, const char *interface, const char *property,
                     sd_bus_message *reply, void *data, sd_bus_error *error) {
    (void)bus, (void)path, (void)interface, (void)property, (void)data, (void)error;
    return sd_bus_message_append(reply, "s", idle_blocked ? "sleep:idle" : "sleep");
}

static int get_locked(sd_bus *bus, const char *path, const char *interface, const char *property,
                      sd_bus_message *reply, void *data, sd_bus_error *error) {
    (void)bus, (void)path, (void)interface, (void)property, (void)data, (void)error;
    return sd_bus_message_append(reply, "b", locked);
}

static const char session_path[] = "/org/freedesktop/login1/session/auto";
static sd_bus *bus;

static int get_session(sd_bus_message *message, void *data, sd_bus_error *error) {
    (void)data, (void)error;
    return sd_bus_reply_method_return(message, "o", session_path);
}

static const sd_bus_vtable manager[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("BlockInhibited", "s", get_block, 0, 0),
    SD_BUS_METHOD("GetSession", "s", "o", get_session, 0),
    SD_BUS_VTABLE_END,
};

static const sd_bus_vtable session[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("LockedHint", "b", get_locked, 0, 0),
    SD_BUS_SIGNAL("Lock", "", 0),
    SD_BUS_VTABLE_END,
};

static int on_signal(sd_event_source *source, const struct signalfd_siginfo *info, void *data) {
    (void)source, (void)data;
    if (info->ssi_signo == SIGUSR1) idle_blocked = !idle_blocked;
    if (info->ssi_signo == SIGUSR2) {
        locked = !locked;
        if (locked) sd_bus_emit_signal(bus, session_path, "org.freedesktop.login1.Session", "Lock", "");
    }
    if (info->ssi_signo == SIGTERM) sd_event_exit(sd_event_source_get_event(source), 0);
    return 0;
}

int main(void) {
    sd_event *event = NULL;
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGUSR1);
    sigaddset(&mask, SIGUSR2);
    sigaddset(&mask, SIGTERM);
    sigprocmask(SIG_BLOCK, &mask, NULL);
    if (sd_bus_open_system(&bus) < 0 || sd_event_default(&event) < 0) return 1;
    sd_bus_add_object_vtable(bus, NULL, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", manager, NULL);
    sd_bus_add_object_vtable(bus, NULL, session_path, "org.freedesktop.login1.Session",
                             session, NULL);
    if (sd_bus_request_name(bus, "org.freedesktop.login1", 0) < 0) return 1;
    sd_event_add_signal(event, NULL, SIGUSR1, on_signal, NULL);
    sd_event_add_signal(event, NULL, SIGUSR2, on_signal, NULL);
    sd_event_add_signal(event, NULL, SIGTERM, on_signal, NULL);
    sd_bus_attach_event(bus, event, 0);
    printf("ready\n");
    fflush(stdout);
    int result = sd_event_loop(event);
    sd_bus_flush_close_unref(bus);
    sd_event_unref(event);
    return result < 0;
}
