#include "platform/stored_data.h"

#include <cstring>

namespace zolbex::platform {
namespace {

// Room for most values (an environment variable's text, say) in the first query.
constexpr size_t kFirstReadBytes = 1024;
// A value name is at most 16,383 characters.
constexpr DWORD kLongestValueName = 16383;

std::wstring UnitsOf(const std::vector<BYTE>& bytes, size_t units) {
    std::wstring text(units, L'\0');
    if (units) std::memcpy(text.data(), bytes.data(), units * sizeof(wchar_t));
    return text;
}

// A success never holds more than the buffer offered, whatever the reported size says.
void KeepReportedBytes(std::vector<BYTE>& bytes, DWORD reported, size_t offered) {
    bytes.resize(reported < offered ? reported : offered);
}

}  // namespace

std::optional<StoredData> ReadStoredData(Platform& registry, HKEY key, const std::wstring& name) {
    StoredData stored;
    // The first query offers a buffer that most values fit, so the size probe and the read are
    // usually one call; a value that does not fit reports its size and is read again, as often
    // as it keeps growing.
    stored.bytes.assign(kFirstReadBytes, 0);
    for (;;) {
        const size_t offered = stored.bytes.size();
        DWORD size = static_cast<DWORD>(offered);
        LONG result = registry.QueryValue(key, name, &stored.type, stored.bytes.data(), &size);
        if (result == ERROR_MORE_DATA) {
            // The reported size, or twice the buffer where the report says no more (the
            // performance-data root leaves the size undefined).
            stored.bytes.assign(size > offered ? size : offered * 2, 0);
            continue;
        }
        if (result != ERROR_SUCCESS) return std::nullopt;  // missing, or not to be queried
        KeepReportedBytes(stored.bytes, size, offered);
        return stored;
    }
}

std::optional<NamedStoredData> ReadEnumeratedData(Platform& registry, HKEY key, DWORD index, DWORD longestName) {
    NamedStoredData value;
    std::wstring name(static_cast<size_t>(longestName < kLongestValueName ? longestName : kLongestValueName) + 1,
                      L'\0');
    value.data.bytes.assign(kFirstReadBytes, 0);
    for (;;) {
        const size_t offered = value.data.bytes.size();
        DWORD size = static_cast<DWORD>(offered);
        DWORD length = static_cast<DWORD>(name.size());
        LONG result =
            registry.EnumValue(key, index, name.data(), &length, &value.data.type, value.data.bytes.data(), &size);
        if (result == ERROR_MORE_DATA) {
            if (size > offered) {
                value.data.bytes.assign(size, 0);
            } else if (name.size() <= kLongestValueName) {
                name.assign(static_cast<size_t>(kLongestValueName) + 1, L'\0');  // the name did not fit
            } else {
                value.data.bytes.assign(offered * 2, 0);  // no usable size reported
            }
            continue;
        }
        if (result != ERROR_SUCCESS) return std::nullopt;  // past the last value, or not to be read
        value.name.assign(name.data(), length < name.size() ? length : name.size() - 1);
        KeepReportedBytes(value.data.bytes, size, offered);
        return value;
    }
}

std::wstring TextOfStoredString(const std::vector<BYTE>& bytes) {
    size_t units = bytes.size() / sizeof(wchar_t);
    if (units && bytes[2 * units - 2] == 0 && bytes[2 * units - 1] == 0) --units;
    return UnitsOf(bytes, units);
}

}  // namespace zolbex::platform
