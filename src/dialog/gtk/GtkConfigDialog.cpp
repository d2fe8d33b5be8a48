#include "dialog/gtk/GtkConfigDialog.h"

#include <gdk/gdkkeysyms.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/DialogPictures.h"
#include "dialog/gtk/DialogLayout.h"
#include "image/BmpImage.h"

namespace {

const char kTitle[] = "Voidrift 3D ScreenSaver Configuration";
const char kIdKey[] = "voidrift-control-id";

// The toolkit's padding is made for touch screens; the template's controls are small.
const char kCompactStyle[] =
    "button { padding: 0 6px; min-height: 0; }"
    "combobox button { padding: 0 4px; min-height: 0; }"
    "checkbutton { padding: 0; }"
    "scale { padding: 0 6px; min-height: 0; }"
    "frame > label { font-weight: bold; }";

int controlId(gpointer widget) { return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), kIdKey)); }

// Trackbar scroll codes from the toolkit's kinds of move: a drag or a click that jumps is a
// thumb track, keys give line, page and end moves.
int scrollCode(GtkScrollType type) {
    switch (type) {
        case GTK_SCROLL_JUMP: return scroll::thumbTrack;
        case GTK_SCROLL_PAGE_BACKWARD:
        case GTK_SCROLL_PAGE_UP:
        case GTK_SCROLL_PAGE_LEFT: return scroll::pageUp;
        case GTK_SCROLL_PAGE_FORWARD:
        case GTK_SCROLL_PAGE_DOWN:
        case GTK_SCROLL_PAGE_RIGHT: return scroll::pageDown;
        case GTK_SCROLL_STEP_BACKWARD:
        case GTK_SCROLL_STEP_UP:
        case GTK_SCROLL_STEP_LEFT: return scroll::lineUp;
        case GTK_SCROLL_START: return scroll::top;
        case GTK_SCROLL_END: return scroll::bottom;
        default: return scroll::lineDown;
    }
}

// Dialog units from the font, as the system that defined them does: a quarter of the average
// character width across, an eighth of the line height down.
void measureDialogUnits(GtkWidget* widget, double& unitX, double& unitY) {
    PangoLayout* layout = gtk_widget_create_pango_layout(widget, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    unitX = std::clamp(width / 52.0 / 4.0, 1.5, 3.0);
    unitY = std::clamp(height / 8.0, 1.5, 3.0);
}

GtkWidget* pictureWidget(int width, int height) {
    BmpImage picture;
    if (!decodeBmp(configPictureBmp, configPictureBmpSize, picture)) return gtk_image_new();
    GdkPixbuf* full = gdk_pixbuf_new_from_data(picture.rgb.data(), GDK_COLORSPACE_RGB, FALSE, 8, picture.width,
                                               picture.height, picture.width * 3, nullptr, nullptr);
    double scale = std::min(double(width) / picture.width, double(height) / picture.height);
    GdkPixbuf* fitted = gdk_pixbuf_scale_simple(full, std::max(1, int(picture.width * scale)),
                                                std::max(1, int(picture.height * scale)), GDK_INTERP_BILINEAR);
    GtkWidget* image = gtk_image_new_from_pixbuf(fitted);
    g_object_unref(fitted);
    g_object_unref(full);
    return image;
}

void setListItems(GtkWidget* list, const std::vector<std::string>& items) {
    gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(list));
    for (const std::string& item : items) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(list), item.c_str());
}

}  // namespace

GtkConfigDialog::GtkConfigDialog(ConfigDialogModel& model, std::string settingsPath, std::string openNote,
                                 const std::string& saveProblem)
    : model_(model), settingsPath_(std::move(settingsPath)), openNote_(std::move(openNote)), saveProblem_(saveProblem) {}

GtkConfigDialog::~GtkConfigDialog() {
    g_list_free(focusChain_);
    if (window_) gtk_widget_destroy(window_);
}

DialogAction GtkConfigDialog::run(unsigned long parentWindow) {
    GtkCssProvider* style = gtk_css_provider_new();
    gtk_css_provider_load_from_data(style, kCompactStyle, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(style);
    build();
    model_.initialize();
    fillLists();
    refresh();
    gtk_widget_show_all(window_);
#ifdef GDK_WINDOWING_X11
    GdkDisplay* display = gtk_widget_get_display(window_);
    if (parentWindow != 0 && GDK_IS_X11_DISPLAY(display)) {
        GdkWindow* owner = gdk_x11_window_foreign_new_for_display(display, parentWindow);
        if (owner) gdk_window_set_transient_for(gtk_widget_get_window(window_), owner);
    }
#else
    (void)parentWindow;
#endif
    // The first control of the template, OK, starts with the focus, as the system's dialogs do.
    gtk_widget_grab_focus(controls_[control::ok]);
    if (!openNote_.empty()) showMessage(GTK_MESSAGE_WARNING, openNote_);
    gtk_main();
    return result_;
}

void GtkConfigDialog::build() {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window_), kTitle);
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(GTK_WINDOW(window_), GTK_WIN_POS_CENTER);
    measureDialogUnits(window_, unitX_, unitY_);
    fixed_ = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(window_), fixed_);
    gtk_widget_set_size_request(fixed_, pixelsAcross(kConfigDialogSize.width), pixelsDown(kConfigDialogSize.height));
    int count = 0;
    const ControlTemplate* controls = configDialogControls(count);
    // Group boxes first, so the controls inside them are drawn over their frames.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count; ++i) {
            const ControlTemplate& c = controls[i];
            if ((c.kind == ControlKind::group) != (pass == 0)) continue;
            GtkWidget* widget = makeControl(c);
            place(widget, c);
            if (c.id != 0) controls_[c.id] = widget;
            if (gtk_widget_get_can_focus(widget) || GTK_IS_COMBO_BOX(widget)) focusChain_ = g_list_append(focusChain_, widget);
        }
    }
    // Tab follows the template's order, as it would in the system's own dialog.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_container_set_focus_chain(GTK_CONTAINER(fixed_), focusChain_);
    G_GNUC_END_IGNORE_DEPRECATIONS
    g_signal_connect(window_, "key-press-event", G_CALLBACK(onKey), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(onDelete), this);
}

int GtkConfigDialog::pixelsAcross(int units) const { return int(std::lround(units * unitX_)); }

int GtkConfigDialog::pixelsDown(int units) const { return int(std::lround(units * unitY_)); }

GtkWidget* GtkConfigDialog::makeControl(const ControlTemplate& control) {
    const char* text = control.text;
    GtkWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::defaultButton:
        case ControlKind::button:
            widget = gtk_button_new_with_label(text);
            g_signal_connect(widget, "clicked", G_CALLBACK(onClicked), this);
            break;
        case ControlKind::group: widget = gtk_frame_new(text); break;
        case ControlKind::dropDown:
            widget = gtk_combo_box_text_new();
            g_signal_connect(widget, "changed", G_CALLBACK(onListChanged), this);
            break;
        case ControlKind::checkBox:
            widget = gtk_check_button_new_with_label(text);
            g_signal_connect(widget, "toggled", G_CALLBACK(onToggled), this);
            break;
        case ControlKind::label:
            widget = gtk_label_new(text);
            gtk_label_set_xalign(GTK_LABEL(widget), 0.0f);
            gtk_label_set_ellipsize(GTK_LABEL(widget), PANGO_ELLIPSIZE_END);
            break;
        case ControlKind::trackbar:
            widget = gtk_scale_new(GTK_ORIENTATION_HORIZONTAL, nullptr);
            gtk_scale_set_draw_value(GTK_SCALE(widget), FALSE);
            g_signal_connect(widget, "change-value", G_CALLBACK(onScroll), this);
            break;
        case ControlKind::picture:
            widget = pictureWidget(pixelsAcross(control.place.width), pixelsDown(control.place.height));
            break;
    }
    g_object_set_data(G_OBJECT(widget), kIdKey, GINT_TO_POINTER(control.id));
    return widget;
}

void GtkConfigDialog::place(GtkWidget* widget, const ControlTemplate& control) {
    // A drop-down's template height includes its open list; closed, it is one line high.
    int height = control.kind == ControlKind::dropDown ? 14 : control.place.height;
    gtk_widget_set_size_request(widget, pixelsAcross(control.place.width), pixelsDown(height));
    gtk_fixed_put(GTK_FIXED(fixed_), widget, pixelsAcross(control.place.x), pixelsDown(control.place.y));
}

void GtkConfigDialog::fillLists() {
    syncing_ = true;
    setListItems(controls_[control::modeList], model_.modeItems());
    setListItems(controls_[control::cameraSpeed], model_.speedItems());
    syncing_ = false;
}

void GtkConfigDialog::refresh() {
    syncing_ = true;
    gtk_combo_box_set_active(GTK_COMBO_BOX(controls_[control::modeList]), model_.modeSelection());
    gtk_combo_box_set_active(GTK_COMBO_BOX(controls_[control::cameraSpeed]), model_.speedSelection());
    for (auto& [id, widget] : controls_) {
        if (GTK_IS_CHECK_BUTTON(widget)) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), model_.isChecked(id));
        if (GTK_IS_LABEL(widget) && !model_.labelText(id).empty()) {
            gtk_label_set_text(GTK_LABEL(widget), model_.labelText(id).c_str());
        }
        if (GTK_IS_SCALE(widget)) {
            TrackbarRange range = model_.trackbarRange(id);
            gtk_range_set_range(GTK_RANGE(widget), range.minimum, range.maximum);
            gtk_range_set_increments(GTK_RANGE(widget), 1, range.pageSize);
            gtk_range_set_value(GTK_RANGE(widget), model_.trackbarPosition(id));
        }
        gtk_widget_set_sensitive(widget, model_.isEnabled(id));
    }
    syncing_ = false;
}

void GtkConfigDialog::perform(DialogAction action) {
    switch (action) {
        case DialogAction::notHandled: return;
        case DialogAction::handled: refresh(); return;
        case DialogAction::closeOk:
        case DialogAction::closeCancel: close(action); return;
        case DialogAction::saveFailed:
            refresh();
            showMessage(GTK_MESSAGE_ERROR, "The settings could not be saved to " + settingsPath_ +
                                               (saveProblem_.empty() ? "." : ":\n" + saveProblem_ + "."));
            return;
        case DialogAction::openWebPage: openHelpPage(); return;
        case DialogAction::showAbout: showAbout(); return;
    }
}

// The desktop's handler for the page (its browser), through GIO.
void GtkConfigDialog::openHelpPage() {
    const std::string& page = model_.visitTarget();
    if (page.empty()) {
        showMessage(GTK_MESSAGE_ERROR, "The help page voidrift.html is not installed beside the screensaver's data.");
        return;
    }
    GError* error = nullptr;
    gchar* uri = g_filename_to_uri(page.c_str(), nullptr, &error);
    if (uri && g_app_info_launch_default_for_uri(uri, nullptr, &error)) {
        g_free(uri);
        return;
    }
    g_free(uri);
    showMessage(GTK_MESSAGE_ERROR, "Cannot open " + page + ": " + (error ? error->message : "no handler"));
    if (error) g_error_free(error);
}

void GtkConfigDialog::showAbout() {
    GtkWidget* about = gtk_dialog_new_with_buttons("About", GTK_WINDOW(window_),
                                                   GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                                   "OK", control::ok, nullptr);
    gtk_window_set_resizable(GTK_WINDOW(about), FALSE);
    gtk_window_set_default_size(GTK_WINDOW(about), pixelsAcross(kAboutBoxSize.width), pixelsDown(kAboutBoxSize.height));
    GtkWidget* frame = gtk_frame_new(nullptr);
    GtkWidget* name = gtk_label_new("Voidrift 3D ScreenSaver");
    gtk_widget_set_margin_top(name, 24);
    gtk_widget_set_margin_bottom(name, 24);
    gtk_container_add(GTK_CONTAINER(frame), name);
    gtk_container_set_border_width(GTK_CONTAINER(frame), 12);
    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(about))), frame, TRUE, TRUE, 0);
    gtk_dialog_set_default_response(GTK_DIALOG(about), control::ok);
    // The template centres its one button under the text.
    GtkWidget* buttons = gtk_widget_get_parent(gtk_dialog_get_widget_for_response(GTK_DIALOG(about), control::ok));
    gtk_widget_set_halign(buttons, GTK_ALIGN_CENTER);
    gtk_widget_show_all(about);
    gtk_dialog_run(GTK_DIALOG(about));
    gtk_widget_destroy(about);
}

void GtkConfigDialog::showMessage(GtkMessageType type, const std::string& text) {
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(window_), GTK_DIALOG_MODAL, type, GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(box), type == GTK_MESSAGE_ERROR ? "Error" : "Voidrift 3D Screensaver");
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

void GtkConfigDialog::close(DialogAction action) {
    result_ = action;
    gtk_widget_hide(window_);
    gtk_main_quit();
}

void GtkConfigDialog::onToggled(GtkToggleButton* button, gpointer self) {
    auto* dialog = static_cast<GtkConfigDialog*>(self);
    if (!dialog->syncing_) dialog->perform(dialog->model_.command(controlId(button)));
}

void GtkConfigDialog::onClicked(GtkButton* button, gpointer self) {
    auto* dialog = static_cast<GtkConfigDialog*>(self);
    dialog->perform(dialog->model_.command(controlId(button)));
}

void GtkConfigDialog::onListChanged(GtkComboBox* list, gpointer self) {
    auto* dialog = static_cast<GtkConfigDialog*>(self);
    if (!dialog->syncing_) dialog->model_.listSelectionChanged(controlId(list), gtk_combo_box_get_active(list));
}

// The thumb moves here, then the model reads both trackbars, as it would from the system's.
gboolean GtkConfigDialog::onScroll(GtkRange* range, GtkScrollType type, gdouble value, gpointer self) {
    auto* dialog = static_cast<GtkConfigDialog*>(self);
    if (dialog->syncing_) return FALSE;
    TrackbarRange limits = dialog->model_.trackbarRange(controlId(range));
    dialog->syncing_ = true;
    gtk_range_set_value(range, std::clamp(std::round(value), double(limits.minimum), double(limits.maximum)));
    dialog->syncing_ = false;
    int volume = int(gtk_range_get_value(GTK_RANGE(dialog->controls_[control::volume])));
    int brightness = int(gtk_range_get_value(GTK_RANGE(dialog->controls_[control::brightness])));
    dialog->model_.horizontalScroll(scrollCode(type), volume, brightness);
    dialog->refresh();
    return TRUE;
}

// Enter is OK and Escape is Cancel wherever the focus is, except that Enter on a push
// button presses that button.
gboolean GtkConfigDialog::onKey(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto* dialog = static_cast<GtkConfigDialog*>(self);
    if (event->keyval == GDK_KEY_Escape) {
        dialog->perform(dialog->model_.command(control::cancel));
        return TRUE;
    }
    if (event->keyval != GDK_KEY_Return && event->keyval != GDK_KEY_KP_Enter) return FALSE;
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog->window_));
    if (focus && GTK_IS_BUTTON(focus) && !GTK_IS_TOGGLE_BUTTON(focus)) return FALSE;
    dialog->perform(dialog->model_.command(control::ok));
    return TRUE;
}

gboolean GtkConfigDialog::onDelete(GtkWidget*, GdkEvent*, gpointer self) {
    auto* dialog = static_cast<GtkConfigDialog*>(self);
    dialog->perform(dialog->model_.command(control::cancel));
    return TRUE;
}
