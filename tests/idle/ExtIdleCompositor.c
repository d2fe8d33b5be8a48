/* A compositor that offers nothing but a seat and ext_idle_notifier_v1: no compositor in
 * Debian 12 has that protocol, so the launcher's client for it is tested against this.
 * Prints its socket name on stdout. Every notification goes idle after its timeout with no
 * "activity"; SIGUSR1 is activity (idle ones are resumed and every timer starts again);
 * SIGUSR2 holds an inhibitor until the next SIGUSR2 (no notification goes idle meanwhile,
 * as the protocol asks); SIGTERM ends it. */
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <wayland-server.h>

#include "ext-idle-notify-v1-server-protocol.h"

struct notification {
    struct wl_resource *resource;
    struct wl_event_source *timer;
    uint32_t timeout;
    int idle;
    struct wl_list link;
};

static struct wl_list notifications;
static int inhibited;

static void arm(struct notification *n) {
    wl_event_source_timer_update(n->timer, inhibited ? 0 : (int)(n->timeout ? n->timeout : 1));
}

static int on_timer(void *data) {
    struct notification *n = data;
    if (!n->idle && !inhibited) {
        n->idle = 1;
        ext_idle_notification_v1_send_idled(n->resource);
    }
    return 0;
}

static void notification_gone(struct wl_resource *resource) {
    struct notification *n = wl_resource_get_user_data(resource);
    wl_event_source_remove(n->timer);
    wl_list_remove(&n->link);
    free(n);
}

static void destroy_request(struct wl_client *client, struct wl_resource *resource) {
    (void)client;
    wl_resource_destroy(resource);
}

static const struct ext_idle_notification_v1_interface notification_impl = {destroy_request};

static void get_idle_notification(struct wl_client *client, struct wl_resource *notifier, uint32_t id,
                                  uint32_t timeout, struct wl_resource *seat) {
    (void)seat;
    struct notification *n = calloc(1, sizeof *n);
    n->resource = wl_resource_create(client, &ext_idle_notification_v1_interface, 1, id);
    wl_resource_set_implementation(n->resource, &notification_impl, n, notification_gone);
    n->timeout = timeout;
    n->timer = wl_event_loop_add_timer(wl_display_get_event_loop(wl_client_get_display(client)), on_timer, n);
    wl_list_insert(&notifications, &n->link);
    arm(n);
    (void)notifier;
}

static const struct ext_idle_notifier_v1_interface notifier_impl = {destroy_request, get_idle_notification};

static void bind_notifier(struct wl_client *client, void *data, uint32_t version, uint32_t id) {
    (void)data;
    struct wl_resource *resource = wl_resource_create(client, &ext_idle_notifier_v1_interface, (int)version, id);
    wl_resource_set_implementation(resource, &notifier_impl, NULL, NULL);
}

/* A seat with no devices: the client only names it. */
static void seat_get_device(struct wl_client *client, struct wl_resource *seat, uint32_t id) {
    (void)client, (void)seat, (void)id;
}
static const struct wl_seat_interface seat_impl = {seat_get_device, seat_get_device, seat_get_device, destroy_request};

static void bind_seat(struct wl_client *client, void *data, uint32_t version, uint32_t id) {
    (void)data;
    struct wl_resource *resource = wl_resource_create(client, &wl_seat_interface, (int)version, id);
    wl_resource_set_implementation(resource, &seat_impl, NULL, NULL);
    wl_seat_send_capabilities(resource, 0);
}

static int on_activity(int signal, void *data) {
    (void)signal, (void)data;
    struct notification *n;
    wl_list_for_each(n, &notifications, link) {
        if (n->idle) ext_idle_notification_v1_send_resumed(n->resource);
        n->idle = 0;
        arm(n);
    }
    return 0;
}

static int on_inhibit(int signal, void *data) {
    (void)signal, (void)data;
    inhibited = !inhibited;
    struct notification *n;
    wl_list_for_each(n, &notifications, link) arm(n);
    return 0;
}

static int on_term(int signal, void *data) {
    (void)signal;
    wl_display_terminate(data);
    return 0;
}

int main(void) {
    struct wl_display *display = wl_display_create();
    const char *socket = display ? wl_display_add_socket_auto(display) : NULL;
    if (!socket) return 1;
    wl_list_init(&notifications);
    wl_global_create(display, &wl_seat_interface, 5, NULL, bind_seat);
    wl_global_create(display, &ext_idle_notifier_v1_interface, 1, NULL, bind_notifier);
    struct wl_event_loop *loop = wl_display_get_event_loop(display);
    struct wl_event_source *signals[] = {
        wl_event_loop_add_signal(loop, SIGUSR1, on_activity, NULL),
        wl_event_loop_add_signal(loop, SIGUSR2, on_inhibit, NULL),
        wl_event_loop_add_signal(loop, SIGTERM, on_term, display),
    };
    printf("%s\n", socket);
    fflush(stdout);
    wl_display_run(display);
    wl_display_destroy_clients(display);
    for (int i = 0; i < 3; ++i) wl_event_source_remove(signals[i]);
    wl_display_destroy(display);
    return 0;
}
