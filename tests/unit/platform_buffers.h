// A double of the registry's reads as each platform fills the caller's buffer around string
// data. Windows returns exactly the stored bytes and leaves the rest of the buffer alone (here
// filled with non-NUL bytes, so a reader that looks past the reported size sees them); Wine
// writes a terminator right after string data that lacks one when the buffer has room, without
// counting it in the reported size (measured on Wine 8, both targets).
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "forwarding_platform.h"

namespace zolbex::testing {

enum class BufferBehaviour { WindowsExactBytes, WinePaddedAndTerminated };

inline const char* NameOf(BufferBehaviour behaviour) {
    return behaviour == BufferBehaviour::WindowsExactBytes ? "Windows: exact bytes" : "Wine: padded and terminated";
}

inline constexpr BufferBehaviour kEveryBufferBehaviour[] = {BufferBehaviour::WindowsExactBytes,
                                                            BufferBehaviour::WinePaddedAndTerminated};

class PlatformBuffers : public ForwardingPlatform {
public:
    explicit PlatformBuffers(BufferBehaviour behaviour) : behaviour_(behaviour) {}

    LONG QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) override {
        if (!data || !size) return ForwardingPlatform::QueryValue(key, name, type, data, size);
        return Filled(type, data, size, [&](DWORD* storedType, BYTE* stored, DWORD* storedSize) {
            return ForwardingPlatform::QueryValue(key, name, storedType, stored, storedSize);
        });
    }

    LONG EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data,
                   DWORD* size) override {
        if (!data || !size) return ForwardingPlatform::EnumValue(key, index, name, length, type, data, size);
        return Filled(type, data, size, [&](DWORD* storedType, BYTE* stored, DWORD* storedSize) {
            return ForwardingPlatform::EnumValue(key, index, name, length, storedType, stored, storedSize);
        });
    }

private:
    // Runs `read` into a buffer of its own and copies what it reports into the caller's buffer
    // as the platform would leave it.
    template <class Read>
    LONG Filled(DWORD* type, BYTE* data, DWORD* size, Read&& read) {
        const DWORD offered = *size;
        std::vector<BYTE> stored(offered);
        DWORD storedType = REG_NONE;
        LONG result = read(&storedType, stored.data(), size);
        if (type) *type = storedType;
        if (result != ERROR_SUCCESS) return result;
        const DWORD count = *size;
        std::fill(data, data + offered, BYTE{0xCC});
        std::memcpy(data, stored.data(), count);
        const bool text = storedType == REG_SZ || storedType == REG_EXPAND_SZ || storedType == REG_MULTI_SZ;
        const bool terminated = count >= 2 && data[count - 2] == 0 && data[count - 1] == 0;
        if (behaviour_ == BufferBehaviour::WinePaddedAndTerminated && text && !terminated &&
            count + sizeof(wchar_t) <= offered)
            data[count] = data[count + 1] = 0;
        return result;
    }

    BufferBehaviour behaviour_;
};

}  // namespace zolbex::testing
