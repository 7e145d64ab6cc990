' The process environment from a late-bound VBScript client: creation by ProgID in any case,
' set then get, the listing by position, by name ignoring case and with For Each, its caching,
' and the errors a script sees. (Wine's VBScript has no ChrW, so characters outside the code
' page are checked by the unit tests.)
' (Check and failures come from include/check.vbs, which run_script.sh puts first.)

Dim scope, other, list, again, pair, i, n, found, longValue
Set scope = CreateObject("ZOLBEX11.clsZolbexENVProcessA")
Set other = CreateObject("zolbex11.clszolbexenvprocessa")
Check Not other Is Nothing, "creation by a lower-case ProgID"

' Set, then get through this object and another one, the name in another case.
scope.Environment("ZOLBEX11_SCRIPT_VAR") = "B=C"
Check scope.Environment("ZOLBEX11_SCRIPT_VAR") = "B=C", "set then get"
Check other.Environment("zolbex11_script_var") = "B=C", "get by a name in another case"
Check scope.Environment("ZOLBEX11_NO_SUCH_VARIABLE") = "", "a missing variable reads as empty text"
longValue = String(700, "x") & ";C:\end"
scope.Environment("ZOLBEX11_SCRIPT_LONG") = longValue
Check scope.Environment("ZOLBEX11_SCRIPT_LONG") = longValue, "a value longer than 256 characters comes back whole"

' The listing, taken after the variables were set.
Set list = other.List
Check list.Count > 3, "Count"
Check list("zolbex11_script_var").Value = "B=C", "by name ignoring case"
Check list.Item("ZOLBEX11_SCRIPT_VAR").Variable = "ZOLBEX11_SCRIPT_VAR", "Item by name keeps the name's case"
Check list("ZOLBEX11_SCRIPT_LONG").Value = longValue, "a long value in the listing"

found = 0
For i = 1 To list.Count
    If list(i).Variable = "ZOLBEX11_SCRIPT_VAR" Then found = found + 1
Next
Check found = 1, "by position"

n = 0
For Each pair In list
    n = n + 1
    If n <= list.Count Then Check pair Is list(n), "For Each yields the pair at position " & n
Next
Check n = list.Count, "For Each visits Count pairs"

' The pairs are shared references: a change through one result shows through the next.
list(1).Value = "changed by the script"
Check list(1).Value = "changed by the script", "pairs are references"

' One listing per object, never refreshed; a new object sees new variables.
scope.Environment("ZOLBEX11_SCRIPT_LATER") = "later"
Set again = other.List
Check again Is list, "List returns the same collection"
Check again.Count = list.Count, "the cached listing does not grow"
Set again = CreateObject("ZOLBEX11.clsZolbexENVProcessA").List
Check again("ZOLBEX11_SCRIPT_LATER").Value = "later", "a new object lists the new variable"

' Errors through On Error Resume Next, with Item named and as the default member. (Wine's
' VBScript loses the error of a default-member call whose result feeds Set or a further member,
' so the default form is read into a plain variable.)
Dim index, expected, value
On Error Resume Next
For Each index In Array(0, -1, list.Count + 1, "ZOLBEX11_SCRIPT_LATER", "1", "")
    If VarType(index) = vbString Then expected = 5 Else expected = 9
    Err.Clear
    Set pair = list.Item(index)
    Check Err.Number = expected, "Item(" & index & ") raises " & expected & ", got " & Err.Number
    Err.Clear
    value = list(index)
    Check Err.Number = expected, "list(" & index & ") raises " & expected & ", got " & Err.Number
Next
Err.Clear
Set pair = list.Item("ZOLBEX11_SCRIPT_LATER")
Check Err.Description = "Invalid procedure call or argument", "the text of error 5"
Err.Clear
Set pair = list.Item(0)
Check Err.Description = "Subscript out of range", "the text of error 9"
On Error GoTo 0

If failures = 0 Then WScript.Echo "SCRIPT-OK"
