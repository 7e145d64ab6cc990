#include "process_handles.h"

#include <windows.h>

#include <vector>

namespace zolbex::testing {
namespace {

// SystemHandleInformation (16) of NtQuerySystemInformation.
struct HandleEntry {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

}  // namespace

size_t OpenHandlesOfThisProcess() {
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<BYTE> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) return 0;
        break;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    size_t mine = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].processId == GetCurrentProcessId()) ++mine;
    return mine;
}

}  // namespace zolbex::testing
