Attribute VB_Name = "ZolbexTour"
' The ZOLBEX11 tour for VBA (Excel, Word, Access, ...). Import this file (File > Import File...),
' open the Immediate window (Ctrl+G) and run TourZolbex11.
'
' This module is not run by the library's test suite (there is no Office there). It keeps to calls
' that examples/tour.vbs, examples/tour.js and examples/cpp/tour.cpp make, which the suite runs.
'
' Register the DLL of your Office's bitness first (see INSTALL.md): 32-bit Office needs the win32
' package, 64-bit Office the win64 one. The module binds late (CreateObject), so it needs no
' reference. To bind early, add one with Tools > References > Browse... > zolbex11.tlb (it shows
' as "ZOLBEX11"); then you may declare "Dim reg As ZOLBEX11.clsZolbexENVRegistryA", and call the
' members of the global object without creating it, for example EnvironGet(1, "TEMP").
Option Explicit

Private Const HKEY_CURRENT_USER As Long = &H80000001
Private Const REG_SZ As Long = 1, REG_DWORD As Long = 4
Private Const STYLE_PROCESS As Long = 0, STYLE_USER As Long = 1, STYLE_MACHINE As Long = 2

Public Sub TourZolbex11()
    Dim process As Object, variables As Object, pair As Object, shown As Long
    Set process = CreateObject("ZOLBEX11.clsZolbexENVProcessA")
    Debug.Print "== The process environment"
    process.Environment("TOUR_GREETING") = "Hello from VBA"
    Debug.Print "TOUR_GREETING = " & process.Environment("TOUR_GREETING")
    Set variables = process.List
    Debug.Print "Variables in this process: " & variables.Count
    Debug.Print "By name, in any case: path = " & Left$(variables("path").Value, 60) & "..."
    For Each pair In variables
        If shown < 3 Then Debug.Print "  " & pair.Variable & " = " & Left$(pair.Value, 50)
        shown = shown + 1
    Next

    Dim store As Object, names As Variant, count As Long, i As Long, valueName As Variant
    Set store = CreateObject("ZOLBEX11.clsZolbexENVRegistryA")
    Debug.Print "== The registry object"
    store.ClassKey = HKEY_CURRENT_USER
    store.SectionKey = "Software\ZOLBEX11 Tour VBA"
    store.CreateKey
    store.ValueType = REG_SZ
    store.ValueKey = "Greeting"
    store.Value = "Hello"
    store.ValueType = REG_DWORD
    store.ValueKey = "Answer"
    store.Value = 42
    store.EnumerateValues names, count
    For i = 1 To count
        store.ValueKey = names(i)
        Debug.Print names(i) & " = " & store.Value
    Next
    On Error Resume Next
    store.ValueKey = "NoSuchValue"
    store.DeleteValue
    Debug.Print "Deleting a missing value: " & Err.Number & " from " & Err.Source & ": " & Err.Description
    On Error GoTo 0
    For Each valueName In Array("Greeting", "Answer")
        store.ValueKey = valueName
        store.DeleteValue
    Next
    store.DeleteKey
    Debug.Print "Deleted again; the key exists: " & store.KeyExists

    Dim rt As Object
    Set rt = CreateObject("ZOLBEX11.clsZolbex11RunTimeA")
    Debug.Print "== The environment facade of the global object"
    rt.EnvironSet STYLE_USER, "TOUR_USER_HOME", "C:\Tour"
    rt.EnvironSet STYLE_USER, "TOUR_USER_TOOLS", "%TOUR_USER_HOME%\tools"
    Debug.Print "Stored: " & rt.EnvironGet(STYLE_USER, "TOUR_USER_TOOLS")
    Debug.Print "Leading reference resolved: " & rt.EnvironGet(STYLE_USER, "TOUR_USER_TOOLS", True)
    Debug.Print "Machine scope, ComSpec: " & rt.EnvironGet(STYLE_MACHINE, "ComSpec")
    Debug.Print "Process, user and machine variables: " & rt.EnvironList(STYLE_PROCESS).Count & ", " & _
                rt.EnvironList(STYLE_USER).Count & ", " & rt.EnvironList(STYLE_MACHINE).Count

    ' Everything stored for the user is removed again: the variables, and the records EnvironSet
    ' keeps in the settings store (DeleteSetting removes VBA's own settings store entries).
    store.SectionKey = "Environment"
    For Each valueName In Array("TOUR_USER_HOME", "TOUR_USER_TOOLS")
        store.ValueKey = valueName
        store.DeleteValue
        DeleteSetting "Halvern\Solvane", "Environment", valueName
    Next
    Debug.Print "The user's variables and the settings records removed again."
    Debug.Print "End of the tour."
End Sub
