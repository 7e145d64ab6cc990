// The environment facade against what a client would otherwise use. EnvironGet makes a new
// scope object and registry object per call and reads through them, late-bound; WScript.Shell's
// Environment("USER").Item(name) is the scripting host's own way to the same value. EnvironList
// over a large user environment should stay linear, a constant factor above a hand-written
// enumerate-and-query loop over the same key. The hand-written open, query and close of one
// value is reported too: it is the floor for any reader of the stored environment, and under
// Wine WScript.Shell answers Environment("USER") and ("SYSTEM") without reading the registry
// (the program prints what it returns), so that ratio compares unlike work there.
//
// The listing measurement adds scratch variables ZOLBEX11_BENCH_n to HKEY_CURRENT_USER\Environment
// and removes them all again before the program ends.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "library/bstr.h"
#include "library/class_table.h"
#include "library/com_ptr.h"
#include "library/variant.h"
#include "zolbex11_interfaces.h"

using namespace zolbex;

namespace {

constexpr wchar_t kUserEnvironment[] = L"Environment";
constexpr wchar_t kMachineEnvironment[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr wchar_t kReadName[] = L"ZOLBEX11_BENCH_READ";
constexpr long kSmallListing = 1000;
constexpr long kLargeListing = 5000;

std::wstring ScratchName(long i) { return L"ZOLBEX11_BENCH_" + std::to_wstring(i); }

void Store(HKEY root, const wchar_t* path, const std::wstring& name, const std::wstring& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void Remove(HKEY root, const wchar_t* path, const std::wstring& name) {
    RegDeleteKeyValueW(root, path, name.c_str());
}

// Scratch variables from 0 up to (not including) `count` in the user environment.
void FillUserEnvironment(long from, long count) {
    for (long i = from; i < count; ++i) Store(HKEY_CURRENT_USER, kUserEnvironment, ScratchName(i), L"C:\\Bench\\" + std::to_wstring(i));
}

// Calls member `name` late-bound with the arguments given last first, as DISPPARAMS wants them.
Variant Invoke(IDispatch* object, DISPID id, std::vector<VARIANT> reversed, WORD flags = DISPATCH_METHOD) {
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    Variant result;
    object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.Get(), nullptr, nullptr);
    return result;
}

DISPID IdOf(IDispatch* object, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

VARIANT LongArgument(LONG value) {
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
}

VARIANT TextArgument(BSTR text) {
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = text;
    return v;
}

// EnvironGet(style, name, False) late-bound on the library's runtime object.
double EnvironGetCost(IDispatch* runtime, LONG style, BSTR name) {
    const DISPID id = IdOf(runtime, L"EnvironGet");
    VARIANT full;
    V_VT(&full) = VT_BOOL;
    V_BOOL(&full) = VARIANT_FALSE;
    return bench::NanosecondsPerCall(2000, [&](long) { Invoke(runtime, id, {full, TextArgument(name), LongArgument(style)}); });
}

// WScript.Shell's Environment(area).Item(name), the environment object taken once; a negative
// result when the host object is not available.
double ShellEnvironmentItemCost(const wchar_t* area, BSTR name) {
    CLSID clsid;
    ComPtr<IDispatch> shell;
    if (FAILED(CLSIDFromProgID(L"WScript.Shell", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(shell.Put()))))
        return -1;
    Bstr areaText(area);
    Variant environment = Invoke(shell.Get(), IdOf(shell.Get(), L"Environment"), {TextArgument(areaText.Get())},
                                 DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    if (environment.Type() != VT_DISPATCH || !V_DISPATCH(environment.Get())) return -1;
    IDispatch* variables = V_DISPATCH(environment.Get());
    const DISPID item = IdOf(variables, L"Item");
    if (item == DISPID_UNKNOWN) return -1;
    // Whether the host read the stored value at all (some hosts answer from the process only).
    Variant seen = Invoke(variables, item, {TextArgument(name)}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    std::printf("WScript.Shell Environment(\"%ls\").Item gives \"%ls\"\n", area,
                seen.Type() == VT_BSTR ? Bstr::ViewOf(V_BSTR(seen.Get())).data() : L"<not text>");
    return bench::NanosecondsPerCall(2000, [&](long) {
        Invoke(variables, item, {TextArgument(name)}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    });
}

// The registry calls one read stands for, written by hand: open, query, close.
double RawReadCost(HKEY root, const wchar_t* path) {
    return bench::NanosecondsPerCall(2000, [&](long) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
        wchar_t text[256];
        DWORD type = 0, size = sizeof text;
        RegQueryValueExW(key, kReadName, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
    });
}

// EnvironList(1) late-bound, releasing the collection at once.
double EnvironListCost(IDispatch* runtime) {
    const DISPID id = IdOf(runtime, L"EnvironList");
    return bench::NanosecondsPerCall(2, [&](long) { Invoke(runtime, id, {LongArgument(1)}); });
}

// The hand-written listing: one open key, every name enumerated, then every value queried.
double RawListingCost() {
    return bench::NanosecondsPerCall(2, [](long) { bench::RawListAndRead(HKEY_CURRENT_USER, kUserEnvironment); });
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        ComPtr<IDispatch> runtime = NewRunTime();
        Bstr name(kReadName);
        Store(HKEY_CURRENT_USER, kUserEnvironment, kReadName, L"C:\\Program Files\\Halvern\\bin");
        Store(HKEY_LOCAL_MACHINE, kMachineEnvironment, kReadName, L"C:\\Program Files\\Halvern\\bin");

        const double userGet = EnvironGetCost(runtime.Get(), 1, name.Get());
        const double machineGet = EnvironGetCost(runtime.Get(), 2, name.Get());
        const double shellUser = ShellEnvironmentItemCost(L"USER", name.Get());
        const double shellMachine = ShellEnvironmentItemCost(L"SYSTEM", name.Get());
        const double rawUser = RawReadCost(HKEY_CURRENT_USER, kUserEnvironment);
        const double rawMachine = RawReadCost(HKEY_LOCAL_MACHINE, kMachineEnvironment);
        bench::Report("EnvironGet(1, name) late-bound", userGet);
        bench::Report("EnvironGet(2, name) late-bound", machineGet);
        bench::Report("raw open, query, close of the user value", rawUser);
        bench::Report("raw open, query, close of the machine value", rawMachine);
        bench::ReportRatio("EnvironGet(1) / raw read", userGet / rawUser);
        bench::ReportRatio("EnvironGet(2) / raw read", machineGet / rawMachine);
        if (shellUser > 0) {
            bench::Report("WScript.Shell Environment(\"USER\").Item(name)", shellUser);
            bench::ReportRatio("EnvironGet(1) / Environment(\"USER\").Item", userGet / shellUser);
        } else {
            std::printf("WScript.Shell's Environment(\"USER\") is not available here\n");
        }
        if (shellMachine > 0) {
            bench::Report("WScript.Shell Environment(\"SYSTEM\").Item(name)", shellMachine);
            bench::ReportRatio("EnvironGet(2) / Environment(\"SYSTEM\").Item", machineGet / shellMachine);
        }
        Remove(HKEY_CURRENT_USER, kUserEnvironment, kReadName);
        Remove(HKEY_LOCAL_MACHINE, kMachineEnvironment, kReadName);

        FillUserEnvironment(0, kSmallListing);
        const double smallList = EnvironListCost(runtime.Get());
        FillUserEnvironment(kSmallListing, kLargeListing);
        const double largeList = EnvironListCost(runtime.Get());
        const double rawList = RawListingCost();
        for (long i = 0; i < kLargeListing; ++i) Remove(HKEY_CURRENT_USER, kUserEnvironment, ScratchName(i));

        bench::Report("EnvironList(1) over 1,000 scratch user variables", smallList);
        bench::Report("EnvironList(1) over 5,000 scratch user variables", largeList);
        bench::Report("raw enumerate-and-query loop over 5,000", rawList);
        bench::ReportRatio("EnvironList(1) / raw loop, 5,000 variables", largeList / rawList);
        bench::ReportRatio("EnvironList(1) 5,000 / 1,000 (linear: about 5)", largeList / smallList);
    }
    CoUninitialize();
    return 0;
}
