' The library frame as a late-bound script client sees it: creation by ProgID in any case,
' the runtime object's auto-created fields and the per-thread expansion setting.
' (Check and failures come from include/check.vbs, which run_script.sh puts first.)

' Every creatable class, by its ProgID and by a lower-case spelling of it.
Dim progIds, progId, obj
progIds = Array("clsZolbex11A", "clsZolbexENVProcessA", "clsZolbexENVRegistryA", _
                "clsZolbexENVSystemA", "clsZolbexENVUserA", "clsZolbex11RunTimeA", "HV_ZOLBEX11")
For Each progId In progIds
    Set obj = Nothing
    On Error Resume Next
    Set obj = CreateObject("ZOLBEX11." & progId)
    Check Err.Number = 0, "CreateObject ZOLBEX11." & progId & " raised " & Err.Number
    Err.Clear
    Set obj = CreateObject(LCase("zolbex11." & progId))
    Check Err.Number = 0, "CreateObject in lower case " & progId & " raised " & Err.Number
    On Error GoTo 0
    Check IsObject(obj), progId & " is an object"
Next

' The pair classes have no ProgID.
On Error Resume Next
Set obj = CreateObject("ZOLBEX11.clsZolbexENVValuePairsA")
Check Err.Number <> 0, "the pair collection must not be creatable"
On Error GoTo 0

' Auto-created fields: the same object until set to Nothing, then a fresh one.
Dim rt, first, again
Set rt = CreateObject("ZOLBEX11.clsZolbex11RunTimeA")
Set first = rt.goRegistry
Set again = rt.goRegistry
Check first Is again, "goRegistry returns the same object on every read"
Set rt.goRegistry = Nothing
Set again = rt.goRegistry
Check Not (first Is again), "goRegistry is created afresh after being cleared"
Check Len(rt.goFSO.GetAbsolutePathName(".")) > 0, "goFSO is the Scripting runtime's file-system object"

Dim holder
Set holder = CreateObject("ZOLBEX11.HV_ZOLBEX11")
Check holder.m_clsZolbex11RunTimeA Is holder.m_clsZolbex11RunTimeA, "holder keeps its runtime object"
Set holder = Nothing

' The expansion setting is shared by the runtime objects of one thread.
Dim other
Set other = CreateObject("ZOLBEX11.clsZolbex11RunTimeA")
Check rt.ExpandEnvVar = False, "ExpandEnvVar starts False"
rt.ExpandEnvVar = True
Check other.ExpandEnvVar = True, "ExpandEnvVar is shared by objects of one thread"
rt.ExpandEnvVar = False

If failures = 0 Then WScript.Echo "SCRIPT-OK"
