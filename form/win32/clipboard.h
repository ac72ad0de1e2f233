// The clipboard on Windows: the text a paste brings, results put there as text
// and as the HTML that word processors and spreadsheets paste as a table, and
// pictures in several formats at once.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace trolvane {

// The clipboard's text; empty where it holds none.
std::wstring ClipboardText(HWND owner);

// An HTML fragment in the clipboard's "HTML Format": a header giving the byte
// offsets of the document and of the fragment, then the document, in UTF-8.
std::string HtmlClipboardFormat(std::string_view fragment);

// One format's bytes, as the clipboard is to hold them.
struct ClipboardBytes {
    UINT format;
    std::string_view bytes;
};

// Puts the formats on the clipboard together, in place of what it held; false
// when the clipboard could not be opened or would not take them.
bool PutOnClipboard(HWND owner, std::initializer_list<ClipboardBytes> formats);

// Puts text and HTML on the clipboard in place of what it held; false when the
// clipboard could not be opened.
bool PutOnClipboard(HWND owner, std::string_view text, std::string_view html);

}  // namespace trolvane
