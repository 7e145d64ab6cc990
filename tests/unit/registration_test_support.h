// Helpers of the registration tests: the built zolbex11.dll of the tree's own target loaded
// into the test process, its entry points, and reading the keys registration records.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "com_test_support.h"

namespace zolbex::testing {

// The registry view of the other pointer size (the other DLL's, side by side).
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
// Whether the other view is another view than this process's own: a 64-bit process, or a
// 32-bit one under WOW64 (on 32-bit Windows the view flags are ignored).
bool ProcessHasTwoRegistryViews();

std::wstring Wide(const char* text);
std::wstring GuidText(const GUID& guid);

// Whether `path` opens below `root`; `view` is a registry view flag (KEY_WOW64_32KEY or
// KEY_WOW64_64KEY) or 0 for the process's own.
bool KeyExists(HKEY root, const std::wstring& path, REGSAM view = 0);
// The text value `name` (default: the key's default value) or "<missing>".
std::wstring ReadDefault(HKEY root, const std::wstring& path, const wchar_t* name = nullptr, REGSAM view = 0);

// The built zolbex11.dll of this test's own target (ZOLBEX11_DLL), loaded into the test process.
class BuiltDll {
public:
    BuiltDll();
    ~BuiltDll();
    BuiltDll(const BuiltDll&) = delete;
    BuiltDll& operator=(const BuiltDll&) = delete;
    bool Loaded() const { return module_ != nullptr; }
    const std::wstring& Path() const { return path_; }

    template <class F>
    F* Entry(const char* name) const {
        return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    std::wstring path_;
    HMODULE module_ = nullptr;
};

using GetClassObjectFn = HRESULT WINAPI(REFCLSID, REFIID, void**);
using PlainEntryFn = HRESULT WINAPI();
using InstallFn = HRESULT WINAPI(BOOL, LPCWSTR);

// Tests of the built DLL: skipped where ZOLBEX11_DLL names none.
class BuiltDllTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        if (!dll_.Loaded()) GTEST_SKIP() << "ZOLBEX11_DLL does not name a loadable DLL";
    }
    BuiltDll dll_;
};

}  // namespace zolbex::testing
