#!/usr/bin/env bash
# The generated interface header and the C++ example compile with an MSVC-mode compiler as well
# as with MinGW-w64: clang in MSVC mode, against Wine's Windows headers (the Windows SDK is not on
# this machine), for both targets, once as the headers come and once with __CRT_UUID_DECL absent,
# as in the Windows SDK (Wine's guiddef.h defines it, the SDK does not). The header's unit takes
# __uuidof of every interface, which is what MSVC users' smart pointers and #import need.
#   check_header_msvc.sh GENERATED_DIR EXAMPLE.cpp
set -euo pipefail

generated="$1" example="$2"
wine_include=/usr/include/wine/wine
if ! command -v clang >/dev/null || [ ! -f "$wine_include/windows/windows.h" ]; then
    echo "check_header_msvc.sh: clang or Wine's headers (libwine-dev) missing: run scripts/setup.sh"
    exit 1
fi

unit="$(mktemp --tmpdir --suffix=.cpp zolbex11-msvc.XXXXXX)"
trap 'rm -f "$unit"' EXIT
{
    echo '#include <windows.h>'
    echo '#include <oaidl.h>'
    echo '#ifdef ZOLBEX11_TEST_WITHOUT_CRT_UUID_DECL'
    echo '#undef __CRT_UUID_DECL'
    echo '#endif'
    echo '#include "zolbex11_interfaces.h"'
    echo 'static_assert(sizeof(LIBID_ZOLBEX11) == sizeof(GUID), "LIBID");'
    sed -n 's/^struct ZOLBEX11_IID("[^"]*") \([A-Za-z0-9_]*\);$/static const IID* const iid_\1 = \&__uuidof(\1);/p' \
        "$generated/zolbex11_interfaces.h"
} > "$unit"

# Wine's winnt.h defines interlocked functions that clang has built in (more of them on i686),
# and makes WCHAR char16_t unless told that wchar_t is 16 bits, as it is with MSVC.
x86_64_clashes=(_InterlockedCompareExchange128)
i686_clashes=(_InterlockedAnd64 _InterlockedCompareExchangePointer _InterlockedExchangeAdd64
              _InterlockedExchangePointer _InterlockedIncrement64 _InterlockedDecrement64 _InterlockedOr64
              _InterlockedXor64)

failed=0
for target in x86_64 i686; do
    clashes="${target}_clashes[@]"
    renames=()
    for name in "${!clashes}"; do renames+=("-D$name=wine_header_$name"); done
    compile=(clang --target="$target-windows-msvc" -fms-extensions -fms-compatibility -fsyntax-only -std=c++17
             -nostdinc -isystem "$wine_include/msvcrt" -isystem "$wine_include/windows" -DWINE_UNICODE_NATIVE
             "${renames[@]}" -I "$generated")
    for variant in "header, as Wine's headers come" "header, without __CRT_UUID_DECL" "example"; do
        case "$variant" in
            "header, as Wine's headers come") source=("$unit") ;;
            "header, without __CRT_UUID_DECL") source=(-DZOLBEX11_TEST_WITHOUT_CRT_UUID_DECL "$unit") ;;
            example) source=(-Werror "$example") ;;
        esac
        if "${compile[@]}" "${source[@]}"; then
            echo "ok: $target-windows-msvc, $variant"
        else
            echo "FAIL: $target-windows-msvc, $variant"
            failed=1
        fi
    done
done
exit $failed
