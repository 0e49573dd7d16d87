#include "ui/win32/Accessible.h"

// clang-format off
#include <initguid.h>
#include <oleacc.h>
// clang-format on

#include <utility>

#include "ui/win32/Text.h"

namespace surftally::Win32Accessible {

bool Describe(HWND hwnd, const std::string& name, const std::string& description) {
    // Once, on the user interface thread, which is the only one that calls here; a thread
    // already in another apartment still reaches the in-process service.
    static const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;
    IAccPropServices* services = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return false;
    }
    bool stored = true;
    for (const auto& [property, text] :
         {std::pair{PROPID_ACC_NAME, &name}, std::pair{PROPID_ACC_DESCRIPTION, &description}}) {
        MSAAPROPID id = property;
        const HRESULT result =
            text->empty() ? services->ClearHwndProps(hwnd, OBJID_CLIENT, CHILDID_SELF, &id, 1)
                          : services->SetHwndPropStr(hwnd, OBJID_CLIENT, CHILDID_SELF, id,
                                                     Wide(*text).c_str());
        stored = stored && SUCCEEDED(result);
    }
    services->Release();
    return stored;
}

}  // namespace surftally::Win32Accessible
