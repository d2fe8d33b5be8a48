// The Win32 view over template 101 with the real controls: every control of the table is
// there, the controls show the model's state, and clicks, trackbar moves and OK reach the
// model through the dialog procedure.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dialog/win32/Win32ConfigDialog.h"

namespace {

std::string itemText(HWND dialog, int id) {
    char text[128] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

LRESULT send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

}  // namespace

TEST(Win32ConfigDialog, ShowsTheModelAndPassesClicksTrackbarsAndOkToIt) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Settings record;
    record.useDesktop = false;
    record.width = 800;
    record.height = 600;
    record.depth = 32;
    record.enableMusic = true;
    record.volume = 40;
    record.defGamma = false;
    record.gamma = 20;
    record.timeScale = 1;
    int saves = 0;
    ConfigDialogModel model(record, {{640, 480, 16}, {800, 600, 32}, {800, 600, 32}, {320, 240, 16}},
                            {1024, 768, 32}, [&saves](const Settings&) { return ++saves > 0; });
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), nullptr, configDialogProc,
                                     reinterpret_cast<LPARAM>(&model));
    ASSERT_NE(dialog, nullptr);

    for (int id : {1, 2, 1000, 1001, 1028, 1004, 1027, 1011, 1030, 1029, 1032, 1017, 1026, 1003, 1033, 1023, 1035,
                   1007, 1008, 1006}) {
        EXPECT_NE(GetDlgItem(dialog, id), nullptr) << "control " << id;
    }
    char title[128] = {};
    GetWindowTextA(dialog, title, sizeof title);
    EXPECT_STREQ(title, "Voidrift 3D ScreenSaver Configuration");

    // The state at the start.
    EXPECT_EQ(send(dialog, 1000, CB_GETCOUNT), 2);
    EXPECT_EQ(send(dialog, 1000, CB_GETCURSEL), 1);
    EXPECT_EQ(send(dialog, 1033, CB_GETCOUNT), 3);
    EXPECT_EQ(send(dialog, 1033, CB_GETCURSEL), 1);
    EXPECT_EQ(itemText(dialog, 1017), "Volume (40%)");
    EXPECT_EQ(itemText(dialog, 1030), "Brightness (70%)");
    EXPECT_EQ(itemText(dialog, 1035), ConfigDialogModel::invitationText());
    EXPECT_EQ(send(dialog, 1026, TBM_GETRANGEMIN), 1);
    EXPECT_EQ(send(dialog, 1026, TBM_GETRANGEMAX), 100);
    EXPECT_EQ(send(dialog, 1026, TBM_GETPOS), 40);
    EXPECT_EQ(send(dialog, 1029, TBM_GETPOS), 20);
    EXPECT_TRUE(checked(dialog, 1003));
    EXPECT_FALSE(checked(dialog, 1001));
    EXPECT_TRUE(enabled(dialog, 1000));
    EXPECT_TRUE(enabled(dialog, 1026));

    // A click goes through the model: music off disables its trackbar and label.
    send(dialog, 1003, BM_CLICK);
    EXPECT_FALSE(record.enableMusic);
    EXPECT_FALSE(checked(dialog, 1003));
    EXPECT_FALSE(enabled(dialog, 1026));
    EXPECT_FALSE(enabled(dialog, 1017));
    send(dialog, 1001, BM_CLICK);
    EXPECT_TRUE(record.useDesktop);
    EXPECT_FALSE(enabled(dialog, 1000));

    // A drag of the brightness thumb takes; an arrow-key step does not.
    send(dialog, 1029, TBM_SETPOS, TRUE, 60);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 60), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1029)));
    EXPECT_EQ(record.gamma, 60);
    EXPECT_EQ(itemText(dialog, 1030), "Brightness (110%)");
    send(dialog, 1029, TBM_SETPOS, TRUE, 61);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_LINEDOWN, 0), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1029)));
    EXPECT_EQ(record.gamma, 60);

    // A new pick in the speed list, then OK: stored once, with the picks.
    send(dialog, 1033, CB_SETCURSEL, 2);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1033, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1033)));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(record.timeScale, 2u);
    EXPECT_EQ(record.width, 800u);
    DestroyWindow(dialog);

    HWND about = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(105), nullptr, aboutDialogProc, 0);
    ASSERT_NE(about, nullptr);
    GetWindowTextA(about, title, sizeof title);
    EXPECT_STREQ(title, "About");
    DestroyWindow(about);
}

namespace {

// The room a control's text needs, in the control's own font: a check box's box and gap
// come before its text; a push button and a group box want a little margin.
SIZE textNeeds(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    SIZE size = {};
    if (text[0] == L'\0') return size;
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    LONG style = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiW(kind, L"Button") == 0) {
        if (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX) size.cx += GetSystemMetrics(SM_CXMENUCHECK) + 2;
        else size.cx += 4;
    }
    return size;
}

// Prints "dialog WIDTHxHEIGHT px" for the script that compares DPIs.
void expectTextFits(HWND dialog, const char* name) {
    RECT outer;
    GetWindowRect(dialog, &outer);
    std::printf("%s %ldx%ld px\n", name, outer.right - outer.left, outer.bottom - outer.top);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        SIZE needs = textNeeds(control);
        RECT area;
        GetClientRect(control, &area);
        char text[256] = {};
        GetWindowTextA(control, text, sizeof text);
        EXPECT_LE(needs.cx, area.right) << name << ": \"" << text << "\" is clipped across";
        EXPECT_LE(needs.cy, area.bottom + 2) << name << ": \"" << text << "\" is clipped down";
    }
}

}  // namespace

// At whatever DPI Wine or Windows is set to (the Windows checks run this at 96 and 192):
// every text of both dialogs fits its control in the dialog's font.
TEST(Win32ConfigDialog, TextFitsItsControls) {
    Settings record;
    ConfigDialogModel model(record, {{800, 600, 32}}, {1024, 768, 32}, [](const Settings&) { return true; });
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), nullptr, configDialogProc,
                                     reinterpret_cast<LPARAM>(&model));
    ASSERT_NE(dialog, nullptr);
    expectTextFits(dialog, "dialog");
    DestroyWindow(dialog);
    HWND about = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(105), nullptr, aboutDialogProc, 0);
    ASSERT_NE(about, nullptr);
    expectTextFits(about, "about");
    DestroyWindow(about);
}
