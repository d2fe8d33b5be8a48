// The preview: a "QennPreview" child window that covers the display control panel's
// preview area with bitmap 112 until the panel destroys it.
#pragma once

#include <windows.h>

// Copies `picture` to the top-left corner of `target`, a plain source copy: at its own size
// at 96 DPI, scaled with the DPI above that, so it covers the same part of the preview area.
void paintPreviewPicture(HDC target, HBITMAP picture, int dpi = 96);

LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the preview inside `parent` until it ends; false when the window cannot be created
// (no parent, or a handle that names no window).
bool runPreviewWindow(HINSTANCE instance, HWND parent, int showCommand);
