// The process environment from a JScript client: an Enumerator over List, Item by name and
// by position, and the errors seen as exceptions.
var failures = 0;
function check(ok, what) {
    if (!ok) {
        WScript.Echo("FAIL " + what);
        failures++;
    }
}

var scope = new ActiveXObject("ZOLBEX11.clsZolbexENVProcessA");
var list = scope.List;
var path = scope.Environment("PATH");
check(path.length > 0, "PATH has a value");
check(list.Item("path").Value == path, "Item by name ignoring case");
check(list.Item("PATH").Variable.toUpperCase() == "PATH", "the pair's name");

var n = 0, pathSeen = 0;
for (var e = new Enumerator(list); !e.atEnd(); e.moveNext()) {
    var pair = e.item();
    n++;
    check(pair.Variable == list.Item(n).Variable, "Enumerator and Item agree at position " + n);
    if (pair.Variable.toUpperCase() == "PATH") pathSeen++;
}
check(n == list.Count, "the Enumerator visits Count pairs");
check(pathSeen == 1, "PATH listed once");

function errorOf(call) {
    try {
        call();
    } catch (error) {
        return error.number & 0xFFFF;
    }
    return 0;
}
check(errorOf(function () { list.Item(0); }) == 9, "position 0 raises 9");
check(errorOf(function () { list.Item("ZOLBEX11_NO_SUCH_VARIABLE"); }) == 5, "a missing name raises 5");

if (failures == 0) WScript.Echo("SCRIPT-OK");
