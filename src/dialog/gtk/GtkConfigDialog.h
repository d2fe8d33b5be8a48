// The configuration dialog as a GTK 3 window: the template's controls placed by dialog
// units, every user action forwarded to the model, every control then set from it.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <string>

#include "app/ConfigDialogModel.h"
#include "dialog/gtk/DialogLayout.h"

class GtkConfigDialog {
public:
    // `openNote` is shown once the dialog is up (why the settings file was not read);
    // `saveProblem` says why the last OK could not store the settings.
    GtkConfigDialog(ConfigDialogModel& model, std::string settingsPath, std::string openNote,
                    const std::string& saveProblem);
    ~GtkConfigDialog();
    GtkConfigDialog(const GtkConfigDialog&) = delete;
    GtkConfigDialog& operator=(const GtkConfigDialog&) = delete;

    // Shows the dialog (above `parentWindow`, an X11 id, when not 0) and returns the model's
    // closing action: closeOk or closeCancel.
    DialogAction run(unsigned long parentWindow);

private:
    void build();
    GtkWidget* makeControl(const ControlTemplate& control);
    void place(GtkWidget* widget, const ControlTemplate& control);
    int pixelsAcross(int units) const;
    int pixelsDown(int units) const;
    void fillLists();
    void refresh();
    void perform(DialogAction action);
    void showAbout();
    void openHelpPage();
    void showMessage(GtkMessageType type, const std::string& text);
    void close(DialogAction action);

    static void onToggled(GtkToggleButton* button, gpointer self);
    static void onClicked(GtkButton* button, gpointer self);
    static void onListChanged(GtkComboBox* list, gpointer self);
    static gboolean onScroll(GtkRange* range, GtkScrollType type, gdouble value, gpointer self);
    static gboolean onKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static gboolean onDelete(GtkWidget* widget, GdkEvent* event, gpointer self);

    ConfigDialogModel& model_;
    std::string settingsPath_;
    std::string openNote_;
    const std::string& saveProblem_;
    GtkWidget* window_ = nullptr;
    GtkWidget* fixed_ = nullptr;
    std::map<int, GtkWidget*> controls_;
    GList* focusChain_ = nullptr;
    double unitX_ = 2.0;  // pixels per horizontal dialog unit
    double unitY_ = 2.0;
    bool syncing_ = false;  // set while the view copies the model into the controls
    DialogAction result_ = DialogAction::closeCancel;
};
