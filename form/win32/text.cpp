#include "form/win32/text.h"

#include <windows.h>

namespace trolvane {

std::wstring Wide(std::string_view text) {
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), int(wide.size()));
    return wide;
}

std::string Utf8(std::wstring_view text) {
    std::string narrow(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                           nullptr, nullptr),
                       '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), narrow.data(),
                        int(narrow.size()), nullptr, nullptr);
    return narrow;
}

std::string WindowsLineEnds(std::string_view text) {
    std::string ended;
    ended.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        if (text[i] == '\n' || text[i] == '\r') {
            ended += "\r\n";
        } else {
            ended += text[i];
        }
    }
    return ended;
}

}  // namespace trolvane
