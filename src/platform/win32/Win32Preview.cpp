#include "platform/win32/Win32Preview.h"

#include "platform/win32/Dpi.h"

namespace {

constexpr int kPreviewBitmap = 112;
const char kPreviewClass[] = "QennPreview";

// Loaded once, on the window's creation, and kept for the process.
HBITMAP previewPicture = nullptr;

void paintWindow(HWND window) {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    if (previewPicture) paintPreviewPicture(target, previewPicture, windowDpi(window));
    EndPaint(window, &paint);
}

}  // namespace

void paintPreviewPicture(HDC target, HBITMAP picture, int dpi) {
    BITMAP size = {};
    GetObjectA(picture, sizeof size, &size);
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(memory, picture);
    int width = devicePixels(size.bmWidth, dpi);
    int height = devicePixels(size.bmHeight, dpi);
    if (width == size.bmWidth && height == size.bmHeight) {
        BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(target, HALFTONE);
        StretchBlt(target, 0, 0, width, height, memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
}

LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            if (!previewPicture) {
                auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
                previewPicture = LoadBitmapA(create->hInstance, MAKEINTRESOURCEA(kPreviewBitmap));
            }
            return 0;
        case WM_DESTROY:
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            paintWindow(window);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool runPreviewWindow(HINSTANCE instance, HWND parent, int showCommand) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = previewWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kPreviewClass;
    RegisterClassA(&windowClass);

    // A handle that names no window gives an empty rectangle and then no child.
    RECT area = {};
    if (parent) GetClientRect(parent, &area);
    AdjustWindowRect(&area, WS_CHILD | WS_VISIBLE, FALSE);
    HWND window = CreateWindowExA(0, kPreviewClass, "Qenn", WS_CHILD | WS_VISIBLE, area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, parent, nullptr, instance, nullptr);
    if (!window) return false;
    ShowWindow(window, showCommand);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}
