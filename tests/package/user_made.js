// What a user makes with the installed library, which removing the package must leave alone:
// a machine-wide variable and a file association. Prints "made." at its end.
var MACHINE = 2;
var rt = new ActiveXObject("ZOLBEX11.clsZolbex11RunTimeA");
rt.EnvironSet(MACHINE, "ZOLBEX11_KEPT", "made by a user");
var reg = new ActiveXObject("ZOLBEX11.clsZolbexENVRegistryA");
reg.CreateEXEAssociation("C:\\Kept\\viewer.exe", "ZOLBEX11Kept.Note", "Kept note", "keptnote", "&Open", true);
WScript.Echo("made.");
