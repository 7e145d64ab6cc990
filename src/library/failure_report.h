// A failing member's error as the late-bound caller receives it: its error object (or the
// runtime's standard text for its number) in EXCEPINFO, and DISP_E_EXCEPTION.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace zolbex {

// DISP_E_EXCEPTION with `exception` filled in; `hr` itself when the caller passed no EXCEPINFO.
HRESULT ReportMemberFailure(HRESULT hr, EXCEPINFO* exception);

}  // namespace zolbex
