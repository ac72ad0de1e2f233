// The clipboard on Windows: the text a paste brings, and results put there as
// text and as the HTML that word processors and spreadsheets paste as a table.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace trolvane {

// The clipboard's text; empty where it holds none.
std::wstring ClipboardText(HWND owner);

// An HTML fragment in the clipboard's "HTML Format": a header giving the byte
// offsets of the document and of the fragment, then the document, in UTF-8.
std::string HtmlClipboardFormat(std::string_view fragment);

// Puts text and HTML on the clipboard in place of what it held; false when the
// clipboard could not be opened.
bool PutOnClipboard(HWND owner, std::string_view text, std::string_view html);

}  // namespace trolvane
