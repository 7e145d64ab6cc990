' The checks every VBScript client test uses. VBScript has no include: run_script.sh runs each
' test as this file followed by the test (so a test has neither Option Explicit nor these lines
' of its own, and cscript's line numbers count this file's lines first). A test ends with
'     If failures = 0 Then WScript.Echo "SCRIPT-OK"
Option Explicit

Dim failures : failures = 0

' Reports a failed expectation as a FAIL line (the harness fails the test on any such line).
Sub Check(ok, what)
    If Not ok Then
        WScript.Echo "FAIL " & what
        failures = failures + 1
    End If
End Sub
