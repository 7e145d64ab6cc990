' After the runtime object's examples: remove the stored variable, its settings-store record and
' the drive mapping, and check they are gone.
Set cleanupShell = CreateObject("WScript.Shell")
cleanupShell.Run "reg delete HKCU\Environment /v ZOLBEX_EXAMPLE_TOOLS /f", 0, True
cleanupRecord = "HKCU\Software\VB and VBA Program Settings\Halvern\Solvane\Environment"
cleanupShell.Run "reg delete """ & cleanupRecord & """ /v ZOLBEX_EXAMPLE_TOOLS /f", 0, True
If cleanupShell.Run("reg query """ & cleanupRecord & """ /v ZOLBEX_EXAMPLE_TOOLS", 0, True) = 0 Then _
    WScript.Echo "FAIL left behind: the settings-store record"
If rt.EnvironGet(1, "ZOLBEX_EXAMPLE_TOOLS") <> "" Then WScript.Echo "FAIL left behind: ZOLBEX_EXAMPLE_TOOLS"
' subst runs on its own: wait (at most about five seconds) for the mapping before removing it.
Set cleanupFso = CreateObject("Scripting.FileSystemObject")
cleanupStart = Timer
Do Until cleanupFso.DriveExists("X:") Or Abs(Timer - cleanupStart) > 5
Loop
cleanupShell.Run "subst X: /D", 0, True
If cleanupFso.DriveExists("X:") Then WScript.Echo "FAIL left behind: drive X:"
