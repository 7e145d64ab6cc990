#include "runtime/runtime_object.h"

#include "library/catalogue.h"
#include "library/class_table.h"
#include "library/expansion_setting.h"
#include "platform/platform.h"

namespace zolbex {
namespace {

ComPtr<IDispatch> NewFileSystemObject() {
    ComPtr<IDispatch> fileSystem;
    ThrowIfFailed(platform::Current().CreateFileSystem(catalogue::TheLibrary().fileSystemIid, fileSystem.Put()));
    return fileSystem;
}

}  // namespace

HRESULT RunTimeObject::get_goFSO(IDispatch** pRetVal) { return fileSystem_.Get(pRetVal, NewFileSystemObject); }
HRESULT RunTimeObject::put_goFSO(IDispatch* value) { return fileSystem_.Assign(value); }
HRESULT RunTimeObject::putref_goFSO(IDispatch* value) { return fileSystem_.Assign(value); }

HRESULT RunTimeObject::get_goRegistry(_clsZolbexENVRegistryA** pRetVal) {
    return registry_.Get(pRetVal, [] { return Create<_clsZolbexENVRegistryA>(NewRegistry); });
}
HRESULT RunTimeObject::put_goRegistry(_clsZolbexENVRegistryA* value) { return registry_.Assign(value); }
HRESULT RunTimeObject::putref_goRegistry(_clsZolbexENVRegistryA* value) { return registry_.Assign(value); }

HRESULT RunTimeObject::get_ExpandEnvVar(VARIANT_BOOL* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = ThreadExpansionSetting();
    });
}

HRESULT RunTimeObject::put_ExpandEnvVar(VARIANT_BOOL bNewValue) {
    SetThreadExpansionSetting(bNewValue);
    return S_OK;
}

ComPtr<IDispatch> NewRunTime() { return ComPtr<IDispatch>(MakeObject<RunTimeObject>().Get()); }

}  // namespace zolbex
