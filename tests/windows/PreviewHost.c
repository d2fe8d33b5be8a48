/* Stands in for the display control panel: makes a top-level window, starts
   "voidrift.scr /p HWND" inside it, checks that a "QennPreview" child titled "Qenn" covers
   its client area, destroys the window and checks that the saver ends within 2 seconds.
   With "live" after the path the area is wide enough for the live show, whose child is the
   show's own "MyWindow". With "ends" the area is as wide, and the saver (which cannot show
   the show: no data) must end by itself within 10 seconds, with no message box waiting.
   Usage: preview_host.exe PATH-TO-SCR [live|ends]. Exit code 0 when all holds; the reason
   on stdout. */
#include <stdio.h>
#include <string.h>
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
    if (argc < 2) return fail("usage: preview_host PATH-TO-SCR [live]", NULL);
    int ends = argc > 2 && strcmp(argv[2], "ends") == 0;
    int live = ends || (argc > 2 && strcmp(argv[2], "live") == 0);
    const char* childClass = live ? "MyWindow" : "QennPreview";
    const char* childTitle = live ? "Voidrift 3D Screensaver" : "Qenn";
    HWND area = CreateWindowExA(0, "STATIC", "Preview area", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                live ? 480 : 260, live ? 360 : 220, NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (!area) return fail("cannot make the preview area", NULL);
    pumpFor(200);

    char line[1024];
    snprintf(line, sizeof line, "\"%s\" /p %lu", argv[1], (unsigned long)(UINT_PTR)area);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    /* The saver's notes (stderr) reach whoever runs this host. */
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, line, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) {
        return fail("cannot start the saver", NULL);
    }

    if (ends) {
        DWORD begun = GetTickCount();
        while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
            pumpFor(0);
            if (GetTickCount() - begun > 10000) return fail("the saver still runs after 10 s: a message box?", &process);
        }
        printf("the saver ended by itself\n");
        return 0;
    }

    HWND child = NULL;
    /* Found once it is shown: a window becomes visible only at the end of its creation. */
    for (int i = 0; i < 150 && !(child && IsWindowVisible(child)); ++i) {
        pumpFor(100);
        child = FindWindowExA(area, NULL, childClass, childTitle);
    }
    if (!child || !IsWindowVisible(child)) {
        printf("no visible %s child titled %s\n", childClass, childTitle);
        return fail("the saver made no child", &process);
    }

    RECT client;
    RECT covered;
    GetClientRect(area, &client);
    MapWindowPoints(area, NULL, (POINT*)&client, 2);
    GetWindowRect(child, &covered);
    if (!EqualRect(&client, &covered)) {
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
