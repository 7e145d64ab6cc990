// clsZolbex11RunTimeA: the global application object.
#pragma once

#include "library/auto_field.h"
#include "library/dispatch_object.h"
#include "zolbex11_interfaces.h"

namespace zolbex {

class RunTimeObject final : public DispatchObject<_clsZolbex11RunTimeA> {
public:
    HRESULT STDMETHODCALLTYPE get_goFSO(IDispatch** pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_goFSO(IDispatch* value) override;
    HRESULT STDMETHODCALLTYPE putref_goFSO(IDispatch* value) override;
    HRESULT STDMETHODCALLTYPE get_goRegistry(_clsZolbexENVRegistryA** pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_goRegistry(_clsZolbexENVRegistryA* value) override;
    HRESULT STDMETHODCALLTYPE putref_goRegistry(_clsZolbexENVRegistryA* value) override;

    HRESULT STDMETHODCALLTYPE EnvironGet(zolbexEnvironmentStyleConstants* lStyle, BSTR* sVariable,
                                         VARIANT_BOOL* bFullValue, BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE EnvironSet(zolbexEnvironmentStyleConstants* lStyle, BSTR* sVariable,
                                         BSTR* sVarValue, BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE EnvironList(zolbexEnvironmentStyleConstants* lStyle,
                                          _clsZolbexENVValuePairsA** pRetVal) override;
    HRESULT STDMETHODCALLTYPE get_ExpandEnvVar(VARIANT_BOOL* pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_ExpandEnvVar(VARIANT_BOOL bNewValue) override;

    HRESULT STDMETHODCALLTYPE CreateVirtualDrive(LONG* lhWnd, BSTR* sDriveLetter, BSTR* sPathToMake,
                                                 BSTR* sNewLabel, VARIANT_BOOL* bChangeVolLable) override;
    HRESULT STDMETHODCALLTYPE CreateVirtualDriveHV(LONG* lhWnd, BSTR* sDriveLetter,
                                                   VARIANT_BOOL* bChangeVolLable) override;
    HRESULT STDMETHODCALLTYPE CreateVirtualDriveHVWin(LONG* lhWnd, BSTR* sDriveLetter,
                                                      VARIANT_BOOL* bChangeVolLable) override;
    HRESULT STDMETHODCALLTYPE CreateVirtualDriveHVPro(LONG* lhWnd, BSTR* sDriveLetter,
                                                      VARIANT_BOOL* bChangeVolLable) override;

protected:
    // The runtime interface is also handed out under its second identifier.
    bool IsExtraInterface(REFIID iid) const override {
        return iid == IID_clsZolbex11RunTimeA___v0;
    }

private:
    AutoCreatedField<IDispatch> fileSystem_;
    AutoCreatedField<_clsZolbexENVRegistryA> registry_;
};

}  // namespace zolbex
