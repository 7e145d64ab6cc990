' The environment facade of the global object from a late-bound VBScript client: EnvironGet,
' EnvironSet and EnvironList for the process, user and machine scopes, omitted arguments, a
' script variable as the name, the leading-reference resolution, the settings-store switch
' clearing the caller's variable, and ExpandEnvVar shared by the objects of one thread.
' Every value it stores is removed again at its end (through the library's registry object).
' (Check and failures come from include/check.vbs, which run_script.sh puts first.)

Const HKEY_CURRENT_USER = &H80000001
Const HKEY_LOCAL_MACHINE = &H80000002
Const MACHINE_KEY = "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
Const SETTINGS_KEY = "Software\VB and VBA Program Settings\Halvern\Solvane"

' Removes one registry value, whether it exists or not.
Sub RemoveValue(root, path, name)
    Dim reg
    Set reg = CreateObject("zolbex11.clsZolbexENVRegistryA")
    reg.ClassKey = root
    reg.SectionKey = path
    reg.ValueKey = name
    reg.DeleteValue
End Sub

Dim rt, other, name, value, list, again, caller, reg
Set rt = CreateObject("zolbex11.clsZolbex11RunTimeA")
Set other = CreateObject("zolbex11.clsZolbex11RunTimeA")

' Set then get in each scope; each scope keeps its own value.
Check rt.EnvironSet(0, "ZOLBEX11_SCRIPT_V", "in the process") = "", "EnvironSet returns the empty text"
rt.EnvironSet 1, "ZOLBEX11_SCRIPT_V", "for the user"
rt.EnvironSet 2, "ZOLBEX11_SCRIPT_V", "for the machine"
Check rt.EnvironGet(0, "ZOLBEX11_SCRIPT_V") = "in the process", "process scope"
Check rt.EnvironGet(1, "ZOLBEX11_SCRIPT_V") = "for the user", "user scope"
Check rt.EnvironGet(2, "ZOLBEX11_SCRIPT_V") = "for the machine", "machine scope"
Check rt.EnvironGet(3, "ZOLBEX11_SCRIPT_V") = "", "style 3 reads nothing"
Check rt.EnvironGet(1, "ZOLBEX11_SCRIPT_MISSING") = "", "a missing variable reads as empty text"

' Omitted arguments: the machine scope by default.
name = "ZOLBEX11_SCRIPT_V"
Check rt.EnvironGet(2, name) = "for the machine", "the name in a script variable"
Check name = "ZOLBEX11_SCRIPT_V", "the name variable is left as it was"
Check rt.EnvironGet(, "ZOLBEX11_SCRIPT_V") = "for the machine", "style omitted"
value = rt.EnvironGet()
Check VarType(value) = vbString, "every argument omitted gives a text"

' The record of every set in the settings store.
Set reg = CreateObject("zolbex11.clsZolbexENVRegistryA")
Check reg.ReadKey("ZOLBEX11_SCRIPT_V", SETTINGS_KEY & "\Environment", HKEY_CURRENT_USER) = "for the machine", _
      "the last set is recorded"

' A leading reference resolved on request, in the caller's scope.
rt.EnvironSet 1, "ZOLBEX11_SCRIPT_A", "C:\Alpha"
rt.EnvironSet 1, "ZOLBEX11_SCRIPT_REF", "%ZOLBEX11_SCRIPT_A%\bin%ZOLBEX11_SCRIPT_V%dropped"
Check rt.EnvironGet(1, "ZOLBEX11_SCRIPT_REF", True) = "C:\Alpha\bin", "resolved with bFullValue True"
Check rt.EnvironGet(1, "ZOLBEX11_SCRIPT_REF") = "%ZOLBEX11_SCRIPT_A%\bin%ZOLBEX11_SCRIPT_V%dropped", _
      "unresolved by default"

' The record holds the value resolved in the machine scope, looked up through a runtime object
' that the library creates by its ProgID, whatever the caller's scope.
rt.EnvironSet 2, "ZOLBEX11_SCRIPT_A", "C:\MachineAlpha"
rt.EnvironSet 1, "ZOLBEX11_SCRIPT_REF", "%ZOLBEX11_SCRIPT_A%\lib"
Check reg.ReadKey("ZOLBEX11_SCRIPT_REF", SETTINGS_KEY & "\Environment", HKEY_CURRENT_USER) = "C:\MachineAlpha\lib", _
      "the record resolved in the machine scope"
Check rt.EnvironGet(1, "ZOLBEX11_SCRIPT_REF") = "%ZOLBEX11_SCRIPT_A%\lib", "the scope keeps the text as given"

' The listings: one new collection per call, holding the scope's variables.
Set list = rt.EnvironList(1)
Set again = rt.EnvironList(1)
Check Not list Is again, "every EnvironList is a new collection"
Check list("zolbex11_script_v").Value = "for the user", "the user listing by name"
Set list = rt.EnvironList(0)
Check list("ZOLBEX11_SCRIPT_V").Value = "in the process", "the process listing"
Set list = rt.EnvironList()
Check list("ZOLBEX11_SCRIPT_V").Value = "for the machine", "the machine listing by default"
Check rt.EnvironList(3) Is Nothing, "style 3 lists nothing"

' The switch "CleanMachineEnvVar" = 1 turns a set into a clear, of the caller's variable too.
reg.WriteKey "1", "CleanMachineEnvVar", SETTINGS_KEY, HKEY_CURRENT_USER
caller = "to be cleared"
rt.EnvironSet 1, "ZOLBEX11_SCRIPT_V", caller
Check caller = "", "the caller's variable is cleared"
Check rt.EnvironGet(1, "ZOLBEX11_SCRIPT_V") = "", "the variable is stored empty"
RemoveValue HKEY_CURRENT_USER, SETTINGS_KEY, "CleanMachineEnvVar"
caller = "kept"
rt.EnvironSet 1, "ZOLBEX11_SCRIPT_V", caller
Check caller = "kept", "without the switch the caller's variable is kept"

' The expansion setting is shared by the objects of this thread and reaches the next call.
rt.EnvironSet 1, "ZOLBEX11_SCRIPT_EXP", "%ZOLBEX11_SCRIPT_V%-x"
Check Not other.ExpandEnvVar, "False at first"
rt.ExpandEnvVar = True
Check other.ExpandEnvVar, "another runtime object sees True"
rt.EnvironSet 0, "ZOLBEX11_SCRIPT_V", "proc"
Check rt.EnvironGet(1, "ZOLBEX11_SCRIPT_EXP") = "proc-x", "expanded once the setting is True"
rt.ExpandEnvVar = False
Check rt.EnvironGet(1, "ZOLBEX11_SCRIPT_EXP") = "%ZOLBEX11_SCRIPT_V%-x", "unexpanded again"

' Clean up every stored value.
For Each name In Array("ZOLBEX11_SCRIPT_V", "ZOLBEX11_SCRIPT_A", "ZOLBEX11_SCRIPT_REF", "ZOLBEX11_SCRIPT_EXP")
    RemoveValue HKEY_CURRENT_USER, "Environment", name
    RemoveValue HKEY_CURRENT_USER, SETTINGS_KEY & "\Environment", name
Next
RemoveValue HKEY_LOCAL_MACHINE, MACHINE_KEY, "ZOLBEX11_SCRIPT_V"
RemoveValue HKEY_LOCAL_MACHINE, MACHINE_KEY, "ZOLBEX11_SCRIPT_A"
Check rt.EnvironGet(1, "ZOLBEX11_SCRIPT_V") = "", "the user variable is gone"

If failures = 0 Then WScript.Echo "SCRIPT-OK"
