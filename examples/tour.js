// The ZOLBEX11 tour from JScript (cscript tour.js): the same stops as tour.vbs, in JScript's idiom.
// JScript passes no variable by reference and cannot assign to a property that takes an argument,
// so it sets variables through the global object's EnvironSet, reads collections with an
// Enumerator, and catches errors as exceptions (e.number holds the HRESULT: e.number & 0xFFFF is
// the number VBScript shows for the library's small error numbers).
var HKEY_CLASSES_ROOT = 0x80000000 | 0, HKEY_CURRENT_USER = 0x80000001 | 0, HKEY_LOCAL_MACHINE = 0x80000002 | 0;
var REG_SZ = 1, REG_DWORD = 4;
var PROCESS = 0, USER = 1, MACHINE = 2;

var rt = new ActiveXObject("ZOLBEX11.clsZolbex11RunTimeA");

WScript.Echo("== The process environment (clsZolbexENVProcessA)");
var processScope = new ActiveXObject("ZOLBEX11.clsZolbexENVProcessA");
// EnvironSet also records each value in the settings store, under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Halvern\Solvane\Environment; the tour
// removes its records at the end, and the keys too when they were not there before.
var SETTINGS = "Software\\VB and VBA Program Settings\\Halvern";
var settings = new ActiveXObject("ZOLBEX11.clsZolbexENVRegistryA");
settings.ClassKey = HKEY_CURRENT_USER;
settings.SectionKey = SETTINGS;
var settingsExisted = settings.KeyExists;
rt.EnvironSet(PROCESS, "TOUR_GREETING", "Hello from ZOLBEX11");
WScript.Echo("TOUR_GREETING = " + processScope.Environment("TOUR_GREETING"));
var variables = processScope.List;
WScript.Echo("Variables in this process: " + variables.Count);
WScript.Echo("By name, in any case: path = " + variables.Item("path").Value.substr(0, 60) + "...");
WScript.Echo("By position: the first is " + variables.Item(1).Variable);
WScript.Echo("With an Enumerator, the first three:");
var shown = 0;
for (var e = new Enumerator(variables); !e.atEnd() && shown < 3; e.moveNext(), shown++) {
    var pair = e.item();
    WScript.Echo("  " + pair.Variable + " = " + pair.Value.substr(0, 50));
}

WScript.Echo("== The registry object (clsZolbexENVRegistryA)");
var store = new ActiveXObject("ZOLBEX11.clsZolbexENVRegistryA");
store.ClassKey = HKEY_CURRENT_USER;
store.SectionKey = "Software\\ZOLBEX11 Tour JS\\Settings";
WScript.Echo("Key created: " + store.CreateKey());
store.ValueType = REG_SZ;
store.ValueKey = "Greeting";
store.Value = "Hello";
WScript.Echo("Greeting = " + store.Value);
store.ValueType = REG_DWORD;
store.ValueKey = "Answer";
store.Value = 42;
WScript.Echo("Answer = " + store.Value + " (" + typeof store.Value + ")");
// ReadKey points the object elsewhere for one read only; the last argument is the default.
WScript.Echo("ReadKey of a missing value: " + store.ReadKey("NoSuchValue", "", 0, "(not set)"));
// The names of EnumerateValues come back through by-reference arguments, which JScript cannot
// receive; the same holds for binary data, which arrives as a byte array (on Windows,
// new VBArray(store.Value).toArray() lists the bytes). VBScript and C++ show both.
try {
    store.ValueKey = "NoSuchValue";
    store.DeleteValue();
} catch (error) {
    WScript.Echo("Deleting a missing value: " + (error.number & 0xFFFF) + " (HRESULT " + error.number + "): " +
                 error.description);
}
var names = ["Greeting", "Answer"];
for (var i = 0; i < names.length; i++) {
    store.ValueKey = names[i];
    store.DeleteValue();
}
var keys = ["Software\\ZOLBEX11 Tour JS\\Settings", "Software\\ZOLBEX11 Tour JS"];
for (var i = 0; i < keys.length; i++) {
    store.SectionKey = keys[i];
    store.DeleteKey();
}
WScript.Echo("Deleted again; the key exists: " + store.KeyExists);

WScript.Echo("== File associations (clsZolbexENVRegistryA)");
// Written under HKEY_LOCAL_MACHINE, which needs an elevated process: without one, the tour says
// so and goes on.
var reg = new ActiveXObject("ZOLBEX11.clsZolbexENVRegistryA");
if (!canWriteMachineClasses()) {
    WScript.Echo("Skipped: registering a file type needs administrator rights (run the tour from an elevated prompt).");
} else {
    reg.CreateEXEAssociation("C:\\Tour\\viewer.exe", "ZOLBEX11TourJS.Note", "Tour note", "tournotejs", "&Open", true);
    reg.ClassKey = HKEY_CLASSES_ROOT;  // the class test looks under the current root
    reg.CreateAdditionalEXEAssociations("ZOLBEX11TourJS.Note", "edit", "&Edit", "notepad.exe \"%1\"");
    reg.ClassKey = HKEY_CLASSES_ROOT;
    reg.SectionKey = "ZOLBEX11TourJS.Note\\shell\\edit\\command";
    WScript.Echo("Edit command of .tournotejs: " + reg.Value);
    try {
        reg.CreateAdditionalEXEAssociations("ZOLBEX11TourJS.Note", "edit", "&Edit");
    } catch (error) {
        WScript.Echo("Two items instead of three: " + error.description);
    }
    var classKeys = ["ZOLBEX11TourJS.Note\\shell\\open\\command", "ZOLBEX11TourJS.Note\\shell\\open",
                     "ZOLBEX11TourJS.Note\\shell\\print\\command", "ZOLBEX11TourJS.Note\\shell\\print",
                     "ZOLBEX11TourJS.Note\\shell\\edit\\command", "ZOLBEX11TourJS.Note\\shell\\edit",
                     "ZOLBEX11TourJS.Note\\shell", "ZOLBEX11TourJS.Note", ".tournotejs"];
    for (var i = 0; i < classKeys.length; i++) {
        // Both roots may show the same key (HKEY_CLASSES_ROOT merges the machine classes in), so
        // the second delete may find nothing left to delete.
        var roots = [[HKEY_CLASSES_ROOT, ""], [HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\"]];
        for (var r = 0; r < roots.length; r++) {
            try {
                reg.ClassKey = roots[r][0];
                reg.SectionKey = roots[r][1] + classKeys[i];
                reg.DeleteKey();
            } catch (ignored) {
            }
        }
    }
    WScript.Echo("Registered and removed again.");
}

// Whether this process may write HKEY_LOCAL_MACHINE\SOFTWARE\Classes: a key of our own is created
// and deleted again (error 26001 when the process is not elevated).
function canWriteMachineClasses() {
    var probe = new ActiveXObject("ZOLBEX11.clsZolbexENVRegistryA");
    probe.ClassKey = HKEY_LOCAL_MACHINE;
    probe.SectionKey = "SOFTWARE\\Classes\\ZOLBEX11TourJS.Probe";
    try {
        probe.CreateKey();
    } catch (notElevated) {
        return false;
    }
    probe.DeleteKey();
    return true;
}

WScript.Echo("== The user's stored environment (clsZolbexENVUserA)");
var user = new ActiveXObject("ZOLBEX11.clsZolbexENVUserA");
rt.EnvironSet(USER, "TOUR_USER_HOME", "C:\\Tour");
WScript.Echo("TOUR_USER_HOME = " + user.Environment("TOUR_USER_HOME") + " (kept in HKEY_CURRENT_USER\\Environment)");
WScript.Echo("User variables: " + user.List.Count);

WScript.Echo("== The environment facade of the global object (clsZolbex11RunTimeA)");
rt.EnvironSet(USER, "TOUR_USER_TOOLS", "%TOUR_USER_HOME%\\tools");
WScript.Echo("Stored: " + rt.EnvironGet(USER, "TOUR_USER_TOOLS"));
WScript.Echo("Leading reference resolved: " + rt.EnvironGet(USER, "TOUR_USER_TOOLS", true));
WScript.Echo("Machine scope, ComSpec as stored: " + rt.EnvironGet(MACHINE, "ComSpec"));
rt.ExpandEnvVar = true;
WScript.Echo("... and expanded, with ExpandEnvVar = true: " + rt.EnvironGet(MACHINE, "ComSpec"));
rt.ExpandEnvVar = false;
WScript.Echo("Process, user and machine variables: " + rt.EnvironList(PROCESS).Count + ", " +
             rt.EnvironList(USER).Count + ", " + rt.EnvironList(MACHINE).Count);

// Everything the tour stored for the user is removed again: the variables and their records.
var stored = ["TOUR_USER_HOME", "TOUR_USER_TOOLS"];
for (var i = 0; i < stored.length; i++) {
    store.SectionKey = "Environment";
    store.ValueKey = stored[i];
    store.DeleteValue();
}
stored.push("TOUR_GREETING");
for (var i = 0; i < stored.length; i++) {
    settings.SectionKey = SETTINGS + "\\Solvane\\Environment";
    settings.ValueKey = stored[i];
    settings.DeleteValue();
}
if (!settingsExisted) {
    var settingsKeys = [SETTINGS + "\\Solvane\\Environment", SETTINGS + "\\Solvane", SETTINGS];
    for (var i = 0; i < settingsKeys.length; i++) {
        settings.SectionKey = settingsKeys[i];
        settings.DeleteKey();
    }
}
WScript.Echo("The user's variables and the settings records removed again.");

WScript.Echo("== A virtual drive (clsZolbex11RunTimeA.CreateVirtualDrive)");
// The library starts the system's subst.exe and returns; the mapping shows a moment later.
var fso = new ActiveXObject("Scripting.FileSystemObject");
var folder = fso.GetSpecialFolder(2) + "\\zolbex11-tour-drive-js";
if (!fso.FolderExists(folder)) fso.CreateFolder(folder);
fso.CreateTextFile(folder + "\\note.txt", true).WriteLine("written before the drive existed");
var drive = "";
var letters = ["T", "S", "R", "Q", "P"];
for (var i = 0; i < letters.length && drive == ""; i++)
    if (!fso.DriveExists(letters[i] + ":")) drive = letters[i] + ":";
rt.CreateVirtualDrive(0, drive, folder);
for (var started = new Date().getTime(); !fso.DriveExists(drive) && new Date().getTime() - started < 5000;) {
    // at most five seconds
}
WScript.Echo("Mapped " + drive + " to " + folder);
if (fso.FileExists(drive + "\\note.txt")) WScript.Echo(drive + "\\note.txt is the folder's note.txt");
new ActiveXObject("WScript.Shell").Run("\"" + rt.EnvironGet(PROCESS, "WINDIR") + "\\System32\\subst.exe\" " + drive + " /D", 0, true);
WScript.Echo("Mapping removed again");
fso.DeleteFolder(folder);

// The last line says the tour ran to its end.
WScript.Echo("End of the tour.");
