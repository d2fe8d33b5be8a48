/* Stands in for the display control panel: makes a top-level window, starts
   "voidrift.scr /p HWND" inside it, checks that a "QennPreview" child titled "Qenn" covers
   its client area, destroys the window and checks that the saver ends within 2 seconds.
   Usage: preview_host.exe PATH-TO-SCR. Exit code 0 when all holds; the reason on stdout. */
#include <stdio.h>
#include <windows.h>

static void pumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

static int fail(const char* reason, PROCESS_INFORMATION* process) {
    printf("%s\n", reason);
    if (process) TerminateProcess(process->hProcess, 1);
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 2) return fail("usage: preview_host PATH-TO-SCR", NULL);
    HWND area = CreateWindowExA(0, "STATIC", "Preview area", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 260, 220,
                                NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (!area) return fail("cannot make the preview area", NULL);
    pumpFor(200);

    char line[1024];
    snprintf(line, sizeof line, "\"%s\" /p %lu", argv[1], (unsigned long)(UINT_PTR)area);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        return fail("cannot start the saver", NULL);
    }

    HWND child = NULL;
    for (int i = 0; i < 150 && !child; ++i) {
        pumpFor(100);
        child = FindWindowExA(area, NULL, "QennPreview", "Qenn");
    }
    if (!child) return fail("no QennPreview child titled Qenn", &process);

    RECT client;
    RECT covered;
    GetClientRect(area, &client);
    MapWindowPoints(area, NULL, (POINT*)&client, 2);
    GetWindowRect(child, &covered);
    if (!EqualRect(&client, &covered) || !IsWindowVisible(child)) {
        printf("child at %ld,%ld-%ld,%ld, client area %ld,%ld-%ld,%ld\n", covered.left, covered.top, covered.right,
               covered.bottom, client.left, client.top, client.right, client.bottom);
        return fail("the child does not cover the client area", &process);
    }

    DestroyWindow(area);
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        pumpFor(0);
        if (GetTickCount() - start > 2000) return fail("the saver still runs 2 s after its window went", &process);
    }
    printf("preview covered %ldx%ld and ended %lu ms after its window\n", client.right - client.left,
           client.bottom - client.top, (unsigned long)(GetTickCount() - start));
    return 0;
}
