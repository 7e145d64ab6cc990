// The user and machine scopes: their members arrive with the stored-environment work; until
// then every member raises a clear "not available" error.
#include "library/class_table.h"
#include "library/dispatch_object.h"
#include "zolbex11_interfaces.h"

namespace zolbex {
namespace {

template <class Interface>
class PendingScope final : public DispatchObject<Interface> {
public:
    HRESULT STDMETHODCALLTYPE get_List(_clsZolbexENVValuePairsA** pRetVal) override {
        if (pRetVal) *pRetVal = nullptr;
        return Guarded([] { RaiseNotAvailable(L"List"); });
    }
    HRESULT STDMETHODCALLTYPE get_Environment(BSTR, BSTR* pRetVal) override {
        if (pRetVal) *pRetVal = nullptr;
        return Guarded([] { RaiseNotAvailable(L"Environment"); });
    }
    HRESULT STDMETHODCALLTYPE put_Environment(BSTR, BSTR) override {
        return Guarded([] { RaiseNotAvailable(L"Environment"); });
    }
};

}  // namespace

ComPtr<IDispatch> NewUserScope() {
    return ComPtr<IDispatch>(MakeObject<PendingScope<_clsZolbexENVUserA>>().Get());
}
ComPtr<IDispatch> NewSystemScope() {
    return ComPtr<IDispatch>(MakeObject<PendingScope<_clsZolbexENVSystemA>>().Get());
}

}  // namespace zolbex
