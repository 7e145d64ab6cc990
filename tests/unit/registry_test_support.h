// Helpers of the registry object's tests: a scratch key under HKEY_CURRENT_USER that every test
// starts empty and removes at its end, raw registry access to arrange and check stored bytes,
// and a platform double that counts key handles and can make chosen calls fail.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "forwarding_platform.h"
#include "library/com_ptr.h"
#include "platform/registry_names.h"
#include "registry/registry_object.h"

namespace zolbex::testing {

inline constexpr LONG kCurrentUser = kHkeyCurrentUser;
inline constexpr LONG kUsers = -2147483645;        // HKEY_USERS
inline constexpr wchar_t kScratch[] = L"Software\\ZOLBEX11 Tests\\Registry";

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

// Paths are below HKEY_CURRENT_USER.
void PutRaw(const std::wstring& path, const std::wstring& name, DWORD type, const std::vector<BYTE>& bytes);
std::optional<RawValue> GetRaw(const std::wstring& path, const std::wstring& name);
bool RawKeyExists(const std::wstring& path);
void MakeRawKey(const std::wstring& path);

// UTF-16 bytes of a text, with or without one terminator.
std::vector<BYTE> TextBytes(const std::wstring& text, bool terminated = true);
std::vector<BYTE> LongBytes(DWORD value);

// A byte array VARIANT with the given lower bound.
Variant ByteArray(const std::vector<BYTE>& bytes, LONG lowerBound = 0);
std::vector<BYTE> BytesOf(const VARIANT& byteArray);
// Lower and upper bound of a one-dimensional array.
std::pair<LONG, LONG> BoundsOf(SAFEARRAY* array);
std::vector<std::wstring> NamesOf(SAFEARRAY* bstrArray);

using Registry = ComPtr<RegistryObject>;

// A row of a table of locations: what the row shows, and where its object points.
struct LocationCase {
    const char* what;
    LONG classKey;
    std::wstring section;
    std::wstring valueKey = L"";  // the unnamed value, where a row leaves it out
};

// A fixture whose scratch key exists and is empty at the start of every test.
class RegistryTest : public ComTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new object pointed at a path below the scratch key ("" is the scratch key itself).
    static Registry At(const std::wstring& below = L"", const std::wstring& valueKey = L"");
    // A new object pointed at any location.
    static Registry Pointed(LONG classKey, const std::wstring& section, const std::wstring& valueKey = L"");
    static Registry Pointed(const LocationCase& where) { return Pointed(where.classKey, where.section, where.valueKey); }
    static std::wstring Path(const std::wstring& below = L"");
};

// Counts the handles the library opens and closes, records the access masks it asks for, and
// fails (or throws from) the calls a test chooses.
class CountingPlatform : public ForwardingPlatform {
public:
    LONG OpenKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override;
    LONG CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override;
    LONG CloseKey(HKEY key) override;
    LONG QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) override;
    LONG SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) override;
    LONG QueryKeyInfo(HKEY key, DWORD* maxSubKeyLength, DWORD* maxValueNameLength) override;
    LONG EnumValueName(HKEY key, DWORD index, wchar_t* name, DWORD* length) override;
    LONG EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data,
                   DWORD* size) override;
    LONG EnumKeyName(HKEY key, DWORD index, wchar_t* name, DWORD* length) override;

    int opened = 0;
    int closed = 0;
    std::vector<REGSAM> accesses;

    // Injected behaviour: a call returns this result instead of reaching the registry, or a hook
    // runs first (a hook may throw to simulate a failure of the runtime).
    std::optional<LONG> setValueResult;
    std::optional<LONG> queryKeyInfoResult;
    std::function<void(DWORD index)> beforeEnumKey;
    std::function<void(DWORD index)> beforeEnumValue;  // either enumeration of values
    int valueEnumerations = 0;  // calls of either
    int valueQueries = 0;
    std::function<void()> beforeQueryValue;
};

}  // namespace zolbex::testing
