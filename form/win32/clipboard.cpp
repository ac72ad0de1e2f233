#include "form/win32/clipboard.h"

#include <cstring>

#include "form/win32/text.h"

namespace trolvane {
namespace {

// A byte offset as the header writes it: ten digits, zero-padded.
std::string Offset(std::size_t bytes) {
    std::string digits = std::to_string(bytes);
    return std::string(10 - digits.size(), '0') + digits;
}

// Hands the clipboard a copy of the bytes; it owns them once they are set.
bool SetClipboardBytes(UINT format, const void* bytes, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return false;
    }
    std::memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

}  // namespace

std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (OpenClipboard(owner)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    return text;
}

std::string HtmlClipboardFormat(std::string_view fragment) {
    constexpr std::string_view kOpening = "<html>\r\n<body>\r\n<!--StartFragment-->";
    constexpr std::string_view kClosing = "<!--EndFragment-->\r\n</body>\r\n</html>";
    const auto header = [](std::size_t startHtml, std::size_t endHtml, std::size_t startFragment,
                           std::size_t endFragment) {
        return "Version:0.9\r\nStartHTML:" + Offset(startHtml) + "\r\nEndHTML:" + Offset(endHtml) +
               "\r\nStartFragment:" + Offset(startFragment) +
               "\r\nEndFragment:" + Offset(endFragment) + "\r\n";
    };
    const std::size_t startHtml = header(0, 0, 0, 0).size();
    const std::size_t startFragment = startHtml + kOpening.size();
    const std::size_t endFragment = startFragment + fragment.size();
    const std::size_t endHtml = endFragment + kClosing.size();
    return header(startHtml, endHtml, startFragment, endFragment) + std::string(kOpening) +
           std::string(fragment) + std::string(kClosing);
}

bool PutOnClipboard(HWND owner, std::initializer_list<ClipboardBytes> formats) {
    if (!OpenClipboard(owner)) {
        return false;
    }
    EmptyClipboard();
    bool put = true;
    for (const ClipboardBytes& each : formats) {
        put = put && SetClipboardBytes(each.format, each.bytes.data(), each.bytes.size());
    }
    CloseClipboard();
    return put;
}

bool PutOnClipboard(HWND owner, std::string_view text, std::string_view html) {
    const std::wstring wide = Wide(WindowsLineEnds(text));
    const std::string document = HtmlClipboardFormat(html);
    return PutOnClipboard(
        owner,
        {{CF_UNICODETEXT,
          {reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * sizeof(wchar_t)}},
         {RegisterClipboardFormatW(L"HTML Format"), {document.c_str(), document.size() + 1}}});
}

}  // namespace trolvane
