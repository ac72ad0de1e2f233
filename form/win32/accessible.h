// What screen readers are told of a control beyond what Windows knows of it:
// its name, or a description of what it shows.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace trolvane {

// Sets the control's name (PROPID_ACC_NAME) or description
// (PROPID_ACC_DESCRIPTION); COM must be started on this thread.
void Annotate(HWND control, const MSAAPROPID& property, const std::wstring& text);

}  // namespace trolvane
