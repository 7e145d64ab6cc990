' The registry object from a late-bound VBScript client: creation by ProgID, writing and reading
' each kind of value, ReadKey/WriteKey, the listings filled into script variables, and the
' errors a script sees through Err. Everything lives under HKCU\Software\ZOLBEX11 Tests and is
' removed at the end. (Wine's VBScript can neither build nor index a byte array, so binary
' writes and indexing are checked by the unit tests.)
' (Check and failures come from include/check.vbs, which run_script.sh puts first.)

Const HKEY_CURRENT_USER = &H80000001
Const REG_NONE = 0, REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3, REG_DWORD = 4, REG_DWORD_BIG_ENDIAN = 5
Const REG_MULTI_SZ = 7
Const Base = "Software\ZOLBEX11 Tests\Script Registry"

Dim reg, shell, value, names, count, i, found
Set reg = CreateObject("zolbex11.clsZolbexENVRegistryA")
Set shell = CreateObject("WScript.Shell")
Check reg.ClassKey = 0 And reg.ValueType = REG_NONE And reg.SectionKey = "", "a new object's state"
Check Not reg.KeyExists, "a new object has no key"

reg.ClassKey = HKEY_CURRENT_USER
reg.SectionKey = Base
Check reg.ClassKey = -2147483647, "the root is a negative number"
Check reg.CreateKey, "CreateKey"
Check reg.KeyExists, "KeyExists after CreateKey"

' Text, with the percent rule choosing the stored type.
reg.ValueType = REG_SZ
reg.ValueKey = "Text"
reg.Value = "hello"
Check reg.Value = "hello", "text round trip"
Check reg.ValueType = REG_SZ, "ValueType after reading text"
reg.ValueKey = "Expand"
reg.Value = "%WINDIR%\Temp"
Check reg.ValueType = REG_SZ, "the percent rule leaves ValueType alone"
Check reg.Value = "%WINDIR%\Temp", "expandable text reads unexpanded"
Check reg.ValueType = REG_EXPAND_SZ, "two separated percent signs store an expandable text"
reg.ExpandEnv = True
Check reg.Value = shell.ExpandEnvironmentStrings("%WINDIR%\Temp"), "ExpandEnv expands"
reg.ExpandEnv = False
reg.ValueType = REG_SZ
reg.ValueKey = "Percent"
reg.Value = "100%%"
value = reg.Value
Check reg.ValueType = REG_SZ, "adjacent percent signs store plain text"

' Integers: big-endian is written as a plain DWORD; digits in a text are converted.
reg.ValueKey = "Number"
reg.ValueType = REG_DWORD_BIG_ENDIAN
reg.Value = 256
value = reg.Value
Check VarType(value) = vbLong And value = 256, "DWORD round trip"
Check reg.ValueType = REG_DWORD, "big-endian written as DWORD"
reg.Value = "77"
Check reg.Value = 77, "a text of digits is written as a number"

' Binary, written by another client, reads as a byte array.
shell.RegWrite "HKCU\" & Base & "\Binary", 258, "REG_BINARY"
reg.ValueKey = "Binary"
value = reg.Value
Check VarType(value) = vbArray + vbByte, "binary reads as a byte array"
Check reg.ValueType = REG_BINARY, "ValueType after reading binary"

' Default for what is missing.
reg.ValueKey = "Missing"
Check IsEmpty(reg.Value), "a missing value reads as Empty"
reg.Default = "none"
Check reg.Value = "none", "a missing value reads as Default"

' ReadKey and WriteKey point the object elsewhere for one call only.
Check reg.ReadKey("Text") = "hello", "ReadKey by value name"
Check reg.ValueKey = "Missing", "ReadKey puts ValueKey back"
Check reg.ReadKey("Missing too", , , "given") = "given", "ReadKey with a Default"
Check reg.Default = "none", "ReadKey puts Default back"
reg.ValueType = REG_SZ
reg.WriteKey "written", "W", Base & "\Sub", HKEY_CURRENT_USER
Check reg.SectionKey = Base And reg.ValueKey = "Missing", "WriteKey puts the location back"
Check reg.ReadKey("W", Base & "\Sub") = "written", "WriteKey wrote into the sub-key"

' Listings fill the script's variables: 1-based arrays and counts, replaced on every call.
names = Array("old", "old") : count = 7
Check reg.EnumerateValues(names, count), "EnumerateValues returns True"
Check count = 5, "five values listed, got " & count
Check LBound(names) = 1 And UBound(names) = count, "value names are 1-based"
found = 0
For i = 1 To count
    If names(i) = "Text" Or names(i) = "Number" Then found = found + 1
Next
Check found = 2, "value names by index"
Check reg.EnumerateSections(names, count), "EnumerateSections returns True"
Check count = 1 And UBound(names) = 1, "one sub-key listed"
Check names(1) = "Sub", "the sub-key's name"

' Errors, with their exact numbers, sources and descriptions.
On Error Resume Next
reg.SectionKey = Base & "\Absent"
Err.Clear
reg.DeleteKey
Check Err.Number = 26001, "DeleteKey of a missing key raises 26001, got " & Err.Number
Check Err.Source = "zolbex11.cRegistry", "the registry's error source, got " & Err.Source
Check Err.Description = "Failed to delete registry Key: '-2147483647',Section: '" & Base & "\Absent", _
      "DeleteKey description, got " & Err.Description
Err.Clear
reg.DeleteValue
Check Err.Description = "Failed to open key '-2147483647',Section: '" & Base & "\Absent' for delete access", _
      "DeleteValue of a missing key, got " & Err.Description
reg.SectionKey = Base
reg.ValueKey = "Nope"
Err.Clear
reg.DeleteValue
Check Err.Description = "Failed to delete registry Key: '-2147483647',Section: '" & Base & "',Key: 'Nope", _
      "DeleteValue of a missing value, got " & Err.Description
reg.ValueType = REG_DWORD
Err.Clear
reg.Value = "abc"
Check Err.Number = -2147194455, "a DWORD that is no number raises -2147194455, got " & Err.Number
Check Err.Description = "Failed to set registry value Key: '-2147483647',Section: '" & Base & _
      "',Key: 'Nope' to value: 'abc'", "write failure description, got " & Err.Description
reg.ValueType = REG_BINARY
Err.Clear
reg.Value = "abc"
Check Err.Number = 26001, "binary from text raises 26001, got " & Err.Number
Check Err.Description = "Application-defined or object-defined error", "binary error text, got " & Err.Description
reg.ValueType = REG_MULTI_SZ
Err.Clear
reg.Value = "abc"
Check Err.Number = -2147194455, "a multi-string write raises -2147194455, got " & Err.Number
Err.Clear
Set reg = CreateObject("zolbex11.clsZolbexENVRegistryA")
value = reg.CreateKey
Check Err.Number = 26001 And Err.Description = "Failed to create registry Key: '", _
      "CreateKey without a root raises 26001, got " & Err.Number & " " & Err.Description
On Error GoTo 0

' Clean up: sub-key first, since DeleteKey removes one key without sub-keys.
reg.ClassKey = HKEY_CURRENT_USER
reg.SectionKey = Base & "\Sub"
Check reg.DeleteKey, "DeleteKey of the sub-key"
reg.SectionKey = Base
Check reg.EnumerateValues(names, count), "listing before clean-up"
For i = 1 To count
    reg.ValueKey = names(i)
    reg.DeleteValue
Next
Check reg.DeleteKey, "DeleteKey of the emptied key"
Check Not reg.KeyExists, "the key is gone"

If failures = 0 Then WScript.Echo "SCRIPT-OK"
