// What docs/reference.md says about each class and member, written once, here. Keep each text to
// two or three sentences about what the member does as the library implements it; the tables
// of the reference (identifiers, DISPIDs, parameters, defaults) come from the catalogue.
#include "reference_notes.h"

namespace zolbex::tlbgen::reference {

namespace {

constexpr char kRegistrySource[] = "zolbex11.cRegistry";
constexpr char kLibrarySource[] = "ZOLBEX11";
constexpr char kScriptingSource[] = "(the Scripting runtime's)";

// The three environment scopes share their members' words.
constexpr char kStoredEnvironment[] =
    "Reads or writes one stored variable, the value named `strName` of the scope's registry key. The get "
    "returns the text (the empty text for a missing variable; a REG_EXPAND_SZ value is expanded only when the "
    "expansion setting `ExpandEnvVar` was True when the object was created). The let stores the text as REG_SZ, "
    "or REG_EXPAND_SZ when it holds two percent signs at least two characters apart, then broadcasts "
    "WM_SETTINGCHANGE \"Environment\" to all top-level windows; it changes the stored environment only, not the "
    "running process's.";
constexpr char kStoredList[] =
    "Every value of the scope's registry key as a pair collection, in registry order. The collection is built on "
    "the first read and the same one is returned by every later read of this object, so it does not show later "
    "changes; create a new object for a fresh list.";

}  // namespace

const std::vector<ErrorEntry>& LibraryErrors() {
    static const std::vector<ErrorEntry> errors{
        {"invalid-call", 5, kLibrarySource, "Invalid procedure call or argument"},
        {"overflow", 6, kLibrarySource, "Overflow"},
        {"subscript", 9, kLibrarySource, "Subscript out of range"},
        {"array-locked", 10, kLibrarySource, "This array is fixed or temporarily locked"},
        {"type-mismatch", 13, kLibrarySource, "Type mismatch"},
        {"string-space", 14, kLibrarySource, "Out of string space"},
        {"path-not-found", 76, kScriptingSource, "Path not found (the Scripting runtime's own text)"},
        {"object-not-set", 91, kLibrarySource, "Object variable or With block variable not set"},
        {"object-required", 424, kLibrarySource, "Object required"},
        {"cannot-create", 429, kLibrarySource, "ActiveX component can't create object"},
        {"no-such-member", 438, kLibrarySource, "Object doesn't support this property or method"},
        {"com-failure", 0, kLibrarySource, "Automation error"},
        {"registry-create", 26001, kRegistrySource, "Failed to create registry Key: '<SectionKey>"},
        {"registry-delete-key", 26001, kRegistrySource,
         "Failed to delete registry Key: '<ClassKey>',Section: '<SectionKey>"},
        {"registry-open-for-delete", 26001, kRegistrySource,
         "Failed to open key '<ClassKey>',Section: '<SectionKey>' for delete access"},
        {"registry-delete-value", 26001, kRegistrySource,
         "Failed to delete registry Key: '<ClassKey>',Section: '<SectionKey>',Key: '<ValueKey>"},
        {"registry-key-not-writable", 26001, kRegistrySource,
         "Failed to set registry value Key: '<ClassKey>',Section: '<SectionKey>',Key: '<ValueKey>' to value: "
         "'<the value as text>'"},
        {"registry-binary", 26001, kLibrarySource, "Application-defined or object-defined error"},
        {"registry-write-failed", -2147194455, kRegistrySource,
         "Failed to set registry value Key: '<ClassKey>',Section: '<SectionKey>',Key: '<ValueKey>' to value: "
         "'<the value as text>'"},
        {"registry-listing", -2147194454, kRegistrySource, "<the description of the failure that ended the listing>"},
        {"empty-class-name", -2147194453, kRegistrySource,
         "Invalid parameter passed to <member> - the class name must not be empty"},
        {"empty-extension", -2147194453, kRegistrySource,
         "Invalid parameter passed to CreateEXEAssociation - the extension must not be empty"},
        {"bad-item-list", -2147194452, kRegistrySource,
         "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command"},
        {"class-not-defined", -2147194451, kRegistrySource,
         "Error - attempt to create additional associations before class defined."},
        {"out-of-memory", -2147024882, kLibrarySource, "Out of memory"},
        {"unexpected", -2147418113, kLibrarySource, "Unexpected failure"},
    };
    return errors;
}

const std::vector<ClassNote>& ClassNotes() {
    static const std::vector<ClassNote> notes{
        {"clsZolbex11A",
         "An empty class: it has no members and nothing in the library uses it. It can be created, and every name "
         "asked of it is unknown.",
         "Set o = CreateObject(\"ZOLBEX11.clsZolbex11A\")"},
        {"clsZolbexENVValuePairA",
         "One environment variable of a listing: its name and its value, both as plain text fields. Clients "
         "cannot create it; pairs come from the collections that the `List` properties and `EnvironList` return.",
         "Set pair = CreateObject(\"ZOLBEX11.clsZolbexENVProcessA\").List(1)\nWScript.Echo pair.Variable & \"=\" & pair.Value"},
        {"clsZolbexENVValuePairsA",
         "An ordered, read-only collection of name/value pairs, read by 1-based position, by variable name "
         "(without regard to case) or with For Each. Clients cannot create it. It holds the pairs themselves, so "
         "a change to a pair's `Value` is seen by every holder of the collection.",
         "For Each pair In CreateObject(\"ZOLBEX11.clsZolbexENVUserA\").List\n    WScript.Echo pair.Variable\nNext"},
        {"clsZolbexENVProcessA",
         "The environment variables of the process that loaded the library (style 0, `zolbexEnvironmentProcess`). "
         "Changes affect this process only.",
         "Set process = CreateObject(\"ZOLBEX11.clsZolbexENVProcessA\")"},
        {"clsZolbexENVRegistryA",
         "A registry location (`ClassKey` root, `SectionKey` key path, `ValueKey` value name) with key operations, "
         "typed reading and writing of values and listing of value and sub-key names, plus the registration of "
         "file associations. Every operation opens the key it needs and closes it before it returns. A missing key "
         "or value is no error for reads and listings; failures of key operations and writes raise errors whose "
         "source is \"zolbex11.cRegistry\" and whose description names the location.",
         "Set reg = CreateObject(\"ZOLBEX11.clsZolbexENVRegistryA\")\nreg.ClassKey = &H80000001 : reg.SectionKey = \"Environment\""},
        {"clsZolbexENVSystemA",
         "The machine's stored environment variables (style 2, `zolbexEnvironmentSystem`): the values of "
         "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment. Writing needs the "
         "right to write that key (an elevated process on Windows).",
         "WScript.Echo CreateObject(\"ZOLBEX11.clsZolbexENVSystemA\").Environment(\"ComSpec\")"},
        {"clsZolbexENVUserA",
         "The current user's stored environment variables (style 1, `zolbexEnvironmentUser`): the values of "
         "HKEY_CURRENT_USER\\Environment.",
         "Set user = CreateObject(\"ZOLBEX11.clsZolbexENVUserA\")"},
        {"clsZolbex11RunTimeA",
         "The global application object: environment access by scope number with one error convention (errors are "
         "shown in a message box and the method returns an empty result; in a process without an interactive "
         "window station, such as a service, no box is shown), and virtual drives. A client that "
         "references the type library (VBA) may call its members without creating it; scripts create it.",
         "Set rt = CreateObject(\"ZOLBEX11.clsZolbex11RunTimeA\")"},
        {"HV_ZOLBEX11",
         "A holder of one runtime object and one registry object, each created on the first read of its field. "
         "Nothing in the library uses it.",
         "Set holder = CreateObject(\"ZOLBEX11.HV_ZOLBEX11\")"},
    };
    return notes;
}

const std::vector<MemberNote>& MemberNotes() {
    static const std::vector<MemberNote> notes{
        // ---- pair and collection ----
        {"_clsZolbexENVValuePairA", "Variable",
         "The variable's name: a text field with no checks and no side effects. Changing it does not change the "
         "key under which the collection finds the pair.",
         {}, "WScript.Echo pair.Variable"},
        {"_clsZolbexENVValuePairA", "Value",
         "The variable's value as text: a text field with no checks and no side effects. Setting it changes the "
         "pair only, never the environment.",
         {}, "WScript.Echo pair.Value"},
        {"_clsZolbexENVValuePairsA", "Item",
         "The default member: one pair, by position (a number, 1 to `Count`; a fraction rounds) or by name (a "
         "text, compared without regard to case). A text is always a name: `Item(\"1\")` looks for a variable "
         "named 1. Every call returns the same pair object for the same index.",
         {{"subscript", "a position below 1 or above `Count`"},
          {"invalid-call", "no pair has that name"},
          {"type-mismatch", "the index is neither a number nor a text"}},
         "WScript.Echo list(\"path\").Value & \" / \" & list(1).Variable"},
        {"_clsZolbexENVValuePairsA", "Count", "The number of pairs in the collection.", {},
         "WScript.Echo list.Count"},
        {"_clsZolbexENVValuePairsA", "NewEnum",
         "A new enumerator over the pairs in position order; scripting languages call it for For Each (JScript: "
         "`new Enumerator(list)`). Hidden from object browsers.",
         {}, "For Each pair In list : WScript.Echo pair.Variable : Next"},
        // ---- process ----
        {"_clsZolbexENVProcessA", "List",
         "Every variable of the process environment as a pair, in the order of the environment block; an entry "
         "without \"=\" is passed over, and a second entry with a name already listed is appended without a key "
         "of its own. The collection is built on the first read and the same one is returned afterwards, also "
         "after the environment has changed.",
         {}, "WScript.Echo CreateObject(\"ZOLBEX11.clsZolbexENVProcessA\").List.Count"},
        {"_clsZolbexENVProcessA", "Environment",
         "Reads or sets one variable of the current process. The get returns the whole value (any length), or the "
         "empty text when the variable does not exist; the let sets it for this process and the programs it "
         "starts later. Neither raises an error.",
         {}, "process.Environment(\"MY_VAR\") = \"42\"\nWScript.Echo process.Environment(\"MY_VAR\")"},
        // ---- user and system ----
        {"_clsZolbexENVUserA", "List", kStoredList, {},
         "WScript.Echo CreateObject(\"ZOLBEX11.clsZolbexENVUserA\").List.Count"},
        {"_clsZolbexENVUserA", "Environment", kStoredEnvironment,
         {{"registry-key-not-writable", "let: the key cannot be opened or created for writing"},
          {"registry-write-failed", "let: the value cannot be stored"}},
         "user.Environment(\"MY_HOME\") = \"C:\\Data\"\nWScript.Echo user.Environment(\"MY_HOME\")"},
        {"_clsZolbexENVSystemA", "List", kStoredList, {},
         "WScript.Echo CreateObject(\"ZOLBEX11.clsZolbexENVSystemA\").List.Count"},
        {"_clsZolbexENVSystemA", "Environment", kStoredEnvironment,
         {{"registry-key-not-writable", "let: the key cannot be opened or created for writing (no rights)"},
          {"registry-write-failed", "let: the value cannot be stored"}},
         "WScript.Echo CreateObject(\"ZOLBEX11.clsZolbexENVSystemA\").Environment(\"ComSpec\")"},
        // ---- registry: key operations ----
        {"_clsZolbexENVRegistryA", "KeyExists",
         "True when the key `SectionKey` under `ClassKey` can be opened for reading, False otherwise (missing, "
         "refused, or `ClassKey` still 0). An empty `SectionKey` tests the root itself. Never raises.",
         {}, "If reg.KeyExists Then WScript.Echo \"there\""},
        {"_clsZolbexENVRegistryA", "CreateKey",
         "Creates the key `SectionKey` under `ClassKey`, with every missing key above it, and returns True; a key "
         "that exists already is left as it is.",
         {{"registry-create", "the key cannot be created or opened (for example `ClassKey` is 0, or no rights)"}},
         "reg.SectionKey = \"Software\\MyCompany\\MyApp\" : reg.CreateKey"},
        {"_clsZolbexENVRegistryA", "DeleteKey",
         "Deletes the key `SectionKey` under `ClassKey` and returns True. Only a key without sub-keys can be "
         "deleted: delete the deepest keys first.",
         {{"registry-delete-key", "the key does not exist, still has sub-keys, or may not be deleted"}},
         "reg.SectionKey = \"Software\\MyCompany\\MyApp\" : reg.DeleteKey"},
        {"_clsZolbexENVRegistryA", "DeleteValue",
         "Deletes the value `ValueKey` of the key `SectionKey` under `ClassKey` and returns True; an empty "
         "`ValueKey` deletes the key's unnamed (default) value.",
         {{"registry-open-for-delete", "the key cannot be opened for writing"},
          {"registry-delete-value", "the value does not exist or may not be deleted"}},
         "reg.ValueKey = \"Greeting\" : reg.DeleteValue"},
        // ---- registry: reading and writing ----
        {"_clsZolbexENVRegistryA", "ReadKey",
         "Reads a value in one call: each argument that is given (a non-empty text, a `ClassKey` other than 0, a "
         "`Default`) replaces the object's property for this read only, then the properties are put back. The "
         "result is that of `Value`; `ValueType` keeps the type read.",
         {{"object-not-set", "`Default` is an object variable set to Nothing"},
          {"no-such-member", "`Default` is an object without a default value"},
          {"string-space", "as for `Value`"}},
         "WScript.Echo reg.ReadKey(\"TEMP\", \"Environment\", &H80000001, \"(none)\")"},
        {"_clsZolbexENVRegistryA", "Value",
         "The get reads the value `ValueKey` of `SectionKey` under `ClassKey`: REG_SZ and REG_EXPAND_SZ as text "
         "(every stored character, less one terminating NUL where the data ends with one; a stray odd byte is "
         "dropped), REG_MULTI_SZ as text (the strings with their NUL separators, less the list's final "
         "terminator), REG_EXPAND_SZ expanded when `ExpandEnv` is True (whole, however long, or the read fails), "
         "REG_DWORD (its first four bytes) and REG_DWORD_BIG_ENDIAN as a Long, "
         "every other type as a byte array (lower bound 0); it sets `ValueType` to the stored type, and returns a "
         "copy of `Default` when there is nothing to read. The let writes by `ValueType`, creating the key first: "
         "REG_SZ and REG_EXPAND_SZ store the value's text (REG_EXPAND_SZ when it holds two percent signs at least "
         "two characters apart), REG_BINARY a byte array, REG_DWORD and REG_DWORD_BIG_ENDIAN a 32-bit integer "
         "(always as REG_DWORD); any other `ValueType` writes nothing and fails.",
         {{"registry-key-not-writable", "let: the key cannot be opened or created for writing"},
          {"registry-binary", "let: `ValueType` is REG_BINARY and the value is not a byte array"},
          {"registry-write-failed",
           "let: the value cannot be stored, the value does not fit the `ValueType`, or `ValueType` is not 1 to 5"},
          {"type-mismatch", "let: the value has no text form (Null, an array) for a text `ValueType`"},
          {"string-space", "get: a REG_EXPAND_SZ value with `ExpandEnv` True whose expansion cannot be made whole "
                           "(a single variable longer than the system's 32K-character expansion limit)"}},
         "reg.ValueType = 1 : reg.ValueKey = \"Greeting\" : reg.Value = \"Hello\"\nWScript.Echo reg.Value"},
        {"_clsZolbexENVRegistryA", "WriteKey",
         "Writes a value in one call: each of `ValueKey`, `SectionKey` (non-empty) and `ClassKey` (not 0) that is "
         "given replaces the object's property for this write only; the write is that of `Value` (let) with the "
         "object's current `ValueType`. After a failed write the replaced properties keep the arguments' values.",
         {{"registry-key-not-writable", "the key cannot be opened or created for writing"},
          {"registry-binary", "`ValueType` is REG_BINARY and the value is not a byte array"},
          {"registry-write-failed", "the value cannot be stored, or `ValueType` is not 1 to 5"},
          {"type-mismatch", "the value has no text form for a text `ValueType`"}},
         "reg.ValueType = 4 : reg.WriteKey 42, \"Answer\", \"Software\\MyCompany\\MyApp\", &H80000001"},
        // ---- registry: listing ----
        {"_clsZolbexENVRegistryA", "EnumerateValues",
         "Replaces the caller's array with the names of all values of the key (bounds 1 to the count; the unnamed "
         "value is listed as an empty name) and sets the count; returns True. A key that cannot be opened gives a "
         "count of 0 and an empty array.",
         {{"array-locked", "the caller's array cannot be replaced (a fixed-size or locked array)"}},
         "reg.EnumerateValues names, count : For i = 1 To count : WScript.Echo names(i) : Next"},
        {"_clsZolbexENVRegistryA", "EnumerateSections",
         "Replaces the caller's array with the names of the key's sub-keys (bounds 1 to the count) and sets the "
         "count; returns True. A key that cannot be opened gives a count of 0; a sub-key name of 255 characters or "
         "more ends the listing there.",
         {{"registry-listing",
           "an unexpected failure while listing, for example a caller's array that cannot be replaced; the array "
           "then holds the names found before it"}},
         "reg.EnumerateSections keys, count : WScript.Echo count & \" sub-keys\""},
        // ---- registry: properties ----
        {"_clsZolbexENVRegistryA", "ValueType",
         "The registry type used by the next write (`ERegistryValueTypes`), REG_NONE (0) on a new object. A "
         "successful read sets it to the type it found; a write never changes it.",
         {}, "reg.ValueType = 3  ' REG_BINARY"},
        {"_clsZolbexENVRegistryA", "ClassKey",
         "The registry root (`ERegistryClassConstants`), 0 on a new object: set it before any key operation. "
         "Written in error descriptions as a signed decimal number (HKEY_CURRENT_USER is -2147483647).",
         {}, "reg.ClassKey = &H80000001  ' HKEY_CURRENT_USER"},
        {"_clsZolbexENVRegistryA", "SectionKey",
         "The key path below `ClassKey`, such as Software\\MyCompany\\MyApp; empty on a new object (the root itself).",
         {}, "reg.SectionKey = \"Software\\MyCompany\\MyApp\""},
        {"_clsZolbexENVRegistryA", "ValueKey",
         "The name of the value that reads, writes and `DeleteValue` address; empty (the key's unnamed value) on a "
         "new object.",
         {}, "reg.ValueKey = \"InstallDir\""},
        {"_clsZolbexENVRegistryA", "Default",
         "What a read returns when there is nothing to read (Empty on a new object). An object given here is "
         "replaced by its default value.",
         {{"object-not-set", "let: an object variable set to Nothing"},
          {"no-such-member", "let: an object without a default value"}},
         "reg.Default = \"(not set)\""},
        {"_clsZolbexENVRegistryA", "ExpandEnv",
         "When True (-1 exactly), reads expand the %NAME% references of REG_EXPAND_SZ values with the process "
         "environment; False on a new object.",
         {}, "reg.ExpandEnv = True"},
        // ---- registry: file associations ----
        {"_clsZolbexENVRegistryA", "CreateEXEAssociation",
         "Registers the extension `sAssociation` (without its full stop) for the document class `sClassName`, "
         "under HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes: the class description, the open "
         "verb, and on request the print (/p), install (key add, /a) and new (/n) verbs with the quoted program "
         "path, and the default icon when `lDefaultIconIndex` is 0 or more. Afterwards `ClassKey` is "
         "HKEY_LOCAL_MACHINE, `SectionKey` the last key written (without SOFTWARE\\Classes\\), `ValueKey` empty "
         "and `ValueType` REG_SZ.",
         {{"empty-class-name", "`sClassName` is empty"},
          {"empty-extension", "`sAssociation` is empty"},
          {"registry-key-not-writable", "a key cannot be created (no rights); values written before stay"},
          {"registry-write-failed", "a value cannot be stored; values written before stay"}},
         "reg.CreateEXEAssociation \"C:\\App\\viewer.exe\", \"MyApp.Note\", \"Note\", \"note\", , True"},
        {"_clsZolbexENVRegistryA", "CreateAdditionalEXEAssociations",
         "Adds verbs to a document class that exists under the current `ClassKey`: the further arguments come in "
         "groups of three, the verb's key name, its menu text and its command line (written unchanged), each "
         "written under both class roots. A group whose write fails is skipped and the call still succeeds.",
         {{"bad-item-list", "the number of further arguments is not a multiple of 3"},
          {"empty-class-name", "`sClassName` is empty"},
          {"class-not-defined", "the class key does not exist under the current `ClassKey`"}},
         "reg.ClassKey = &H80000000\nreg.CreateAdditionalEXEAssociations \"MyApp.Note\", \"edit\", \"&Edit\", \"notepad.exe \"\"%1\"\"\""},
        // ---- runtime: fields ----
        {"_clsZolbex11RunTimeA", "goFSO",
         "The Scripting runtime's FileSystemObject, created on the first read that finds the field empty and kept "
         "until the field is set again (setting Nothing clears it). `CreateVirtualDriveHVPro` uses it.",
         {{"com-failure", "get: the Scripting runtime cannot be created (number: its HRESULT)"}},
         "WScript.Echo rt.goFSO.GetTempName"},
        {"_clsZolbex11RunTimeA", "goRegistry",
         "A registry object, created on the first read that finds the field empty and kept until the field is set "
         "again (setting Nothing clears it). The library itself never uses it.",
         {}, "rt.goRegistry.ClassKey = &H80000001"},
        // ---- runtime: environment facade ----
        {"_clsZolbex11RunTimeA", "EnvironGet",
         "Reads variable `sVariable` of the scope `lStyle` (0 process, 1 user, 2 machine, the default; any other "
         "style reads nothing). With `bFullValue` exactly True, a value that begins with a %NAME% reference has it "
         "replaced by that variable of the same scope, followed by the text after the second \"%\" (one level only). "
         "Raises nothing: an error is shown in a message box \"<number> , <description>\" titled "
         "\"ZOLBEX11.EnvironGet\" and the result is the empty text.",
         {{"subscript", "shown, not raised: the value holds only one \"%\" (as in %NAME) with `bFullValue` True"}},
         "WScript.Echo rt.EnvironGet(1, \"TEMP\", True)"},
        {"_clsZolbex11RunTimeA", "EnvironSet",
         "Stores `sVarValue` as variable `sVariable` of the scope `lStyle` (unresolved), then records it per user "
         "in the application settings store (section \"Environment\" of \"Halvern\\Solvane\"), with a leading "
         "%NAME% resolved in the machine scope. When the setting \"CleanMachineEnvVar\" (\"Halvern\", \"Solvane\") "
         "is 1, the value, and the caller's variable with it, becomes empty. Always returns the empty text; errors "
         "are shown in a message box titled \"ZOLBEX11.EnvironSet\" instead of raised.",
         {{"type-mismatch", "shown, not raised: \"CleanMachineEnvVar\" is not a number"},
          {"overflow", "shown, not raised: \"CleanMachineEnvVar\" is a number beyond 32 bits"},
          {"registry-key-not-writable", "shown, not raised: style 1 or 2 and the key cannot be written"},
          {"registry-write-failed", "shown, not raised: style 1 or 2 and the value cannot be stored"},
          {"subscript", "shown, not raised: the value holds only one \"%\" (as in %NAME)"},
          {"invalid-call", "shown, not raised: the record cannot be saved in the settings store"},
          {"cannot-create",
           "shown in a box titled \"basZolbexCommonA.ZLBEnvironGet\": a value beginning with \"%\" is resolved "
           "through a new runtime object made by ProgID, and the library is not registered"},
          {"object-not-set", "shown in the same box, right after the error above"}},
         "rt.EnvironSet 1, \"MY_TOOLS\", \"%MY_HOME%\\tools\""},
        {"_clsZolbex11RunTimeA", "EnvironList",
         "A new pair collection of every variable of the scope `lStyle` (0, 1 or 2), or Nothing for any other "
         "style. Errors are shown in a message box titled \"ZOLBEX11.EnvironList\" and give Nothing.",
         {}, "WScript.Echo rt.EnvironList(0).Count"},
        {"_clsZolbex11RunTimeA", "ExpandEnvVar",
         "The expansion setting of the calling thread, shared by every runtime object on that thread and False "
         "until set. User and machine scope objects created afterwards (also those `EnvironGet` creates) expand "
         "REG_EXPAND_SZ values when it is True.",
         {}, "rt.ExpandEnvVar = True"},
        // ---- runtime: virtual drives ----
        {"_clsZolbex11RunTimeA", "CreateVirtualDrive",
         "Maps the folder `sPathToMake` to the drive `sDriveLetter` (for example \"T:\") by starting "
         "%WINDIR%\\System32\\subst.exe; a folder with a blank is quoted. With `bChangeVolLable` exactly True and "
         "a non-empty `sNewLabel`, it waits a bounded time for the mapping and, only when the drive now shows the "
         "folder, names the drive: the label becomes the name Explorer shows for the drive letter (the default "
         "value of HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons\\<letter>\\DefaultLabel, "
         "64-bit registry view), followed by a shell change notice. No volume label is changed: a substituted drive "
         "has no volume of its own, and label.exe would rename the volume holding the folder. Naming needs "
         "administrator rights; without them the drive keeps its name. Returns without reporting what the tool or "
         "the naming did.",
         {}, "rt.CreateVirtualDrive 0, \"T:\", \"C:\\Projects\", \"Projects\", True"},
        {"_clsZolbex11RunTimeA", "CreateVirtualDriveHV",
         "As `CreateVirtualDrive` for the folder named by the machine variable HVENVSROOT (read with "
         "`EnvironGet`), drive Z: unless given, label \"Vesk\".",
         {}, "rt.CreateVirtualDriveHV 0"},
        {"_clsZolbex11RunTimeA", "CreateVirtualDriveHVWin",
         "As `CreateVirtualDrive` for the folder named by the machine variable HVENVSWIN, drive Y: unless given, "
         "label \"Windows\".",
         {}, "rt.CreateVirtualDriveHVWin 0, \"Y:\", True"},
        {"_clsZolbex11RunTimeA", "CreateVirtualDriveHVPro",
         "As `CreateVirtualDrive` for the short (8.3) path of the folder <WINDRV>\\Program Files\\Halvern (WINDRV "
         "a machine variable), drive W: unless given, label \"Programs\". The short path comes from `goFSO`; when "
         "the folder does not exist nothing is started.",
         {{"path-not-found", "the folder does not exist"},
          {"com-failure", "the Scripting runtime cannot be created"},
          {"object-required", "the file-system object returned no folder object"}},
         "rt.CreateVirtualDriveHVPro 0"},
        // ---- holder ----
        {"_HV_ZOLBEX11", "m_clsZolbex11RunTimeA",
         "A runtime object, created on the first read that finds the field empty and kept until the field is set "
         "again.",
         {}, "WScript.Echo holder.m_clsZolbex11RunTimeA.EnvironGet(0, \"PATH\")"},
        {"_HV_ZOLBEX11", "m_clsZolbexENVRegistryA",
         "A registry object, created on the first read that finds the field empty and kept until the field is set "
         "again.",
         {}, "holder.m_clsZolbexENVRegistryA.ClassKey = &H80000001"},
    };
    return notes;
}

const std::vector<EnumerationNote>& EnumerationNotes() {
    static const std::vector<EnumerationNote> notes{
        {"ERegistryClassConstants",
         "The registry roots of `ClassKey`, `ReadKey` and `WriteKey`. The values are negative as 32-bit numbers; "
         "VBScript writes them &H80000000 to &H80000003."},
        {"ERegistryValueTypes",
         "The registry value types of `ValueType`. REG_DWORD_LITTLE_ENDIAN has the value of REG_DWORD (4)."},
        {"zolbexEnvironmentStyleConstants",
         "The environment scopes of `EnvironGet`, `EnvironSet` and `EnvironList`."},
    };
    return notes;
}

}  // namespace zolbex::tlbgen::reference
