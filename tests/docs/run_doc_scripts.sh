#!/usr/bin/env bash
# Runs the VBScript blocks of one section of a document (the reference or the how-to page), in
# the order the page shows them, as one script through run_script.sh, followed by
# cleanup/<NAME>.vbs when the section's scripts change the machine. Passes when the script
# reaches its end and nothing reported a failure, and when every line of the section's ```text
# blocks (what the page says the script prints) is a line of its output.
#   run_doc_scripts.sh DOCUMENT.md "HEADING LINE" NAME
# A section runs from its heading line to the next "---" line or "## " heading.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
document="$1" heading="$2" name="$3"

script="$(mktemp --tmpdir --suffix=".vbs" "zolbex11-doc-$name.XXXXXX")"
expected="$(mktemp --tmpdir "zolbex11-doc-$name.XXXXXX")"
trap 'rm -f "$script" "$expected"' EXIT
awk -v heading="$heading" -v expected="$expected" '
    $0 == heading { inSection = 1; next }
    inSection && ($0 == "---" || /^## /) { exit }
    inSection && $0 == "```vbscript" { inScript = 1; next }
    inSection && $0 == "```text" { inText = 1; next }
    (inScript || inText) && $0 == "```" { if (inScript) print ""; inScript = inText = 0; next }
    inScript { print }
    inText { print > expected }
' "$document" > "$script"
if [ ! -s "$script" ]; then
    echo "run_doc_scripts.sh: no VBScript under \"$heading\" in $document"
    exit 1
fi
[ -f "$here/cleanup/$name.vbs" ] && cat "$here/cleanup/$name.vbs" >> "$script"
echo 'WScript.Echo "SCRIPT-OK"' >> "$script"
output="$("$here/../scripts/run_script.sh" --plain "$script")"
status=$?
printf '%s\n' "$output"
[ "$status" -eq 0 ] || exit 1
while IFS= read -r line; do
    if ! grep -qxF -- "$line" <<<"$output"; then
        echo "run_doc_scripts.sh: the page says the script prints \"$line\"; it did not"
        status=1
    fi
done < "$expected"
exit $status
