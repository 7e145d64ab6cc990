// HV_ZOLBEX11: holds one runtime object and one registry object, each created on first read.
#include "library/auto_field.h"
#include "library/class_table.h"
#include "library/dispatch_object.h"
#include "zolbex11_interfaces.h"

namespace zolbex {
namespace {

class Holder final : public DispatchObject<_HV_ZOLBEX11> {
public:
    ~Holder() override {
        // The runtime object goes first, then the registry object.
        runTime_.Clear();
        registry_.Clear();
    }

    HRESULT STDMETHODCALLTYPE get_m_clsZolbex11RunTimeA(_clsZolbex11RunTimeA** pRetVal) override {
        return runTime_.Get(pRetVal, [] { return Create<_clsZolbex11RunTimeA>(NewRunTime); });
    }
    HRESULT STDMETHODCALLTYPE put_m_clsZolbex11RunTimeA(_clsZolbex11RunTimeA* value) override { return runTime_.Assign(value); }
    HRESULT STDMETHODCALLTYPE putref_m_clsZolbex11RunTimeA(_clsZolbex11RunTimeA* value) override { return runTime_.Assign(value); }

    HRESULT STDMETHODCALLTYPE get_m_clsZolbexENVRegistryA(_clsZolbexENVRegistryA** pRetVal) override {
        return registry_.Get(pRetVal, [] { return Create<_clsZolbexENVRegistryA>(NewRegistry); });
    }
    HRESULT STDMETHODCALLTYPE put_m_clsZolbexENVRegistryA(_clsZolbexENVRegistryA* value) override { return registry_.Assign(value); }
    HRESULT STDMETHODCALLTYPE putref_m_clsZolbexENVRegistryA(_clsZolbexENVRegistryA* value) override { return registry_.Assign(value); }

private:
    AutoCreatedField<_clsZolbex11RunTimeA> runTime_;
    AutoCreatedField<_clsZolbexENVRegistryA> registry_;
};

}  // namespace

ComPtr<IDispatch> NewHolder() { return ComPtr<IDispatch>(MakeObject<Holder>().Get()); }

}  // namespace zolbex
