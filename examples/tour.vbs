' A short tour of ZOLBEX11 from a late-bound client: cscript //nologo tour.vbs. It removes
' everything it writes; the file-association part needs administrator rights and is skipped
' without them.
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

' The registry object (clsZolbexENVRegistryA): a key of our own under HKEY_CURRENT_USER, a text,
' a number and binary data written and read back, the value and sub-key names listed, then all of
' it deleted again.
Const HKEY_CURRENT_USER = &H80000001, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4
Dim store, names, count, i, bytes, shell
Set store = CreateObject("ZOLBEX11.clsZolbexENVRegistryA")
WScript.Echo "== The registry object (clsZolbexENVRegistryA)"
store.ClassKey = HKEY_CURRENT_USER
store.SectionKey = "Software\ZOLBEX11 Tour\Settings"
WScript.Echo "Key created: " & store.CreateKey
store.ValueType = REG_SZ
store.ValueKey = "Greeting"
store.Value = "Hello"
WScript.Echo "Greeting = " & store.Value
store.ValueType = REG_DWORD
store.ValueKey = "Answer"
store.Value = 42
WScript.Echo "Answer = " & store.Value & " (VarType " & VarType(store.Value) & ", a Long)"
' A script cannot build a byte array itself: the shell stores four bytes, the registry object reads
' them as a byte array and writes them back as binary data under a second name.
Set shell = CreateObject("WScript.Shell")
shell.RegWrite "HKCU\Software\ZOLBEX11 Tour\Settings\Seed", 1234, "REG_BINARY"
store.ValueKey = "Seed"
bytes = store.Value
WScript.Echo "Seed reads as VarType " & VarType(bytes) & " (a byte array), ValueType " & store.ValueType
store.ValueType = REG_BINARY
store.ValueKey = "Copy"
store.Value = bytes
bytes = shell.RegRead("HKCU\Software\ZOLBEX11 Tour\Settings\Copy")
WScript.Echo "Copy, as the shell reads it:" & ListBytes(bytes)
store.SectionKey = "Software\ZOLBEX11 Tour\Settings\Window"
store.CreateKey
store.SectionKey = "Software\ZOLBEX11 Tour\Settings"
store.EnumerateValues names, count
WScript.Echo count & " values:" & JoinNames(names, count)
store.EnumerateSections names, count
WScript.Echo count & " sub-key:" & JoinNames(names, count)
' Errors carry a number, a source and a description that names the location.
On Error Resume Next
store.ValueKey = "NoSuchValue"
store.DeleteValue
WScript.Echo "Deleting a missing value: " & Err.Number & " from " & Err.Source & ": " & Err.Description
On Error GoTo 0
For Each i In Array("Greeting", "Answer", "Seed", "Copy")
    store.ValueKey = i
    store.DeleteValue
Next
For Each i In Array("Software\ZOLBEX11 Tour\Settings\Window", "Software\ZOLBEX11 Tour\Settings", "Software\ZOLBEX11 Tour")
    store.SectionKey = i
    store.DeleteKey
Next
WScript.Echo "Deleted again; the key exists: " & store.KeyExists

Function ListBytes(values)
    Dim n
    ListBytes = ""
    For n = 0 To UBound(values)
        ListBytes = ListBytes & " " & Right("0" & Hex(values(n)), 2)
    Next
End Function

Function JoinNames(names, count)
    Dim n
    JoinNames = ""
    For n = 1 To count
        JoinNames = JoinNames & " " & names(n)
    Next
End Function

' File associations (clsZolbexENVRegistryA): a document type for a program under both class
' roots, then one more verb through the variable argument list, then the keys removed again.
' They are written under HKEY_LOCAL_MACHINE, which needs an elevated process: without one, the
' tour says so and goes on.
Dim reg, verbKey
Set reg = CreateObject("ZOLBEX11.clsZolbexENVRegistryA")
WScript.Echo "== File associations (clsZolbexENVRegistryA)"
If Not CanWriteMachineClasses() Then
    WScript.Echo "Skipped: registering a file type needs administrator rights (run the tour from an elevated prompt)."
Else
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
    WScript.Echo "Registered and removed again."
End If

' Whether this process may write HKEY_LOCAL_MACHINE\SOFTWARE\Classes: a key of our own is created
' and deleted again (error 26001 when the process is not elevated).
Function CanWriteMachineClasses()
    Dim probe
    Set probe = CreateObject("ZOLBEX11.clsZolbexENVRegistryA")
    probe.ClassKey = &H80000002
    probe.SectionKey = "SOFTWARE\Classes\ZOLBEX11Tour.Probe"
    On Error Resume Next
    probe.CreateKey
    CanWriteMachineClasses = (Err.Number = 0)
    Err.Clear
    probe.DeleteKey
End Function

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
' EnvironSet also records the value in the settings store, under
' HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Halvern\Solvane\Environment.
Const SETTINGS = "Software\VB and VBA Program Settings\Halvern"
Dim rt, settingsExisted
Set rt = CreateObject("ZOLBEX11.clsZolbex11RunTimeA")
store.ClassKey = HKEY_CURRENT_USER
store.SectionKey = SETTINGS
settingsExisted = store.KeyExists
rt.EnvironSet 1, "TOUR_USER_TOOLS", "%TOUR_USER_HOME%\tools"
WScript.Echo "Stored: " & rt.EnvironGet(1, "TOUR_USER_TOOLS")
WScript.Echo "Leading reference resolved: " & rt.EnvironGet(1, "TOUR_USER_TOOLS", True)
WScript.Echo "Machine scope (the default), ComSpec as stored: " & rt.EnvironGet(, "ComSpec")
rt.ExpandEnvVar = True
WScript.Echo "... and expanded, with ExpandEnvVar = True: " & rt.EnvironGet(, "ComSpec")
rt.ExpandEnvVar = False
WScript.Echo "Process, user and machine variables: " & rt.EnvironList(0).Count & ", " & _
             rt.EnvironList(1).Count & ", " & rt.EnvironList().Count

' Everything the tour stored for the user is removed again: the two variables and the record.
For Each i In Array("TOUR_USER_HOME", "TOUR_USER_TOOLS")
    store.SectionKey = "Environment"
    store.ValueKey = i
    store.DeleteValue
Next
store.SectionKey = SETTINGS & "\Solvane\Environment"
store.ValueKey = "TOUR_USER_TOOLS"
store.DeleteValue
If Not settingsExisted Then
    For Each i In Array(SETTINGS & "\Solvane\Environment", SETTINGS & "\Solvane", SETTINGS)
        store.SectionKey = i
        store.DeleteKey
    Next
End If
WScript.Echo "The user's variables and the settings record removed again."

WScript.Echo "== A virtual drive (clsZolbex11RunTimeA.CreateVirtualDrive)"
' The library starts the system's subst.exe and returns; the mapping shows a moment later.
Dim fso, folder, letter, drive, waited
Set fso = CreateObject("Scripting.FileSystemObject")
folder = fso.GetSpecialFolder(2) & "\zolbex11-tour-drive"
If Not fso.FolderExists(folder) Then fso.CreateFolder folder
fso.CreateTextFile(folder & "\note.txt", True).WriteLine "written before the drive existed"
drive = ""
For Each letter In Array("T", "S", "R", "Q", "P")
    If drive = "" And Not fso.DriveExists(letter & ":") Then drive = letter & ":"
Next
rt.CreateVirtualDrive 0, drive, folder
waited = Timer
Do Until fso.DriveExists(drive) Or Abs(Timer - waited) > 5  ' at most about five seconds
Loop
WScript.Echo "Mapped " & drive & " to " & folder
If fso.FileExists(drive & "\note.txt") Then WScript.Echo drive & "\note.txt is the folder's note.txt"
CreateObject("WScript.Shell").Run """" & rt.EnvironGet(0, "WINDIR") & "\System32\subst.exe"" " & drive & " /D", 0, True
WScript.Echo "Mapping removed again"
fso.DeleteFolder folder

' The last line says the tour ran to its end.
WScript.Echo "End of the tour."
