// Trolvane's entry point on Windows: its one window and the message loop, which
// moves the keyboard between the boxes as a dialog does.
#include <windows.h>

#include <objbase.h>

#include "form/win32/main_form.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    // Screen readers are told the boxes' names through COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    trolvane::MainForm form(instance);
    ShowWindow(form.window(), show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.TranslateKeys(message) || IsDialogMessageW(form.window(), &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CoUninitialize();
    return 0;
}
