' After the machine-variables how-to: remove the variable it stored and check it is gone.
Set cleanupShell = CreateObject("WScript.Shell")
cleanupShell.Run "reg delete ""HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment"" /v ZOLBEX_HOWTO_MACHINE /f", 0, True
If CreateObject("ZOLBEX11.clsZolbexENVSystemA").Environment("ZOLBEX_HOWTO_MACHINE") <> "" Then _
    WScript.Echo "FAIL left behind: ZOLBEX_HOWTO_MACHINE"
