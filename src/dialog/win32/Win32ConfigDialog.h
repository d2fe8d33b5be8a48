// The Win32 view of the configuration dialog: template 101 driven by ConfigDialogModel.
#pragma once

#include <windows.h>

#include "app/ConfigDialogModel.h"

// Runs the dialog modally over `owner` (may be null) and returns 1 after OK, 2 after Cancel,
// -1 when the template cannot be shown.
INT_PTR runWin32ConfigDialog(HINSTANCE instance, HWND owner, ConfigDialogModel& model);

// The dialog procedures, public so a test can drive them with messages of its own.
INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
