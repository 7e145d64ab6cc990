#include "runtime/runtime_object.h"

#include "library/catalogue.h"
#include "library/class_table.h"
#include "library/expansion_setting.h"

namespace zolbex {
namespace {

// The Scripting runtime's FileSystemObject class.
constexpr CLSID kFileSystemObject = {0x0D43FE01, 0xF093, 0x11CF, {0x89, 0x40, 0x00, 0xA0, 0xC9, 0x05, 0x42, 0x28}};

ComPtr<IDispatch> NewFileSystemObject() {
    ComPtr<IDispatch> fileSystem;
    ThrowIfFailed(CoCreateInstance(kFileSystemObject, nullptr, CLSCTX_INPROC_SERVER,
                                   catalogue::TheLibrary().fileSystemIid,
                                   reinterpret_cast<void**>(fileSystem.Put())));
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
