#!/usr/bin/env bash
# Checks that the layers of src/ point down: a file includes only its own folder and the folders
# below it. From the bottom: library and platform, then registry, environment, runtime.
#   check_layers.sh <src folder>
set -uo pipefail

src="$1"
declare -A rank=([library]=0 [platform]=0 [registry]=1 [environment]=2 [runtime]=3)

status=0
for layer in "${!rank[@]}"; do
    [ -d "$src/$layer" ] || continue
    while IFS=: read -r file line included; do
        folder="${included%%/*}"
        [ -n "${rank[$folder]+set}" ] || continue
        if [ "${rank[$folder]}" -gt "${rank[$layer]}" ]; then
            echo "check_layers.sh: ${file#"$src"/}:$line includes $included, a layer above $layer"
            status=1
        fi
    done < <(grep -rnoE '^#include "[a-z_]+/[^"]+"' --include='*.h' --include='*.cpp' "$src/$layer" \
                 | sed -E 's/:#include "/:/; s/"$//')
done
[ "$status" -eq 0 ] && echo "the layers of $src point down"
exit "$status"
