// How the dispatcher sees one member of a dual interface, read once from the vtable half's
// function description, with aliases, enumerations and interface types resolved.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "library/variant.h"

namespace zolbex {

// How one parameter (or result) is passed through the vtable.
struct ParamInfo {
    VARTYPE type = VT_EMPTY;  // the value type: VT_BSTR, VT_I4, VT_VARIANT, VT_DISPATCH, VT_ARRAY|VT_BSTR ...
    IID interfaceId = IID_NULL;  // for interface pointers: the interface to query for
    bool byRef = false;
    bool optional = false;
    bool hasDefault = false;
    Variant defaultValue;  // set when hasDefault
};

// One vtable member (a method, or one accessor of a property).
struct MemberInfo {
    DISPID id = DISPID_UNKNOWN;
    INVOKEKIND kind = INVOKE_FUNC;
    short vtableOffset = 0;
    bool varArgs = false;   // the last parameter receives the variable argument list
    std::vector<ParamInfo> params;  // without the retval
    bool hasResult = false;
    ParamInfo result;
    // Why a parameter's or the result's type could not be resolved (S_OK when every one was):
    // such a member is never called, since nobody knows how its arguments are passed.
    HRESULT unresolvedType = S_OK;
};

// The member that `func`, a function of `owner`, describes.
MemberInfo DescribeMember(ITypeInfo* owner, const FUNCDESC& func);

}  // namespace zolbex
