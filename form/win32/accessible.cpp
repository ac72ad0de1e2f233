// The accessibility GUIDs are defined here, once for the program.
#include <initguid.h>

#include "form/win32/accessible.h"

namespace trolvane {

void Annotate(HWND control, const MSAAPROPID& property, const std::wstring& text) {
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        services->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, property, text.c_str());
        services->Release();
    }
}

}  // namespace trolvane
