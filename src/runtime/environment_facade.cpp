// The environment members of the global application object. Each call works on a new scope
// object of the caller's style (scope_by_style.h) and adds what the facade owns: resolution of
// a leading %NAME% reference, the settings-store switch and records, and one error convention:
// every error is shown in a message box and the member returns normally with an empty result.
#include <string>

#include "library/bstr.h"
#include "runtime/declared_defaults.h"
#include "runtime/environment_settings.h"
#include "runtime/error_box.h"
#include "runtime/leading_reference.h"
#include "runtime/runtime_object.h"
#include "runtime/scope_by_style.h"
#include "runtime/trap.h"
#include "runtime/zlb_environ_get.h"

namespace zolbex {
namespace {

// Omitted arguments of a vtable caller read as the defaults a late-bound caller gets.
LONG StyleOf(const char* member, const LONG* lStyle) { return lStyle ? *lStyle : DeclaredLong(member, "lStyle"); }
std::wstring TextOf(const BSTR* text) { return text ? std::wstring(Bstr::ViewOf(*text)) : std::wstring(); }

// Runs a member's steps; an error ends them and is shown as "<number> , <description>" in an
// information box titled "ZOLBEX11.<member>" (where a box can be seen: error_box.h); what the
// earlier steps did stays done.
template <class Steps>
void RunReporting(const wchar_t* member, Steps&& steps) {
    const std::optional<AutomationError> error = Trap(steps);
    if (!error) return;
    ShowErrorBox(std::to_wstring(error->Number()) + L" , " + error->Description(),
                 std::wstring(kLibrarySource) + L"." + member, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

HRESULT RunTimeObject::EnvironGet(zolbexEnvironmentStyleConstants* lStyle, BSTR* sVariable, VARIANT_BOOL* bFullValue,
                                  BSTR* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = nullptr;
        std::wstring result;
        RunReporting(L"EnvironGet", [&] {
            LONG style = StyleOf("EnvironGet", lStyle);
            std::wstring value = ReadScopeVariable(style, TextOf(sVariable));
            if (bFullValue && *bFullValue == VARIANT_TRUE && HasLeadingReference(value)) {
                // The name is looked up by this same object in the same scope, with nothing
                // further resolved; that call reports its own errors and gives "" after one.
                value = ResolveLeadingReference(value, [&](const std::wstring& name) {
                    Bstr nested(name);
                    VARIANT_BOOL plain = VARIANT_FALSE;
                    Bstr found;
                    ThrowIfFailed(EnvironGet(&style, nested.InOut(), &plain, found.Put()));
                    return found.Str();
                });
            }
            result = std::move(value);
        });
        *pRetVal = NewBstr(result);
    });
}

HRESULT RunTimeObject::EnvironSet(zolbexEnvironmentStyleConstants* lStyle, BSTR* sVariable, BSTR* sVarValue,
                                  BSTR* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = nullptr;
        RunReporting(L"EnvironSet", [&] {
            const std::wstring name = TextOf(sVariable);
            if (CleanSwitchIsOn() && sVarValue) {
                // The caller's own variable is cleared with it, since it is passed by reference.
                BSTR empty = NewBstr(L"");
                SysFreeString(*sVarValue);
                *sVarValue = empty;
            }
            const std::wstring value = TextOf(sVarValue);
            WriteScopeVariable(StyleOf("EnvironSet", lStyle), name, value);
            // The scope keeps the text as given; the record holds it resolved, always against
            // the machine scope and through a separate runtime object.
            std::wstring recorded = value;
            if (HasLeadingReference(value)) {
                recorded = ResolveLeadingReference(value, [](const std::wstring& name) {
                    LONG machine = zolbexEnvironmentSystem;
                    Bstr nested(name);
                    VARIANT_BOOL plain = VARIANT_FALSE;
                    return ZLBEnvironGet(&machine, nested.InOut(), &plain);
                });
            }
            RecordVariableSet(name, recorded);
        });
        *pRetVal = NewBstr(L"");
    });
}

HRESULT RunTimeObject::EnvironList(zolbexEnvironmentStyleConstants* lStyle, _clsZolbexENVValuePairsA** pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = nullptr;
        ComPtr<_clsZolbexENVValuePairsA> list;
        RunReporting(L"EnvironList", [&] { list = ListScope(StyleOf("EnvironList", lStyle)); });
        *pRetVal = list.Detach();
    });
}

}  // namespace zolbex
