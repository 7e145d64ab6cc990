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

' The text of a file, or "" while another program holds it open.
Function ReadWhenFree(path)
    On Error Resume Next
    ReadWhenFree = ""
    ReadWhenFree = fso.OpenTextFile(path).ReadAll
End Function

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

WScript.Echo "== A virtual drive (clsZolbex11RunTimeA.CreateVirtualDrive)"
' The library starts the system's subst.exe, then names the drive where Explorer shows a drive
' letter's name (no volume is relabelled; naming needs administrator rights). Wine has no working
' subst.exe: under Wine, scripts/tour.sh puts a stand-in into the tour's private prefix. It records
' each run in the file named by ZOLBEX11_TOOL_LOG, which this process hands down to the programs it starts.
Dim fso, folder, letter, drive, toolLog, line
Set fso = CreateObject("Scripting.FileSystemObject")
folder = fso.GetSpecialFolder(2) & "\zolbex11-tour-drive"
If Not fso.FolderExists(folder) Then fso.CreateFolder folder
fso.CreateTextFile(folder & "\note.txt", True).WriteLine "written before the drive existed"
toolLog = folder & "-tools.log"
If fso.FileExists(toolLog) Then fso.DeleteFile toolLog
process.Environment("ZOLBEX11_TOOL_LOG") = toolLog
drive = ""
For Each letter In Array("T", "S", "R", "Q", "P")
    If drive = "" And Not fso.DriveExists(letter & ":") Then drive = letter & ":"
Next
' With the label step asked for, the call waits for the mapping before it names the drive.
rt.CreateVirtualDrive 0, drive, folder, "TOUR", True
WScript.Echo "Mapped " & drive & " to " & folder & " and asked for the label TOUR"
If fso.FileExists(drive & "\note.txt") Then WScript.Echo drive & "\note.txt is the folder's note.txt"
If fso.FileExists(toolLog) Then
    ' The substitution tool has ended before the call returned (it waits for the mapping to
    ' name the drive).
    WScript.Echo "The stand-in subst.exe recorded (its arguments | its working folder):"
    For Each line In Split(ReadWhenFree(toolLog), vbLf)
        If Left(line, 6) = "subst|" Then WScript.Echo "  " & Replace(Mid(line, 7), "|", "  |  ")
    Next
End If
CreateObject("WScript.Shell").Run """" & rt.EnvironGet(0, "WINDIR") & "\System32\subst.exe"" " & drive & " /D", 0, True
WScript.Echo "Mapping removed again"
If fso.FileExists(toolLog) Then fso.DeleteFile toolLog
fso.DeleteFolder folder

' The last line tells scripts/tour.sh that the tour ran to its end: Wine's
' cscript prints nothing and exits 0 when a script stops on an error.
WScript.Echo "End of the tour."
