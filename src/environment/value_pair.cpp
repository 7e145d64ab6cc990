#include "environment/value_pair.h"

#include "library/bstr.h"
#include "library/dispatch_object.h"

namespace zolbex {
namespace {

class ValuePair final : public DispatchObject<_clsZolbexENVValuePairA> {
public:
    ValuePair(std::wstring_view variable, std::wstring_view value) : variable_(variable), value_(value) {}

    HRESULT STDMETHODCALLTYPE get_Variable(BSTR* pRetVal) override { return GetText(variable_, pRetVal); }
    HRESULT STDMETHODCALLTYPE put_Variable(BSTR text) override { return SetText(variable_, text); }
    HRESULT STDMETHODCALLTYPE get_Value(BSTR* pRetVal) override { return GetText(value_, pRetVal); }
    HRESULT STDMETHODCALLTYPE put_Value(BSTR text) override { return SetText(value_, text); }

private:
    static HRESULT GetText(const Bstr& field, BSTR* pRetVal) {
        return Guarded([&] {
            RequirePointer(pRetVal);
            *pRetVal = NewBstr(field.View());
        });
    }
    static HRESULT SetText(Bstr& field, BSTR text) {
        return Guarded([&] { field = Bstr::Copy(text); });
    }

    Bstr variable_;
    Bstr value_;
};

}  // namespace

ComPtr<_clsZolbexENVValuePairA> NewValuePair(std::wstring_view variable, std::wstring_view value) {
    return ComPtr<_clsZolbexENVValuePairA>(MakeObject<ValuePair>(variable, value).Get());
}

}  // namespace zolbex
