// The preview: a "QennPreview" child window that covers the display control panel's
// preview area with bitmap 112 until the panel destroys it.
#pragma once

#include <windows.h>

// Copies `picture` at its own size to the top-left corner of `target`, a plain source copy.
void paintPreviewPicture(HDC target, HBITMAP picture);

LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the preview inside `parent` until it ends; false when the window cannot be created
// (no parent, or a handle that names no window).
bool runPreviewWindow(HINSTANCE instance, HWND parent, int showCommand);
