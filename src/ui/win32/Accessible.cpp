#include "ui/win32/Accessible.h"

// clang-format off
#include <initguid.h>
#include <oleacc.h>
// clang-format on

#include <map>
#include <utility>

#include "ui/win32/Library.h"
#include "ui/win32/Text.h"

namespace surftally::Win32Accessible {

namespace {

struct Texts {
    std::string name;
    std::string description;
};

// The user interface thread is the only one that calls here.
std::map<HWND, Texts> waiting;
bool asked = false;

using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

// COM, loaded on first use and initialised once; null where it is missing. A thread already
// in another apartment still reaches the in-process service.
CoCreateInstanceFn comCreate() {
    static const CoCreateInstanceFn create = []() -> CoCreateInstanceFn {
        const HMODULE ole = ::LoadLibraryW(L"ole32.dll");
        const auto initialise = LibraryFunction<CoInitializeExFn>(ole, "CoInitializeEx");
        const auto creator = LibraryFunction<CoCreateInstanceFn>(ole, "CoCreateInstance");
        if (initialise == nullptr || creator == nullptr) {
            return nullptr;
        }
        (void)initialise(nullptr, COINIT_APARTMENTTHREADED);
        return creator;
    }();
    return create;
}

bool store(HWND hwnd, const Texts& texts) {
    const CoCreateInstanceFn create = comCreate();
    IAccPropServices* services = nullptr;
    if (create == nullptr ||
        FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                      reinterpret_cast<void**>(&services)))) {
        return false;
    }
    bool stored = true;
    for (const auto& [property, text] : {std::pair{PROPID_ACC_NAME, &texts.name},
                                         std::pair{PROPID_ACC_DESCRIPTION, &texts.description}}) {
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

}  // namespace

bool Describe(HWND hwnd, const std::string& name, const std::string& description) {
    if (!asked) {
        waiting[hwnd] = {name, description};
        return true;
    }
    return store(hwnd, {name, description});
}

void Asked() {
    if (asked) {
        return;
    }
    asked = true;
    for (const auto& [hwnd, texts] : std::exchange(waiting, {})) {
        if (::IsWindow(hwnd)) {
            store(hwnd, texts);
        }
    }
}

void Forget(HWND hwnd) {
    waiting.erase(hwnd);
}

std::size_t Waiting() {
    return waiting.size();
}

bool ClientAsked() {
    return asked;
}

}  // namespace surftally::Win32Accessible
