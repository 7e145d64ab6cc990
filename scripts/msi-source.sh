#!/usr/bin/env bash
# Writes the WiX source of one Windows Installer package (built by scripts/assemble-msi.sh):
#   msi-source.sh win32|win64 VERSION FOLDER REGISTRATION DLL_WINDOWS_PATH >package.wxs
# FOLDER is the unpacked release folder (wixl runs in it: file sources are relative to it): every
# file in it is installed, per machine, into
# <Program Files>\ZOLBEX11 (the 32-bit Program Files for win32). REGISTRATION is what the DLL's
# own DllRegisterServer wrote (zolbex11_regcapture: KEY<tab>NAME<tab>DATA below the classes
# root) for the DLL at DLL_WINDOWS_PATH; that path and its folder become the installed ones.
#
# Component codes are derived from fixed names, so they stay the same from build to build. The
# values both DLLs write alike in the part of the classes root that 32-bit and 64-bit programs
# share (the ProgIDs, the type library's version key) are components of their own whose codes
# are the same in both packages: Windows Installer counts their users and keeps them until the
# last package that has them is removed. Everything else (the classes and interfaces, which each
# registry view has for itself, and every value naming the DLL's path) belongs to the DLL.
set -euo pipefail

arch="$1" version="$2" folder="$3" registration="$4" dll_path="$5"
case "$arch" in
    win32) program_files=ProgramFilesFolder win64=no title="ZOLBEX11 (32-bit)"
           upgrade_code=360F844E-F376-4D39-A7A9-6794AF449157 ;;
    win64) program_files=ProgramFiles64Folder win64=yes title="ZOLBEX11 (64-bit)"
           upgrade_code=069685CB-AAA9-43BB-AC8A-AC6000505B4B ;;
    *) echo "msi-source.sh: unknown target $arch (win32 or win64)" >&2; exit 2 ;;
esac
dll_folder="${dll_path%\\*}"
IFS=. read -r major minor build _ <<<"$version"
next_build="$major.$minor.$((build + 1))"

# A component code from a fixed name: the name's SHA-1 laid out as a name-based GUID.
component_code() {
    local h
    h="$(printf 'zolbex11 component %s' "$1" | sha1sum)"
    printf '%s-%s-5%s-%x%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:13:3}" $(( (0x${h:16:1} & 3) | 8 )) "${h:17:3}" "${h:20:12}" \
        | tr a-f A-F
}

# An identifier for the package's tables: letters, digits, dots and underscores.
identifier() { local s="${1//[^A-Za-z0-9_.]/_}"; printf '%s' "$2${s:0:60}"; }

xml() {
    local s="$1"
    s="${s//&/&amp;}" s="${s//</&lt;}" s="${s//>/&gt;}" s="${s//\"/&quot;}"
    printf '%s' "$s"
}

# Installer text is formatted: brackets name properties, so literal ones are escaped; then the
# DLL's path and folder become the installed file ([#zolbex11.dll]) and folder ([INSTALLDIR]).
installed_text() {
    local s="$1"
    s="${s//\[/[\\[]}" s="${s//\]/[\\]]}"
    s="${s//"$dll_path"/[#zolbex11.dll]}"
    # [INSTALLDIR] ends with a backslash: a folder value keeps it (the same folder to Windows).
    s="${s//"$dll_folder"/[INSTALLDIR]}"
    printf '%s' "$s"
}

registry_value() {
    local key="$1" name="$2" data="$3" keypath="${4:-}"
    printf '          <RegistryValue Root="HKLM" Key="%s"' "$(xml "Software\\Classes\\$key")"
    [ -n "$name" ] && printf ' Name="%s"' "$(xml "$(installed_text "$name")")"
    printf ' Type="string" Value="%s"' "$(xml "$(installed_text "$data")")"
    [ -n "$keypath" ] && printf ' KeyPath="yes"'
    printf '/>\n'
}

# The key a shared value belongs to: its top key, or the type library's version key.
shared_group() {
    local key="$1"
    case "$key" in
        TypeLib\\*) IFS='\' read -r a b c _ <<<"$key"; printf '%s\\%s\\%s' "$a" "$b" "$c" ;;
        *) printf '%s' "${key%%\\*}" ;;
    esac
}

dll_values=()
declare -A shared_values=()
shared_order=()
# Splits a KEY<tab>NAME<tab>DATA line into key, name and data (a name may be empty, which
# read with a tab for IFS would swallow).
split_row() { key="${1%%$'\t'*}"; local rest="${1#*$'\t'}"; name="${rest%%$'\t'*}"; data="${rest#*$'\t'}"; }

while IFS= read -r line; do
    split_row "$line"
    case "$key" in
        CLSID\\* | Interface\\*) dll_values+=("$key"$'\t'"$name"$'\t'"$data"); continue ;;
    esac
    if [[ "$data" == *"$dll_folder"* || "$name" == *"$dll_folder"* ]]; then
        dll_values+=("$key"$'\t'"$name"$'\t'"$data")
        continue
    fi
    group="$(shared_group "$key")"
    [ -n "${shared_values[$group]+set}" ] || shared_order+=("$group")
    shared_values[$group]+="$key"$'\t'"$name"$'\t'"$data"$'\n'
done <"$registration"
[ ${#dll_values[@]} -gt 0 ] || { echo "msi-source.sh: $registration holds no registration" >&2; exit 1; }

components=()
component_open() {  # ID CODE-NAME
    components+=("$1")
    printf '        <Component Id="%s" Guid="%s" Win64="%s">\n' "$1" "$(component_code "$2")" "$win64"
}

# Files, folder by folder.
files_of() {
    local dir="$1" indent="$2" rel entry id
    for entry in "$dir"/*; do
        rel="${entry#"$folder"/}"
        if [ -d "$entry" ]; then
            printf '%s<Directory Id="%s" Name="%s">\n' "$indent" "$(identifier "$rel" d_)" "$(xml "${entry##*/}")"
            files_of "$entry" "$indent  "
            printf '%s</Directory>\n' "$indent"
        elif [ "$rel" != zolbex11.dll ]; then
            id="$(identifier "$rel" c_)"
            components+=("$id")
            printf '%s<Component Id="%s" Guid="%s" Win64="%s">\n' "$indent" "$id" "$(component_code "$arch file $rel")" "$win64"
            printf '%s  <File Id="%s" Source="%s" KeyPath="yes"/>\n' "$indent" "$(identifier "$rel" f_)" "$(xml "$rel")"
            printf '%s</Component>\n' "$indent"
        fi
    done
}

cat <<HEAD
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="$title" Language="1033" Version="$version" Manufacturer="ZOLBEX11"
           UpgradeCode="$upgrade_code">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"
             Description="$title $version: the COM automation library, registered for every user"/>
    <!-- Windows Installer compares three parts of a version, so a package whose version differs
         only in the fourth replaces the installed one too: every version below the next third
         part goes (wixl has no AllowSameVersionUpgrades and writes no inclusive maximum); a newer
         installed version refuses the install. -->
    <Upgrade Id="$upgrade_code">
      <UpgradeVersion Minimum="0.0.0" IncludeMinimum="yes" Maximum="$next_build" IncludeMaximum="no"
                      Property="OLDERVERSIONFOUND"/>
      <UpgradeVersion Minimum="$version" IncludeMinimum="no" OnlyDetect="yes" Property="NEWERVERSIONFOUND"/>
    </Upgrade>
    <Condition Message="A newer version of $title is already installed.">NOT NEWERVERSIONFOUND</Condition>
    <InstallExecuteSequence>
      <RemoveExistingProducts After="InstallValidate"/>
    </InstallExecuteSequence>
    <Media Id="1" Cabinet="zolbex11.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="$program_files">
        <Directory Id="INSTALLDIR" Name="ZOLBEX11">
HEAD
component_open c_zolbex11.dll "$arch dll"
printf '          <File Id="zolbex11.dll" Source="zolbex11.dll" KeyPath="yes"/>\n'
for row in "${dll_values[@]}"; do
    split_row "$row"
    registry_value "$key" "$name" "$data"
done
printf '        </Component>\n'
for group in "${shared_order[@]}"; do
    component_open "$(identifier "$group" s_)" "shared $group"
    first=yes
    while IFS= read -r row; do
        [ -n "$row" ] || continue
        split_row "$row"
        registry_value "$key" "$name" "$data" "$first"
        first=
    done <<<"${shared_values[$group]}"
    printf '        </Component>\n'
done
files_of "$folder" "        "
cat <<TAIL
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Library" Level="1" Title="$title">
TAIL
for id in "${components[@]}"; do printf '      <ComponentRef Id="%s"/>\n' "$id"; done
cat <<END
    </Feature>
  </Product>
</Wix>
END
