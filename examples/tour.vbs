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

' The last line tells scripts/tour.sh that the tour ran to its end: Wine's
' cscript prints nothing and exits 0 when a script stops on an error.
WScript.Echo "End of the tour."
