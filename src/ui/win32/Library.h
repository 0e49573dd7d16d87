#pragma once

#include <windows.h>

namespace surftally {

// A function of a DLL loaded at run time, by name; null where the DLL has none.
template <class Function>
Function LibraryFunction(HMODULE module, const char* name) {
    // Through the generic function type, which the compiler accepts from FARPROC.
    return module == nullptr ? nullptr
                             : reinterpret_cast<Function>(
                                   reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace surftally
