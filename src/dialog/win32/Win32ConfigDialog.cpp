// The dialog procedure passes each message to the model by control id and then shows the
// model's whole state again, so the controls never drift from the settings they show.
#include "dialog/win32/Win32ConfigDialog.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"

#include <string>
#include <vector>

namespace {

constexpr int kConfigTemplate = 101;
constexpr int kAboutTemplate = 105;

const int kCheckBoxIds[] = {control::useDesktop, control::enableMusic, control::showTime, control::mouseExit,
                            control::galaxy,     control::showFps,     control::vsync,    control::defGamma};
const int kEnabledIds[] = {control::modeList, control::volume, control::volumeLabel, control::brightness,
                           control::brightnessLabel};
const int kTrackbarIds[] = {control::volume, control::brightness};

// The common controls and the shell serve the dialog alone: loaded when it opens, so the
// show starts without them.
template <typename Function>
Function libraryFunction(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

ConfigDialogModel* modelOf(HWND dialog) {
    return reinterpret_cast<ConfigDialogModel*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

void fillList(HWND dialog, int id, const std::vector<std::string>& items) {
    SendDlgItemMessageA(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
        SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

void showState(HWND dialog, const ConfigDialogModel& model) {
    SendDlgItemMessageA(dialog, control::modeList, CB_SETCURSEL, static_cast<WPARAM>(model.modeSelection()), 0);
    SendDlgItemMessageA(dialog, control::cameraSpeed, CB_SETCURSEL, static_cast<WPARAM>(model.speedSelection()), 0);
    for (int id : kCheckBoxIds) CheckDlgButton(dialog, id, model.isChecked(id) ? BST_CHECKED : BST_UNCHECKED);
    for (int id : kEnabledIds) EnableWindow(GetDlgItem(dialog, id), model.isEnabled(id));
    SetDlgItemTextA(dialog, control::volumeLabel, model.labelText(control::volumeLabel).c_str());
    SetDlgItemTextA(dialog, control::brightnessLabel, model.labelText(control::brightnessLabel).c_str());
    for (int id : kTrackbarIds) {
        SendDlgItemMessageA(dialog, id, TBM_SETPOS, TRUE, model.trackbarPosition(id));
    }
}

void initializeControls(HWND dialog, ConfigDialogModel& model) {
    model.initialize();
    fillList(dialog, control::modeList, model.modeItems());
    fillList(dialog, control::cameraSpeed, model.speedItems());
    for (int id : kTrackbarIds) {
        TrackbarRange range = model.trackbarRange(id);
        SendDlgItemMessageA(dialog, id, TBM_SETRANGE, TRUE, MAKELPARAM(range.minimum, range.maximum));
        SendDlgItemMessageA(dialog, id, TBM_SETPAGESIZE, 0, range.pageSize);
    }
    SetDlgItemTextA(dialog, control::invitation, ConfigDialogModel::invitationText());
    showState(dialog, model);
}

int trackbarPosition(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0));
}

// The system's handler for .html files (the default browser) shows the page.
void openHelpPage(HWND dialog, const std::string& page) {
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static auto shellExecute = libraryFunction<ShellExecuteFn>("shell32.dll", "ShellExecuteW");
    auto opened = reinterpret_cast<INT_PTR>(
        page.empty() || !shellExecute
            ? nullptr
            : shellExecute(dialog, L"open", wideText(page).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened > 32) return;
    std::string text = page.empty() ? std::string("The help page voidrift.html is not installed beside the screensaver.")
                                    : "The help page " + page + " cannot be opened.";
    MessageBoxW(dialog, wideText(text).c_str(), L"Voidrift 3D Screensaver", MB_OK | MB_ICONERROR);
}

INT_PTR act(HWND dialog, DialogAction action) {
    switch (action) {
        case DialogAction::notHandled: return FALSE;
        case DialogAction::handled: break;
        case DialogAction::closeOk: EndDialog(dialog, IDOK); break;
        case DialogAction::closeCancel: EndDialog(dialog, IDCANCEL); break;
        case DialogAction::saveFailed:
            MessageBoxA(dialog, "The settings could not be stored in the registry.", "Voidrift 3D Screensaver",
                        MB_OK | MB_ICONERROR);
            break;
        case DialogAction::openWebPage: openHelpPage(dialog, modelOf(dialog)->visitTarget()); break;
        case DialogAction::showAbout:
            DialogBoxParamA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)),
                            MAKEINTRESOURCEA(kAboutTemplate), dialog, aboutDialogProc, 0);
            break;
    }
    return TRUE;
}

INT_PTR onCommand(HWND dialog, ConfigDialogModel& model, int id, int notification) {
    if (id == control::modeList || id == control::cameraSpeed) {
        // Only a new pick concerns the model; focus and drop-down notices do not.
        if (notification != CBN_SELCHANGE) return FALSE;
        model.listSelectionChanged(id, static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)));
        return TRUE;
    }
    INT_PTR result = act(dialog, model.command(id));
    if (result) showState(dialog, model);
    return result;
}

}  // namespace

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        initializeControls(dialog, *reinterpret_cast<ConfigDialogModel*>(lParam));
        return TRUE;
    }
    ConfigDialogModel* model = modelOf(dialog);
    if (!model) return FALSE;
    switch (message) {
        case WM_COMMAND: return onCommand(dialog, *model, LOWORD(wParam), HIWORD(wParam));
        case WM_HSCROLL:
            model->horizontalScroll(LOWORD(wParam), trackbarPosition(dialog, control::volume),
                                    trackbarPosition(dialog, control::brightness));
            showState(dialog, *model);
            return TRUE;
        default: return FALSE;
    }
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR runWin32ConfigDialog(HINSTANCE instance, HWND owner, ConfigDialogModel& model) {
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static auto initCommonControls = libraryFunction<InitFn>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    if (initCommonControls) initCommonControls(&controls);
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(kConfigTemplate), owner, configDialogProc,
                           reinterpret_cast<LPARAM>(&model));
}
