#!/usr/bin/env bash
# Runs the VBScript blocks of one section of a document (the reference or the how-to page), in
# the order the page shows them, as one script through run_script.sh, followed by
# cleanup/<NAME>.vbs when the section's scripts change the machine. Passes when the script
# reaches its end and nothing reported a failure.
#   run_doc_scripts.sh DOCUMENT.md "HEADING LINE" NAME
# A section runs from its heading line to the next "---" line or "## " heading.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
document="$1" heading="$2" name="$3"

script="$(mktemp --tmpdir --suffix=".vbs" "zolbex11-doc-$name.XXXXXX")"
trap 'rm -f "$script"' EXIT
awk -v heading="$heading" '
    $0 == heading { inSection = 1; next }
    inSection && ($0 == "---" || /^## /) { exit }
    inSection && $0 == "```vbscript" { inScript = 1; next }
    inScript && $0 == "```" { inScript = 0; print ""; next }
    inScript { print }
' "$document" > "$script"
if [ ! -s "$script" ]; then
    echo "run_doc_scripts.sh: no VBScript under \"$heading\" in $document"
    exit 1
fi
[ -f "$here/cleanup/$name.vbs" ] && cat "$here/cleanup/$name.vbs" >> "$script"
echo 'WScript.Echo "SCRIPT-OK"' >> "$script"
exec "$here/../scripts/run_script.sh" --plain "$script"
