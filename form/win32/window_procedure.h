// The window procedure of each of Trolvane's window classes: it finds the
// object that made the window and hands it every message.
#pragma once

#include <windows.h>

namespace trolvane {

// The object is CreateWindowExW's last parameter; it keeps its window's handle
// in window_, handles messages in Handle, and makes this a friend.
template <typename Window>
LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* made = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        made->window_ = handle;
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    return window != nullptr ? window->Handle(message, wParam, lParam)
                             : DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace trolvane
