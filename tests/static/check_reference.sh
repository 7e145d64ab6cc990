#!/usr/bin/env bash
# Passes when the committed reference is what the generator writes from the catalogue now:
#   check_reference.sh COMMITTED GENERATED
set -uo pipefail

if diff -u "$1" "$2"; then
    exit 0
fi
echo
echo "check_reference.sh: $1 is not what the build generates from the catalogue and its notes."
echo "Copy the generated file over it and commit it:  cp '$2' '$1'"
exit 1
