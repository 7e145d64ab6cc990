#!/usr/bin/env bash
# Every error that a heading of the troubleshooting page quotes as
#   ## Error <number> "<text>" or "<text>..." (what follows a parenthesis is the platform's)
# is a row of the reference's table of errors with that number and a description that begins
# with the text, so the page cannot quote a number or text the library does not raise.
#   check_troubleshooting.sh TROUBLESHOOTING.md REFERENCE.md
set -uo pipefail

page="$1" reference="$2"
errors="$(awk '/^## Errors$/ { on = 1 } on && /^\| / { print }' "$reference")"
failed=0 checked=0
while IFS= read -r heading; do
    number="$(sed -E 's/^## Error ([0-9-]+) .*/\1/' <<<"$heading")"
    while IFS= read -r text; do
        checked=$((checked + 1))
        if ! grep -qF -- "| $number | " <<<"$errors" || \
           ! grep -F -- "| $number | " <<<"$errors" | grep -qF -- "| \`$text"; then
            echo "FAIL: \"$heading\": no error $number whose description begins \"$text\""
            failed=1
        fi
    done < <(sed 's/ (.*//' <<<"$heading" | grep -oE '"[^"]+"' | sed -E 's/^"//; s/"$//; s/\.\.\.$//; s/,$//')
done < <(grep -E '^## Error [0-9-]+ "' "$page")
echo "$checked quoted error texts checked"
[ "$checked" -gt 0 ] || { echo "FAIL: no quoted errors found in $page"; failed=1; }
exit $failed
