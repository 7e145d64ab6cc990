' File associations from a late-bound VBScript client: a document class with its verbs under
' both class roots, the state the object is left in, further verbs through the variable argument
' list (0, 3 and 6 items, literals and variables), and the errors a script sees through Err.
' Every key made here is removed at the end.
' (Check and failures come from include/check.vbs, which run_script.sh puts first.)

Const HKEY_CLASSES_ROOT = &H80000000
Const HKEY_LOCAL_MACHINE = &H80000002
Const REG_SZ = 1
Const Cls = "ZOLBEX11Tests.ScriptDocument"
Const Ext = "zolbex11script"
Const Machine = "SOFTWARE\Classes\"

Dim reg, reader
Set reg = CreateObject("zolbex11.clsZolbexENVRegistryA")
Set reader = CreateObject("zolbex11.clsZolbexENVRegistryA")

' The default value of a key below a class root ("(missing)" when the key is not there).
Function DefaultOf(root, path)
    reader.ClassKey = root
    reader.SectionKey = path
    reader.ValueKey = ""
    If reader.KeyExists Then DefaultOf = reader.Value Else DefaultOf = "(missing)"
End Function

' The same default value under both roots.
Sub CheckBoth(path, expected)
    Check DefaultOf(HKEY_CLASSES_ROOT, path) = expected, "HKCR\" & path & " = " & DefaultOf(HKEY_CLASSES_ROOT, path)
    Check DefaultOf(HKEY_LOCAL_MACHINE, Machine & path) = expected, _
          "HKLM\" & Machine & path & " = " & DefaultOf(HKEY_LOCAL_MACHINE, Machine & path)
End Sub

Sub CheckError(number, description, what)
    Check Err.Number = number, what & ": Err.Number " & Err.Number
    Check Err.Source = "zolbex11.cRegistry", what & ": Err.Source " & Err.Source
    Check Err.Description = description, what & ": Err.Description " & Err.Description
    Err.Clear
End Sub

' The class with the print verb and an icon; every other argument left out.
reg.CreateEXEAssociation "C:\App\app.exe", Cls, "Script document", Ext, , True, , , , , , 0
CheckBoth "." & Ext, Cls
CheckBoth Cls, "Script document"
CheckBoth Cls & "\shell\open", "&Open"
CheckBoth Cls & "\shell\open\command", """C:\App\app.exe"" ""%1"""
CheckBoth Cls & "\shell\print", "&Print"
CheckBoth Cls & "\shell\print\command", """C:\App\app.exe"" /p ""%1"""
CheckBoth Cls & "\shell\new", "(missing)"
CheckBoth Cls & "\DefaultIcon", """C:\App\app.exe"",0"
Check reg.ClassKey = HKEY_LOCAL_MACHINE, "ClassKey after CreateEXEAssociation"
Check reg.SectionKey = Cls & "\DefaultIcon", "SectionKey after CreateEXEAssociation: " & reg.SectionKey
Check reg.ValueKey = "" And reg.ValueType = REG_SZ, "ValueKey and ValueType after CreateEXEAssociation"

' Right after CreateEXEAssociation the object looks for the class under HKEY_LOCAL_MACHINE.
On Error Resume Next
reg.CreateAdditionalEXEAssociations Cls, "edit", "&Edit", "notepad.exe ""%1"""
CheckError -2147194451, "Error - attempt to create additional associations before class defined.", "class test"
On Error GoTo 0
Check reg.SectionKey = Cls, "a failed class test only points at the class"
CheckBoth Cls & "\shell\edit", "(missing)"

reg.ClassKey = HKEY_CLASSES_ROOT
reg.CreateAdditionalEXEAssociations Cls
Check reg.SectionKey = Cls And reg.ClassKey = HKEY_CLASSES_ROOT, "no items: only SectionKey changes"

reg.CreateAdditionalEXEAssociations Cls, "edit", "&Edit", "notepad.exe ""%1"""
CheckBoth Cls & "\shell\edit", "&Edit"
CheckBoth Cls & "\shell\edit\command", "notepad.exe ""%1"""
Check reg.ClassKey = HKEY_LOCAL_MACHINE And reg.SectionKey = Cls & "\shell\edit\command", "state after three items"

Dim verb, command
verb = "view"
command = "viewer.exe /v ""%1"""
reg.ClassKey = HKEY_CLASSES_ROOT
reg.CreateAdditionalEXEAssociations Cls, verb, "&View", command, "tools", 42, "tool.exe"
CheckBoth Cls & "\shell\view", "&View"
CheckBoth Cls & "\shell\view\command", "viewer.exe /v ""%1"""
CheckBoth Cls & "\shell\tools", "42"
CheckBoth Cls & "\shell\tools\command", "tool.exe"
Check verb = "view" And command = "viewer.exe /v ""%1""", "variables passed as items are unchanged"

' Item counts that are not a multiple of three, and an empty class name.
Const BadList = "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command"
reg.ClassKey = HKEY_CLASSES_ROOT
On Error Resume Next
reg.CreateAdditionalEXEAssociations Cls, "a", "b", "c", "d"
CheckError -2147194452, BadList, "four items"
reg.CreateAdditionalEXEAssociations Cls, "a", "b", "c", "d", "e"
CheckError -2147194452, BadList, "five items"
reg.CreateAdditionalEXEAssociations "", "a", "b", "c"
CheckError -2147194453, _
    "Invalid parameter passed to CreateAdditionalEXEAssociations - the class name must not be empty", "empty class"
reg.CreateEXEAssociation "C:\App\app.exe", Cls, "Script document", ""
CheckError -2147194453, _
    "Invalid parameter passed to CreateEXEAssociation - the extension must not be empty", "empty extension"
On Error GoTo 0
CheckBoth Cls & "\shell\a", "(missing)"

' Clean up both roots, deepest keys first (DeleteKey removes one key without sub-keys).
Dim root, prefix, key, keys
keys = Array(Cls & "\shell\open\command", Cls & "\shell\open", Cls & "\shell\print\command", Cls & "\shell\print", _
             Cls & "\shell\edit\command", Cls & "\shell\edit", Cls & "\shell\view\command", Cls & "\shell\view", _
             Cls & "\shell\tools\command", Cls & "\shell\tools", Cls & "\shell", Cls & "\DefaultIcon", Cls, "." & Ext)
For Each root In Array(HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE)
    If root = HKEY_CLASSES_ROOT Then prefix = "" Else prefix = Machine
    reg.ClassKey = root
    For Each key In keys
        reg.SectionKey = prefix & key
        On Error Resume Next
        reg.DeleteKey
        On Error GoTo 0
    Next
Next
CheckBoth Cls, "(missing)"
CheckBoth "." & Ext, "(missing)"

If failures = 0 Then WScript.Echo "SCRIPT-OK"
