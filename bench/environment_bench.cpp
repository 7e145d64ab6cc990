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
#include "script_shell.h"
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
auto EnvironGet(IDispatch* runtime, LONG style, BSTR name) {
    VARIANT full;
    V_VT(&full) = VT_BOOL;
    V_BOOL(&full) = VARIANT_FALSE;
    return [runtime, style, name, full, id = IdOf(runtime, L"EnvironGet")](long) {
        Invoke(runtime, id, {full, TextArgument(name), LongArgument(style)});
    };
}

// WScript.Shell's Environment(area), the host's variables object, when the host has one.
ComPtr<IDispatch> ShellEnvironment(const wchar_t* area) {
    ComPtr<IDispatch> shell = bench::CreateScriptShell();
    if (!shell) return nullptr;
    Bstr areaText(area);
    Variant environment = Invoke(shell.Get(), IdOf(shell.Get(), L"Environment"), {TextArgument(areaText.Get())},
                                 DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    if (environment.Type() != VT_DISPATCH || !V_DISPATCH(environment.Get())) return nullptr;
    ComPtr<IDispatch> variables(V_DISPATCH(environment.Get()));
    if (IdOf(variables.Get(), L"Item") == DISPID_UNKNOWN) return nullptr;
    return variables;
}

// Environment(area).Item(name) on the host's variables object, after saying what it gives
// (some hosts answer from the process only, without reading the registry).
auto ShellItem(IDispatch* variables, const wchar_t* area, BSTR name) {
    const DISPID item = IdOf(variables, L"Item");
    Variant seen = Invoke(variables, item, {TextArgument(name)}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    std::printf("WScript.Shell Environment(\"%ls\").Item gives \"%ls\"\n", area,
                seen.Type() == VT_BSTR ? Bstr::ViewOf(V_BSTR(seen.Get())).data() : L"<not text>");
    return [variables, item, name](long) {
        Invoke(variables, item, {TextArgument(name)}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    };
}

// The registry calls one read stands for, written by hand: open, query, close.
auto RawRead(HKEY root, const wchar_t* path) {
    return [root, path](long) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
        wchar_t text[256];
        DWORD type = 0, size = sizeof text;
        RegQueryValueExW(key, kReadName, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
    };
}

// EnvironList(1) late-bound, releasing the collection at once.
auto EnvironList(IDispatch* runtime) {
    return [runtime, id = IdOf(runtime, L"EnvironList")](long) { Invoke(runtime, id, {LongArgument(1)}); };
}

// The hand-written listing: one open key, every name enumerated, then every value queried.
void RawListing(long) { bench::RawListAndRead(HKEY_CURRENT_USER, kUserEnvironment); }

// Nanoseconds of one EnvironList over `count` scratch variables: the ones above `count` are
// removed, or the missing ones added, before the timed call, and the key read once untimed
// (the first pass over a key just changed runs much slower under Wine).
double TimeListingOf(IDispatch* runtime, long count, long& present) {
    for (long i = count; i < present; ++i) Remove(HKEY_CURRENT_USER, kUserEnvironment, ScratchName(i));
    FillUserEnvironment(present, count);
    present = count;
    auto list = EnvironList(runtime);
    list(0);
    return bench::TimePerCall(1, list);
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        ComPtr<IDispatch> runtime = NewRunTime();
        Bstr name(kReadName);
        Store(HKEY_CURRENT_USER, kUserEnvironment, kReadName, L"C:\\Program Files\\Halvern\\bin");
        Store(HKEY_LOCAL_MACHINE, kMachineEnvironment, kReadName, L"C:\\Program Files\\Halvern\\bin");

        const bench::Comparison userGet =
            bench::Compare(EnvironGet(runtime.Get(), 1, name.Get()), RawRead(HKEY_CURRENT_USER, kUserEnvironment));
        const bench::Comparison machineGet = bench::Compare(EnvironGet(runtime.Get(), 2, name.Get()),
                                                            RawRead(HKEY_LOCAL_MACHINE, kMachineEnvironment));
        bench::Report("EnvironGet(1, name) late-bound", userGet.first);
        bench::Report("EnvironGet(2, name) late-bound", machineGet.first);
        bench::Report("raw open, query, close of the user value", userGet.second);
        bench::Report("raw open, query, close of the machine value", machineGet.second);
        bench::ReportRatio("EnvironGet(1) / raw read", userGet);
        bench::ReportRatio("EnvironGet(2) / raw read", machineGet);
        const struct {
            const wchar_t* area;
            LONG style;
            const char* cost;
            const char* ratio;
        } hostAreas[] = {
            {L"USER", 1, "WScript.Shell Environment(\"USER\").Item(name)", "EnvironGet(1) / Environment(\"USER\").Item"},
            {L"SYSTEM", 2, "WScript.Shell Environment(\"SYSTEM\").Item(name)",
             "EnvironGet(2) / Environment(\"SYSTEM\").Item"},
        };
        for (const auto& host : hostAreas) {
            ComPtr<IDispatch> variables = ShellEnvironment(host.area);
            if (!variables) {
                std::printf("WScript.Shell's Environment(\"%ls\") is not available here\n", host.area);
                continue;
            }
            const bench::Comparison againstHost =
                bench::Compare(EnvironGet(runtime.Get(), host.style, name.Get()),
                               ShellItem(variables.Get(), host.area, name.Get()));
            bench::Report(host.cost, againstHost.second);
            bench::ReportRatio(host.ratio, againstHost);
        }
        Remove(HKEY_CURRENT_USER, kUserEnvironment, kReadName);
        Remove(HKEY_LOCAL_MACHINE, kMachineEnvironment, kReadName);

        FillUserEnvironment(0, kLargeListing);  // Compare's calibration makes the slow first passes
        const bench::Comparison listToRaw = bench::Compare(EnvironList(runtime.Get()), RawListing, 9);
        long present = kLargeListing;
        const bench::Comparison largeToSmall =
            bench::Interleave(7, [&] { return TimeListingOf(runtime.Get(), kLargeListing, present); },
                              [&] { return TimeListingOf(runtime.Get(), kSmallListing, present); });
        for (long i = 0; i < present; ++i) Remove(HKEY_CURRENT_USER, kUserEnvironment, ScratchName(i));

        bench::Report("EnvironList(1) over 1,000 scratch user variables", largeToSmall.second);
        bench::Report("EnvironList(1) over 5,000 scratch user variables", listToRaw.first);
        bench::Report("raw enumerate-and-query loop over 5,000", listToRaw.second);
        bench::ReportRatio("EnvironList(1) / raw loop, 5,000 variables", listToRaw);
        bench::ReportRatio("EnvironList(1) 5,000 / 1,000 (linear: about 5)", largeToSmall);
    }
    CoUninitialize();
    return 0;
}
