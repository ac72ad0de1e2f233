// Trolvane's entry point on Windows: the command line, its one window and the
// message loop, which moves the keyboard between the boxes as a dialog does.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "form/about.h"
#include "form/win32/main_form.h"

// The window has no console to print why the program ended, so a C++ failure
// nothing caught ends it at once, as the default handler would after printing;
// its printing would bring 60 KB of name demangling into the exe.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

namespace {

// The options that print a text and end the program without a window.
struct Option {
    const wchar_t* name;
    std::string (*text)();
};
constexpr Option kOptions[] = {
    {L"--help", trolvane::CommandLineHelp},
    {L"--version", trolvane::NameAndVersion},
};

std::vector<std::wstring> Arguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> taken(arguments + 1, arguments + count);
    LocalFree(arguments);
    return taken;
}

// Prints to the output the program was started with, else to the console of
// the command prompt that started it; with neither, a message box shows it.
void Print(const std::string& text) {
    const std::string lines = trolvane::WindowsLineEnds(text.ends_with('\n') ? text : text + "\n");
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((output == nullptr || output == INVALID_HANDLE_VALUE) &&
        AttachConsole(ATTACH_PARENT_PROCESS)) {
        output = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(output, &mode)) {
        const std::wstring wide = trolvane::Wide(lines);
        WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else if (output == nullptr || output == INVALID_HANDLE_VALUE ||
               !WriteFile(output, lines.data(), static_cast<DWORD>(lines.size()), &written,
                          nullptr)) {
        MessageBoxW(nullptr, trolvane::Wide(lines).c_str(), L"Trolvane", MB_OK);
    }
}

}  // namespace

// trolvane.exe [FILE]: the window, with the data dialog showing FILE.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const std::vector<std::wstring> arguments = Arguments();
    for (const Option& option : kOptions) {
        if (!arguments.empty() && arguments.front() == option.name) {
            Print(option.text());
            return 0;
        }
    }
    // Screen readers are told the boxes' names through COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    trolvane::MainForm form(instance);
    ShowWindow(form.window(), show);
    if (!arguments.empty()) {
        UpdateWindow(form.window());
        form.OpenDataFile(arguments.front());
    }
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
