' A short tour of ZOLBEX11 from a late-bound client (run by scripts/tour.sh).
Option Explicit

Dim process, variables, pair, shown
Set process = CreateObject("ZOLBEX11.clsZolbexENVProcessA")

WScript.Echo "== The process environment (clsZolbexENVProcessA)"
process.Environment("TOUR_GREETING") = "Hello from ZOLBEX11"
WScript.Echo "TOUR_GREETING = " & process.Environment("TOUR_GREETING")
Set variables = process.List
WScript.Echo "Variables in this process: " & variables.Count
WScript.Echo "By name, in any case: path = " & Left(variables("path").Value, 60) & "..."
WScript.Echo "By position: the first is " & variables(1).Variable
WScript.Echo "With For Each, the first three:"
shown = 0
For Each pair In variables
    If shown < 3 Then WScript.Echo "  " & pair.Variable & " = " & Left(pair.Value, 50)
    shown = shown + 1
Next

' File associations (clsZolbexENVRegistryA): a document type for a program under both class
' roots, then one more verb through the variable argument list, then the keys removed again.
Dim reg, verbKey
Set reg = CreateObject("ZOLBEX11.clsZolbexENVRegistryA")
WScript.Echo "== File associations (clsZolbexENVRegistryA)"
reg.CreateEXEAssociation "C:\Tour\viewer.exe", "ZOLBEX11Tour.Note", "Tour note", "tournote", , True
reg.ClassKey = &H80000000  ' HKEY_CLASSES_ROOT: the class test looks under the current root
reg.CreateAdditionalEXEAssociations "ZOLBEX11Tour.Note", "edit", "&Edit", "notepad.exe ""%1"""
reg.ClassKey = &H80000000
reg.SectionKey = "ZOLBEX11Tour.Note\shell\edit\command"
WScript.Echo "Edit command of .tournote: " & reg.Value
reg.SectionKey = "ZOLBEX11Tour.Note\shell\print\command"
WScript.Echo "Print command of .tournote: " & reg.Value
For Each verbKey In Array("ZOLBEX11Tour.Note\shell\open\command", "ZOLBEX11Tour.Note\shell\open", _
                          "ZOLBEX11Tour.Note\shell\print\command", "ZOLBEX11Tour.Note\shell\print", _
                          "ZOLBEX11Tour.Note\shell\edit\command", "ZOLBEX11Tour.Note\shell\edit", _
                          "ZOLBEX11Tour.Note\shell", "ZOLBEX11Tour.Note", ".tournote")
    RemoveClassKey verbKey
Next

' Both roots may show the same key (HKEY_CLASSES_ROOT merges the machine classes in), so the
' second delete may find nothing left to delete.
Sub RemoveClassKey(path)
    On Error Resume Next
    reg.ClassKey = &H80000000
    reg.SectionKey = path
    reg.DeleteKey
    reg.ClassKey = &H80000002
    reg.SectionKey = "SOFTWARE\Classes\" & path
    reg.DeleteKey
End Sub

WScript.Echo "== The user's stored environment (clsZolbexENVUserA)"
Dim user
Set user = CreateObject("ZOLBEX11.clsZolbexENVUserA")
user.Environment("TOUR_USER_HOME") = "C:\Tour"
WScript.Echo "TOUR_USER_HOME = " & user.Environment("TOUR_USER_HOME") & " (kept in HKEY_CURRENT_USER\Environment)"
WScript.Echo "User variables: " & user.List.Count

WScript.Echo "== The environment facade of the global object (clsZolbex11RunTimeA)"
Dim rt
Set rt = CreateObject("ZOLBEX11.clsZolbex11RunTimeA")
rt.EnvironSet 1, "TOUR_USER_TOOLS", "%TOUR_USER_HOME%\tools"
WScript.Echo "Stored: " & rt.EnvironGet(1, "TOUR_USER_TOOLS")
WScript.Echo "Leading reference resolved: " & rt.EnvironGet(1, "TOUR_USER_TOOLS", True)
WScript.Echo "Machine scope (the default), ComSpec as stored: " & rt.EnvironGet(, "ComSpec")
rt.ExpandEnvVar = True
WScript.Echo "... and expanded, with ExpandEnvVar = True: " & rt.EnvironGet(, "ComSpec")
rt.ExpandEnvVar = False
WScript.Echo "Process, user and machine variables: " & rt.EnvironList(0).Count & ", " & _
             rt.EnvironList(1).Count & ", " & rt.EnvironList().Count

' The last line tells scripts/tour.sh that the tour ran to its end: Wine's
' cscript prints nothing and exits 0 when a script stops on an error.
WScript.Echo "End of the tour."
