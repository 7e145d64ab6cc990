#include "library/failure_report.h"

#include <cstring>

#include "library/com_ptr.h"
#include "library/errors.h"
#include "library/member_description.h"

namespace zolbex {

HRESULT ReportMemberFailure(HRESULT hr, EXCEPINFO* exception) {
    if (!exception) return hr;
    std::memset(exception, 0, sizeof(*exception));
    exception->scode = hr;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) {
        info->GetSource(&exception->bstrSource);
        info->GetDescription(&exception->bstrDescription);
        info->GetHelpFile(&exception->bstrHelpFile);
        info->GetHelpContext(&exception->dwHelpContext);
    }
    if (!exception->bstrDescription)
        exception->bstrDescription = SysAllocString(RuntimeErrorText(NumberOf(hr)).c_str());
    return DISP_E_EXCEPTION;
}

HRESULT ReportUnresolvedType(const MemberInfo& member) {
    return Report(ErrorOfFailedCall(member.unresolvedType, Error::UnresolvedType));
}

}  // namespace zolbex
