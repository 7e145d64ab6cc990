// A failing member's error as the late-bound caller receives it: its error object (or the
// runtime's standard text for its number) in EXCEPINFO, and DISP_E_EXCEPTION.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace zolbex {

// DISP_E_EXCEPTION with `exception` filled in; `hr` itself when the caller passed no EXCEPINFO.
HRESULT ReportMemberFailure(HRESULT hr, EXCEPINFO* exception);

struct MemberInfo;
// Records the error of a member whose parameter or result type could not be resolved (a
// referenced type library missing or unregistered) as the thread's error object; its HRESULT.
HRESULT ReportUnresolvedType(const MemberInfo& member);

}  // namespace zolbex
