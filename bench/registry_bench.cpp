// The registry object's reads against the plain registry calls they stand for. Value get does
// one open, one query (whose first buffer holds most values, so the size probe is also the
// read; a longer value is queried again at its size) and one close, so early-bound it should
// cost no more than open, probe, read and close written by hand; a listing plus a read of every
// listed value pays that sequence per value against a hand-written loop that keeps one key open.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "script_shell.h"
#include "library/bstr.h"
#include "library/dispatch_object.h"
#include "library/variant.h"
#include "platform/registry_names.h"
#include "registry/registry_object.h"

using namespace zolbex;

namespace {

constexpr wchar_t kBenchKey[] = L"Software\\ZOLBEX11 Tests\\Bench";
constexpr wchar_t kSingleKey[] = L"Software\\ZOLBEX11 Tests\\Bench\\Single";
constexpr int kManyValues = 10000;

void Store(HKEY key, const std::wstring& name, const std::wstring& text) {
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring NameOf(long i) { return L"Variable" + std::to_wstring(i); }

void Arrange() {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSingleKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    Store(key, L"Path", L"C:\\Windows\\System32;C:\\Windows;C:\\Program Files\\Halvern\\bin");
    RegCloseKey(key);
    RegCreateKeyExW(HKEY_CURRENT_USER, kBenchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    for (long i = 0; i < kManyValues; ++i) Store(key, NameOf(i), L"value number " + std::to_wstring(i));
    RegCloseKey(key);
}

// The raw sequence a Value get stands for: open, probe, read, close.
std::wstring RawRead(const wchar_t* path, const wchar_t* name) {
    HKEY key = nullptr;
    std::wstring text;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return text;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        text.resize(size / sizeof(wchar_t));
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
        text.resize(size ? size / sizeof(wchar_t) - 1 : 0);
    }
    RegCloseKey(key);
    return text;
}

// EnumerateValues, then Value of every listed name, as the environment scopes list variables.
size_t ObjectListAndRead(RegistryObject* registry) {
    SAFEARRAY* names = nullptr;
    LONG count = 0;
    VARIANT_BOOL ok = VARIANT_FALSE;
    registry->EnumerateValues(&names, &count, &ok);
    size_t total = 0;
    BSTR* elements = names ? static_cast<BSTR*>(names->pvData) : nullptr;
    for (LONG i = 0; i < count; ++i) {
        registry->put_ValueKey(elements[i]);
        Variant value;
        registry->get_Value(value.Put());
        total += SysStringLen(V_BSTR(value.Get()));
    }
    SafeArrayDestroy(names);
    return total;
}

// WScript.Shell's RegRead of the same value, late-bound, when the runtime has it.
ComPtr<IDispatch> ShellObject(DISPID* regRead) {
    ComPtr<IDispatch> shell = bench::CreateScriptShell();
    if (!shell) return nullptr;
    LPOLESTR name[] = {const_cast<LPOLESTR>(L"RegRead")};
    if (FAILED(shell->GetIDsOfNames(IID_NULL, name, 1, 0, regRead))) return nullptr;
    return shell;
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Arrange();
    {
        ComPtr<RegistryObject> registry = MakeObject<RegistryObject>();
        registry->SetClassKey(kHkeyCurrentUser);
        registry->SetSectionKey(kSingleKey);
        registry->SetValueKey(L"Path");
        const long calls = 20000;

        const bench::Comparison earlyToRaw = bench::Compare(
            [&](long) {
                Variant value;
                registry->get_Value(value.Put());
            },
            [&](long) { RawRead(kSingleKey, L"Path"); });

        DISPID valueId = 0;
        LPOLESTR valueName[] = {const_cast<LPOLESTR>(L"Value")};
        registry->GetIDsOfNames(IID_NULL, valueName, 1, 0, &valueId);
        DISPPARAMS none{};
        auto lateRead = [&](long) {
            Variant value;
            registry->Invoke(valueId, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.Put(), nullptr, nullptr);
        };
        double late = bench::NanosecondsPerCall(calls / 5, lateRead);

        std::printf("One value (REG_SZ) read\n");
        bench::Report("raw open, probe, read, close", earlyToRaw.second);
        bench::Report("Value get, early-bound", earlyToRaw.first);
        bench::Report("Value get, late-bound (Invoke)", late);
        bench::ReportRatio("early-bound / raw (goal at most 1.15)", earlyToRaw);

        DISPID regRead = 0;
        if (ComPtr<IDispatch> shell = ShellObject(&regRead)) {
            Variant path;
            V_VT(path.Get()) = VT_BSTR;
            V_BSTR(path.Get()) = NewBstr(std::wstring(L"HKCU\\") + kSingleKey + L"\\Path");
            DISPPARAMS args{path.Get(), nullptr, 1, 0};
            const bench::Comparison lateToShell = bench::Compare(lateRead, [&](long) {
                Variant value;
                shell->Invoke(regRead, IID_NULL, 0, DISPATCH_METHOD, &args, value.Put(), nullptr, nullptr);
            });
            bench::Report("WScript.Shell RegRead, late-bound", lateToShell.second);
            bench::ReportRatio("late-bound Value / RegRead", lateToShell);
        } else {
            std::printf("WScript.Shell is not available: RegRead not measured\n");
        }

        registry->SetSectionKey(kBenchKey);
        // The first passes over a key just filled run much slower under Wine; Compare's
        // calibration runs each side once before the timed rounds, which warms both up.
        const bench::Comparison objectToRaw =
            bench::Compare([&](long) { ObjectListAndRead(registry.Get()); },
                           [&](long) { bench::RawListAndRead(HKEY_CURRENT_USER, kBenchKey); }, 9);
        std::printf("\nEnumerateValues + Value of each, %d values\n", kManyValues);
        bench::Report("raw: one open, enumerate, query each", objectToRaw.second / kManyValues);
        bench::Report("EnumerateValues + Value get of each", objectToRaw.first / kManyValues);
        bench::ReportRatio("object / raw (goal at most 1.5)", objectToRaw);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kBenchKey);
    CoUninitialize();
    return 0;
}
