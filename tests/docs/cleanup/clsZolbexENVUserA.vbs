' After the user scope's examples: remove the variable they stored and check it is gone.
Set cleanupShell = CreateObject("WScript.Shell")
cleanupShell.Run "reg delete HKCU\Environment /v MY_HOME /f", 0, True
If CreateObject("ZOLBEX11.clsZolbexENVUserA").Environment("MY_HOME") <> "" Then WScript.Echo "FAIL left behind: MY_HOME"
