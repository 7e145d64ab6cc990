' A short tour of ZOLBEX11 from a late-bound client (run by scripts/tour.sh).
Option Explicit

Dim process, variables
Set process = CreateObject("ZOLBEX11.clsZolbexENVProcessA")

WScript.Echo "== The process environment (clsZolbexENVProcessA)"
Set variables = process.List
WScript.Echo "Variables in this process: " & variables.Count
WScript.Echo "PATH = " & process.Environment("PATH")

' The last line tells scripts/tour.sh that the tour ran to its end: Wine's
' cscript prints nothing and exits 0 when a script stops on an error.
WScript.Echo "End of the tour."
