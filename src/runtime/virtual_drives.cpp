// The virtual-drive members of the global application object: each works out a folder and a
// label and hands them to the drive tools. The presets find the suite's folders through the
// object's own EnvironGet, machine scope, with no resolution of a leading reference.
#include <string>

#include "library/bstr.h"
#include "library/late_bound.h"
#include "library/variant_values.h"
#include "runtime/declared_defaults.h"
#include "runtime/drive_tools.h"
#include "runtime/runtime_object.h"

namespace zolbex {
namespace {

// Arguments a vtable caller leaves out (null pointers) read as a late-bound caller's defaults.
HWND OwnerOf(const LONG* lhWnd) {
    return lhWnd ? reinterpret_cast<HWND>(static_cast<LONG_PTR>(*lhWnd)) : nullptr;
}
std::wstring TextOf(const BSTR* text) { return text ? std::wstring(Bstr::ViewOf(*text)) : std::wstring(); }
// Only exactly True asks for the label step.
bool IsTrue(const VARIANT_BOOL* flag) { return flag && *flag == VARIANT_TRUE; }

std::wstring MachineVariable(_clsZolbex11RunTimeA& runtime, const wchar_t* name) {
    LONG style = zolbexEnvironmentSystem;
    Bstr variable(name);
    BSTR variableArgument = variable.Get();
    VARIANT_BOOL fullValue = VARIANT_FALSE;
    Bstr value;
    ThrowIfFailed(runtime.EnvironGet(&style, &variableArgument, &fullValue, value.Put()));
    return value.Str();
}

// The short (8.3) form of an existing folder, from the file-system object held in goFSO.
// The runtime's own errors (a missing folder above all) reach the caller unchanged.
std::wstring ShortFolderPath(_clsZolbex11RunTimeA& runtime, const std::wstring& path) {
    ComPtr<IDispatch> fileSystem;
    ThrowIfFailed(runtime.get_goFSO(fileSystem.Put()));
    Variant pathArgument;
    V_VT(pathArgument.Get()) = VT_BSTR;
    V_BSTR(pathArgument.Get()) = NewBstr(path);
    const WORD call = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    Variant folder = CallByName(fileSystem.Get(), L"GetFolder", call, pathArgument.Get(), 1);
    if (folder.Type() != VT_DISPATCH) Raise(Error::ObjectRequired);
    Variant shortPath = CallByName(V_DISPATCH(folder.Get()), L"ShortPath", call);
    return ValueAsText(*shortPath.Get());
}

// A preset `member`: the folder of a machine variable, the preset's label, and the drive the
// caller names or else the member's declared default.
void MakePresetDrive(const char* member, const LONG* lhWnd, const BSTR* sDriveLetter,
                     const VARIANT_BOOL* bChangeVolLable, std::wstring folder, const wchar_t* label) {
    const std::wstring drive = sDriveLetter ? TextOf(sDriveLetter) : DeclaredText(member, "sDriveLetter");
    MakeVirtualDrive({OwnerOf(lhWnd), drive, std::move(folder), label, IsTrue(bChangeVolLable)});
}

}  // namespace

HRESULT RunTimeObject::CreateVirtualDrive(LONG* lhWnd, BSTR* sDriveLetter, BSTR* sPathToMake, BSTR* sNewLabel,
                                          VARIANT_BOOL* bChangeVolLable) {
    return Guarded([&] {
        MakeVirtualDrive({OwnerOf(lhWnd), TextOf(sDriveLetter), TextOf(sPathToMake), TextOf(sNewLabel),
                          IsTrue(bChangeVolLable)});
    });
}

HRESULT RunTimeObject::CreateVirtualDriveHV(LONG* lhWnd, BSTR* sDriveLetter, VARIANT_BOOL* bChangeVolLable) {
    return Guarded([&] {
        MakePresetDrive("CreateVirtualDriveHV", lhWnd, sDriveLetter, bChangeVolLable,
                        MachineVariable(*this, L"HVENVSROOT"), L"Vesk");
    });
}

HRESULT RunTimeObject::CreateVirtualDriveHVWin(LONG* lhWnd, BSTR* sDriveLetter, VARIANT_BOOL* bChangeVolLable) {
    return Guarded([&] {
        MakePresetDrive("CreateVirtualDriveHVWin", lhWnd, sDriveLetter, bChangeVolLable,
                        MachineVariable(*this, L"HVENVSWIN"), L"Windows");
    });
}

HRESULT RunTimeObject::CreateVirtualDriveHVPro(LONG* lhWnd, BSTR* sDriveLetter, VARIANT_BOOL* bChangeVolLable) {
    return Guarded([&] {
        const std::wstring programs = MachineVariable(*this, L"WINDRV") + L"\\Program Files\\Halvern";
        MakePresetDrive("CreateVirtualDriveHVPro", lhWnd, sDriveLetter, bChangeVolLable,
                        ShortFolderPath(*this, programs), L"Programs");
    });
}

}  // namespace zolbex
