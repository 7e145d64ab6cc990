#include "library/module.h"

#include <atomic>

namespace zolbex::module {
namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_made{0};
std::atomic<long> g_locks{0};
}  // namespace

void ObjectCreated() {
    ++g_objects;
    ++g_made;
}
void ObjectDestroyed() { --g_objects; }
void Lock() { ++g_locks; }
// An unlock without a lock is ignored: the count never drops below zero, where it would let
// the DLL unload under a lock taken later.
void Unlock() {
    long locks = g_locks.load();
    while (locks > 0 && !g_locks.compare_exchange_weak(locks, locks - 1)) {
    }
}
bool CanUnload() { return g_objects == 0 && g_locks == 0; }
long LiveObjects() { return g_objects; }
long ObjectsMade() { return g_made; }

HMODULE Handle() {
    HMODULE handle = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Handle), &handle);
    return handle;
}

std::wstring Path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(Handle(), path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    // Under regsvr32 the loader may report an extended-length path; registration wants the
    // ordinary form that every client understands.
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

}  // namespace zolbex::module
