// Files on Windows: the names the open and save dialogs ask for, and files
// written whole or not at all.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <string>
#include <string_view>

namespace trolvane {

// Room for the longest path Windows allows.
constexpr DWORD kLongestPath = 32768;

// What Windows' file dialogs are asked: the kinds of file offered, and the
// file name, which they write into its buffer.
OPENFILENAMEW FileDialogRequest(HWND owner, const wchar_t* kinds, std::wstring& file, DWORD flags);

// The name the user chose in the save dialog, which offers `name` first and
// adds `extension` where none was typed; none when the user cancelled.
std::optional<std::wstring> SaveFileName(HWND owner, const wchar_t* kinds, std::wstring_view name,
                                         const wchar_t* extension);

// Writes the bytes as they are into the file, replacing it; what went wrong,
// or empty where it was written whole. They go to a temporary file beside it
// first, renamed once whole, so that a failed write leaves the file as it was
// and nothing half written.
std::string WriteWholeFile(const std::wstring& file, std::string_view bytes);

}  // namespace trolvane
