// The scripting host's own shell object, which clients use for the same work when they do not
// have this library; the benchmarks measure against it where the runtime has it.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "library/com_ptr.h"

namespace zolbex::bench {

// A new WScript.Shell, or null where the runtime has none.
inline ComPtr<IDispatch> CreateScriptShell() {
    CLSID clsid;
    ComPtr<IDispatch> shell;
    if (FAILED(CLSIDFromProgID(L"WScript.Shell", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(shell.Put()))))
        return nullptr;
    return shell;
}

}  // namespace zolbex::bench
