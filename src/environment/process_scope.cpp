#include "environment/process_scope.h"

#include "environment/cached_listing.h"
#include "environment/value_pair.h"
#include "environment/value_pairs.h"
#include "library/bstr.h"
#include "library/class_table.h"
#include "library/dispatch_object.h"
#include "platform/platform.h"
#include "zolbex11_interfaces.h"

namespace zolbex {

EnvironmentEntry SplitEnvironmentEntry(std::wstring_view entry) {
    const size_t separator = entry.find(L'=', 1);
    if (entry.empty() || separator == std::wstring_view::npos) return {};
    return {entry.substr(0, separator), entry.substr(separator + 1), true};
}

namespace {

class ProcessScope final : public DispatchObject<_clsZolbexENVProcessA> {
public:
    HRESULT STDMETHODCALLTYPE get_List(_clsZolbexENVValuePairsA** pRetVal) override {
        return listing_.HandOut(pRetVal, FillList);
    }

    HRESULT STDMETHODCALLTYPE get_Environment(BSTR strName, BSTR* pRetVal) override {
        return Guarded([&] {
            RequirePointer(pRetVal);
            *pRetVal = nullptr;
            auto value = platform::Current().ReadVariable(Bstr::Copy(strName).Str());
            *pRetVal = NewBstr(value ? *value : std::wstring());  // a missing variable reads as ""
        });
    }

    HRESULT STDMETHODCALLTYPE put_Environment(BSTR strName, BSTR sNewValue) override {
        return Guarded([&] {
            // A refused name or value goes unnoticed, as the scope promises no errors here.
            platform::Current().WriteVariable(Bstr::Copy(strName).Str(), Bstr::Copy(sNewValue).Str());
        });
    }

private:
    static void FillList(ValuePairs& list) {
        for (const std::wstring& text : platform::Current().EnvironmentEntries()) {
            const EnvironmentEntry entry = SplitEnvironmentEntry(text);
            if (!entry.valid) continue;
            // A name that repeats (ignoring case) is listed by position only.
            list.AddOrAppend(NewValuePair(entry.name, entry.value).Get(), entry.name);
        }
    }

    CachedListing listing_;
};

}  // namespace

ComPtr<IDispatch> NewProcessScope() { return ComPtr<IDispatch>(MakeObject<ProcessScope>().Get()); }

}  // namespace zolbex
