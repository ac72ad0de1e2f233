#include "form/win32/files.h"

#include "form/win32/text.h"

namespace trolvane {
namespace {

// Windows' own sentence for an error code.
std::string SystemMessage(DWORD error) {
    wchar_t text[512] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, 512, nullptr);
    std::wstring message = text;
    message.erase(message.find_last_not_of(L"\r\n ") + 1);
    return Utf8(message);
}

// Writes the bytes into a file of this name that did not exist; the error, or
// 0 where they were written whole.
DWORD WriteNewFile(const std::wstring& file, std::string_view bytes) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    DWORD written = 0;
    const bool whole =
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(handle);
    DWORD error = whole ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(handle) && whole) {
        error = GetLastError();
    }
    return error;
}

}  // namespace

OPENFILENAMEW FileDialogRequest(HWND owner, const wchar_t* kinds, std::wstring& file, DWORD flags) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kinds;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | flags;
    return dialog;
}

std::optional<std::wstring> SaveFileName(HWND owner, const wchar_t* kinds, std::wstring_view name,
                                         const wchar_t* extension) {
    std::wstring file(kLongestPath, L'\0');
    file.replace(0, name.size(), name);
    OPENFILENAMEW dialog = FileDialogRequest(owner, kinds, file, OFN_OVERWRITEPROMPT);
    dialog.lpstrDefExt = extension;
    if (!GetSaveFileNameW(&dialog)) {
        return std::nullopt;
    }
    file.resize(file.find(L'\0'));
    return file;
}

std::string WriteWholeFile(const std::wstring& file, std::string_view bytes) {
    const std::wstring temporary = file + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(GetTickCount64()) + L".tmp";
    DWORD error = WriteNewFile(temporary, bytes);
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(temporary.c_str(), file.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error == ERROR_SUCCESS) {
        return "";
    }
    DeleteFileW(temporary.c_str());
    return SystemMessage(error);
}

}  // namespace trolvane
