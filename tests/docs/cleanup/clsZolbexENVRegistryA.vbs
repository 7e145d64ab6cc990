' After the registry object's examples: remove what they wrote and check it is gone.
Set cleanupShell = CreateObject("WScript.Shell")
For Each cleanupKey In Array("HKCU\Software\ZolbexExample", "HKCR\.zolbexnote", "HKCR\ZolbexExample.Note", _
                             "HKLM\SOFTWARE\Classes\.zolbexnote", "HKLM\SOFTWARE\Classes\ZolbexExample.Note")
    cleanupShell.Run "reg delete """ & cleanupKey & """ /f", 0, True
    If cleanupShell.Run("reg query """ & cleanupKey & """", 0, True) = 0 Then WScript.Echo "FAIL left behind: " & cleanupKey
Next
