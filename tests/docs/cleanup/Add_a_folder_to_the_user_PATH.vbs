' After the PATH how-to: take its folder out of the user's PATH again (the value goes when it held
' nothing else) and check it is gone.
Set cleanupUser = CreateObject("ZOLBEX11.clsZolbexENVUserA")
cleanupPath = Replace(";" & cleanupUser.Environment("PATH") & ";", ";%USERPROFILE%\ZolbexTools;", ";")
If Len(cleanupPath) <= 2 Then cleanupPath = "" Else cleanupPath = Mid(cleanupPath, 2, Len(cleanupPath) - 2)
If cleanupPath = "" Then
    CreateObject("WScript.Shell").Run "reg delete HKCU\Environment /v PATH /f", 0, True
Else
    cleanupUser.Environment("PATH") = cleanupPath
End If
If InStr(CreateObject("ZOLBEX11.clsZolbexENVUserA").Environment("PATH"), "ZolbexTools") > 0 Then _
    WScript.Echo "FAIL left behind: ZolbexTools in the user PATH"
