// The registry's predefined root keys as the ClassKey numbers clients pass, and the access
// rights the library asks for, each named after the SDK.
#pragma once

#include <windows.h>

namespace zolbex {

// <winreg.h> defines the roots as handles, which no constant expression can read: these are
// their values as 32-bit numbers.
inline constexpr LONG kHkeyClassesRoot = static_cast<LONG>(0x80000000);   // HKEY_CLASSES_ROOT
inline constexpr LONG kHkeyCurrentUser = static_cast<LONG>(0x80000001);   // HKEY_CURRENT_USER
inline constexpr LONG kHkeyLocalMachine = static_cast<LONG>(0x80000002);  // HKEY_LOCAL_MACHINE

// The root handle behind a ClassKey number. The predefined roots are negative 32-bit numbers
// that the system sign-extends to pointer width, so the conversion does the same.
inline HKEY RootHandle(LONG classKey) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(classKey));
}

// Access rights the registry object asks for: reading and testing a key, listing its sub-keys,
// and creating a key or writing/deleting a value (every key-specific right, no standard rights;
// deliberately not KEY_ALL_ACCESS).
inline constexpr REGSAM kQueryAccess = KEY_QUERY_VALUE;
inline constexpr REGSAM kListSubKeysAccess = KEY_ENUMERATE_SUB_KEYS;
inline constexpr REGSAM kWriteAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY |
                                       KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK;

}  // namespace zolbex
