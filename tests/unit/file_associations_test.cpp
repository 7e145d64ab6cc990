// File associations against the real registry of the throwaway prefix: the keys and values
// each option writes under both class roots, the order of the writes, the state left on the
// object, overwriting, added verbs, and the errors of both methods.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "forwarding_platform.h"
#include "library/errors.h"
#include "platform/registry_names.h"
#include "registry/registry_object.h"

namespace zolbex {
namespace {

using namespace testing;

constexpr wchar_t kSource[] = L"zolbex11.cRegistry";
constexpr wchar_t kExtension[] = L"zolbex11test";
constexpr wchar_t kClass[] = L"ZOLBEX11Tests.Document";
constexpr wchar_t kProgram[] = L"C:\\App\\app.exe";
constexpr wchar_t kQuoted[] = L"\"C:\\App\\app.exe\"";
constexpr wchar_t kMachineClasses[] = L"SOFTWARE\\Classes\\";

constexpr long kBadItemList = -2147194452;
constexpr long kClassNotDefined = -2147194451;
constexpr long kEmptyName = -2147194453;
constexpr long kValueWriteError = -2147194455;

// key path (below a class root) -> its default value
using KeyTable = std::map<std::wstring, std::wstring>;

// Every key of `path` and below with its default value, keyed by path; every default value
// must be a plain REG_SZ text.
void CollectKeys(HKEY root, const std::wstring& path, KeyTable& table) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD type = REG_NONE;
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegQueryValueExW(key, L"", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS) {
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << "default value of " << ::testing::PrintToString(path);
        table[path] = text;
    } else {
        table[path] = L"(no value)";
    }
    std::vector<std::wstring> children;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, length);
    }
    RegCloseKey(key);
    for (const std::wstring& child : children) CollectKeys(root, path + L"\\" + child, table);
}

// The keys of the test class and extension as stored below one class root.
KeyTable StoredKeys(HKEY root, const std::wstring& prefix) {
    KeyTable table;
    for (const std::wstring& top : {std::wstring(L".") + kExtension, std::wstring(kClass)}) {
        KeyTable below;
        CollectKeys(root, prefix + top, below);
        for (auto& [path, value] : below) table[path.substr(prefix.size())] = value;
    }
    return table;
}

void DeleteTestKeys() {
    for (const std::wstring& top : {std::wstring(L".") + kExtension, std::wstring(L"..") + kExtension,
                                    std::wstring(kClass)}) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, top.c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kMachineClasses + top).c_str());
    }
}

// Records where each value goes (root and path of the key it was created through), can refuse
// chosen writes, and counts the shell notices instead of sending them.
class AssociationPlatform : public ForwardingPlatform {
public:
    LONG CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override {
        LONG result = real().CreateKey(root, path, access, key);
        if (result == ERROR_SUCCESS) keys[*key] = RootName(root) + L"|" + path;
        return result;
    }
    LONG SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) override {
        const std::wstring where = keys[key];
        writes.push_back(where + L"=" + reinterpret_cast<const wchar_t*>(data));
        if (refuse && refuse(where)) return ERROR_ACCESS_DENIED;
        return real().SetValue(key, name, type, data, size);
    }
    void NotifyAssociationsChanged() override { ++notices; }

    static std::wstring RootName(HKEY root) {
        if (root == HKEY_CLASSES_ROOT) return L"HKCR";
        if (root == HKEY_LOCAL_MACHINE) return L"HKLM";
        return L"other";
    }

    std::map<HKEY, std::wstring> keys;
    std::vector<std::wstring> writes;  // "HKCR|path=text" in call order
    std::function<bool(const std::wstring& where)> refuse;
    int notices = 0;
};

class FileAssociationsTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        DeleteTestKeys();
        registry_ = ComPtr<IDispatch>(MakeObject<RegistryObject>().Get());
    }
    void TearDown() override {
        registry_.Reset();
        DeleteTestKeys();
        ComTest::TearDown();
    }

    IDispatch* Registry() { return registry_.Get(); }

    CallResult Associate(std::vector<Variant> args) {
        return CallMethod(Registry(), L"CreateEXEAssociation", std::move(args));
    }
    CallResult AssociateDefault() {
        return Associate(args(kProgram, kClass, L"Test document", kExtension));
    }
    CallResult AddVerbs(std::vector<Variant> args) {
        return CallMethod(Registry(), L"CreateAdditionalEXEAssociations", std::move(args));
    }
    void SetClassKey(LONG root) { ASSERT_EQ(PutProperty(Registry(), L"ClassKey", args(root)).hr, S_OK); }

    template <class... T>
    static std::vector<Variant> args(T... values) {
        std::vector<Variant> list;
        (list.push_back(ArgumentOf(values)), ...);
        return list;
    }
    static Variant ArgumentOf(const wchar_t* text) { return Text(text); }
    static Variant ArgumentOf(LONG number) { return Long(number); }
    static Variant ArgumentOf(int number) { return Long(number); }
    static Variant ArgumentOf(bool flag) { return Bool(flag); }
    static Variant ArgumentOf(Variant* given) { return std::move(*given); }

    void ExpectState(LONG classKey, const std::wstring& sectionKey) {
        EXPECT_EQ(V_I4(GetProperty(Registry(), L"ClassKey").value.Get()), classKey);
        EXPECT_EQ(Str(GetProperty(Registry(), L"SectionKey").value), sectionKey);
        EXPECT_EQ(Str(GetProperty(Registry(), L"ValueKey").value), L"");
        EXPECT_EQ(V_I4(GetProperty(Registry(), L"ValueType").value.Get()), REG_SZ);
    }

    void ExpectBothRoots(const KeyTable& expected) {
        EXPECT_EQ(StoredKeys(HKEY_CLASSES_ROOT, L""), expected) << "under HKEY_CLASSES_ROOT";
        EXPECT_EQ(StoredKeys(HKEY_LOCAL_MACHINE, kMachineClasses), expected) << "under HKLM\\SOFTWARE\\Classes";
    }

    AssociationPlatform platform_;
    platform::ScopedPlatform scoped_{platform_};

private:
    ComPtr<IDispatch> registry_;
};

// The keys every call writes, for the quoted program `program`.
KeyTable BaseTable(const std::wstring& program = kQuoted, const std::wstring& openText = L"&Open") {
    const std::wstring c = kClass;
    return {{std::wstring(L".") + kExtension, c},
            {c, L"Test document"},
            {c + L"\\shell", L"(no value)"},
            {c + L"\\shell\\open", openText},
            {c + L"\\shell\\open\\command", program + L" \"%1\""}};
}

KeyTable With(KeyTable table, const std::wstring& below, const std::wstring& value) {
    table[std::wstring(kClass) + below] = value;
    return table;
}

KeyTable WithVerb(KeyTable table, const std::wstring& verb, const std::wstring& text, const std::wstring& command) {
    table = With(std::move(table), L"\\shell\\" + verb, text);
    return With(std::move(table), L"\\shell\\" + verb + L"\\command", command);
}

struct AssociationCase {
    const char* what;
    std::vector<Variant> optional;  // arguments 5 to 12
    KeyTable expected;
    std::wstring lastSection;       // below the class key
};

TEST_F(FileAssociationsTest, EachOptionWritesItsKeysUnderBothRootsAndLeavesTheLastWriteAsState) {
    const std::wstring q = kQuoted;
    std::vector<AssociationCase> cases;
    auto add = [&](const char* what, std::vector<Variant> optional, KeyTable expected, const wchar_t* last) {
        cases.push_back({what, std::move(optional), std::move(expected), last});
    };
    add("defaults: open verb only", args(), BaseTable(), L"\\shell\\open\\command");
    add("own open text", args(L"&Launch"), BaseTable(q, L"&Launch"), L"\\shell\\open\\command");
    add("empty open text", args(L""), BaseTable(), L"\\shell\\open\\command");
    add("print, default text", args(L"", true),
        WithVerb(BaseTable(), L"print", L"&Print", q + L" /p \"%1\""), L"\\shell\\print\\command");
    Variant one = Bool(true);
    V_BOOL(one.Get()) = 1;  // not zero, yet not True: still asks for the verb
    add("print, flag 1", args(L"", &one), WithVerb(BaseTable(), L"print", L"&Print", q + L" /p \"%1\""),
        L"\\shell\\print\\command");
    add("print, own text", args(L"", true, L"Print &it"),
        WithVerb(BaseTable(), L"print", L"Print &it", q + L" /p \"%1\""), L"\\shell\\print\\command");
    add("install, text from the extension", args(L"", false, L"", false, L"", true),
        WithVerb(BaseTable(), L"add", std::wstring(L"&Install ") + kExtension, q + L" /a \"%1\""),
        L"\\shell\\add\\command");
    add("install, own text", args(L"", false, L"", false, L"", true, L"&Add it"),
        WithVerb(BaseTable(), L"add", L"&Add it", q + L" /a \"%1\""), L"\\shell\\add\\command");
    add("new, default text", args(L"", false, L"", true),
        WithVerb(BaseTable(), L"new", L"&New", q + L" /n \"%1\""), L"\\shell\\new\\command");
    add("new, own text", args(L"", false, L"", true, L"&Create"),
        WithVerb(BaseTable(), L"new", L"&Create", q + L" /n \"%1\""), L"\\shell\\new\\command");
    add("icon index 0", args(L"", false, L"", false, L"", false, L"", 0),
        With(BaseTable(), L"\\DefaultIcon", q + L",0"), L"\\DefaultIcon");
    add("icon index 7", args(L"", false, L"", false, L"", false, L"", 7),
        With(BaseTable(), L"\\DefaultIcon", q + L",7"), L"\\DefaultIcon");
    add("negative icon index", args(L"", false, L"", false, L"", false, L"", -5), BaseTable(),
        L"\\shell\\open\\command");
    add("install and new: new is written last", args(L"", false, L"", true, L"", true),
        WithVerb(WithVerb(BaseTable(), L"add", std::wstring(L"&Install ") + kExtension, q + L" /a \"%1\""), L"new",
                 L"&New", q + L" /n \"%1\""),
        L"\\shell\\new\\command");
    add("every option", args(L"&Go", true, L"", true, L"", true, L"", 3),
        With(WithVerb(WithVerb(WithVerb(BaseTable(q, L"&Go"), L"print", L"&Print", q + L" /p \"%1\""), L"add",
                               std::wstring(L"&Install ") + kExtension, q + L" /a \"%1\""),
                      L"new", L"&New", q + L" /n \"%1\""),
             L"\\DefaultIcon", q + L",3"),
        L"\\DefaultIcon");

    for (AssociationCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteTestKeys();
        std::vector<Variant> all = args(kProgram, kClass, L"Test document", kExtension);
        for (Variant& v : c.optional) all.push_back(std::move(v));
        CallResult result = Associate(std::move(all));
        ASSERT_EQ(result.hr, S_OK) << ::testing::PrintToString(ErrorOf(result).description);
        ExpectBothRoots(c.expected);
        ExpectState(kHkeyLocalMachine, std::wstring(kClass) + c.lastSection);
    }
}

TEST_F(FileAssociationsTest, TheProgramPathIsTrimmedAndQuotedOnce) {
    const struct {
        const wchar_t* given;
        const wchar_t* written;
    } cases[] = {
        {L"C:\\App\\app.exe", L"\"C:\\App\\app.exe\""},
        {L"   C:\\App\\app.exe  ", L"\"C:\\App\\app.exe\""},
        {L"\"C:\\App\\app.exe\"", L"\"C:\\App\\app.exe\""},
        {L"\"C:\\App\\app.exe", L"\"C:\\App\\app.exe\""},
        {L"C:\\App\\app.exe\"", L"\"C:\\App\\app.exe\""},
        {L"C:\\My Apps\\app.exe", L"\"C:\\My Apps\\app.exe\""},
        {L"   ", L"\""},
        {L"", L"\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.given)));
        DeleteTestKeys();
        ASSERT_EQ(Associate(args(c.given, kClass, L"Test document", kExtension, L"", false, L"", false, L"", false,
                                 L"", 0))
                      .hr,
                  S_OK);
        ExpectBothRoots(With(BaseTable(c.written), L"\\DefaultIcon", std::wstring(c.written) + L",0"));
    }
}

TEST_F(FileAssociationsTest, EveryValueReachesTheClassesRootFirstThenTheMachineClasses) {
    ASSERT_EQ(Associate(args(kProgram, kClass, L"Test document", kExtension, L"", true, L"", true, L"", true, L"", 1))
                  .hr,
              S_OK);
    const std::wstring c = kClass, q = kQuoted, ext = std::wstring(L".") + kExtension;
    std::vector<std::wstring> expected;
    auto both = [&](const std::wstring& path, const std::wstring& text) {
        expected.push_back(L"HKCR|" + path + L"=" + text);
        expected.push_back(L"HKLM|SOFTWARE\\Classes\\" + path + L"=" + text);
    };
    both(ext, c);
    both(c, L"Test document");
    both(c + L"\\shell\\open", L"&Open");
    both(c + L"\\shell\\open\\command", q + L" \"%1\"");
    both(c + L"\\shell\\print", L"&Print");
    both(c + L"\\shell\\print\\command", q + L" /p \"%1\"");
    both(c + L"\\shell\\add", std::wstring(L"&Install ") + kExtension);
    both(c + L"\\shell\\add\\command", q + L" /a \"%1\"");
    both(c + L"\\shell\\new", L"&New");
    both(c + L"\\shell\\new\\command", q + L" /n \"%1\"");
    both(c + L"\\DefaultIcon", q + L",1");
    EXPECT_EQ(platform_.writes, expected);
    EXPECT_EQ(platform_.notices, 1);
}

// A refused write ends the association with its own error: what was written before it stays,
// nothing after it is written, the object keeps the location of the failed write, and the shell
// hears nothing.
TEST_F(FileAssociationsTest, AFailedWriteEndsTheAssociationWhereItHappened) {
    const std::wstring c = kClass, q = kQuoted, ext = std::wstring(L".") + kExtension;
    const std::wstring machineExt = kMachineClasses + ext, printCommand = c + L"\\shell\\print\\command";
    const struct {
        const char* what;
        std::wstring refused;                 // "root|path" of the refused write
        LONG classKey;                        // the object afterwards
        std::wstring sectionKey;
        std::wstring description;
        std::vector<std::wstring> lastWrites;  // the writes that ended the call
    } cases[] = {
        {"print command under the classes root", L"HKCR|" + printCommand, kHkeyClassesRoot, printCommand,
         L"Failed to set registry value Key: '-2147483648',Section: '" + printCommand + L"',Key: '' to value: '" + q +
             L" /p \"%1\"'",
         {L"HKLM|SOFTWARE\\Classes\\" + c + L"\\shell\\print=&Print",
          L"HKCR|" + printCommand + L"=" + q + L" /p \"%1\""}},
        {"first write under the machine classes", L"HKLM|" + machineExt, kHkeyLocalMachine, machineExt,
         L"Failed to set registry value Key: '-2147483646',Section: '" + machineExt + L"',Key: '' to value: '" + c +
             L"'",
         {L"HKCR|" + ext + L"=" + c, L"HKLM|" + machineExt + L"=" + c}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        DeleteTestKeys();
        platform_.writes.clear();
        platform_.refuse = [refused = row.refused](const std::wstring& where) { return where == refused; };
        ErrorSeen error = ErrorOf(Associate(args(kProgram, kClass, L"Test document", kExtension, L"", true, L"", true,
                                                 L"", true, L"", 0)));
        EXPECT_EQ(error.number, kValueWriteError);
        EXPECT_EQ(error.source, kSource);
        EXPECT_EQ(error.description, row.description);
        ASSERT_GE(platform_.writes.size(), row.lastWrites.size());
        EXPECT_EQ(std::vector<std::wstring>(platform_.writes.end() - row.lastWrites.size(), platform_.writes.end()),
                  row.lastWrites)
            << "nothing is written after the refused write";
        EXPECT_EQ(V_I4(GetProperty(Registry(), L"ClassKey").value.Get()), row.classKey);
        EXPECT_EQ(Str(GetProperty(Registry(), L"SectionKey").value), row.sectionKey);
        EXPECT_EQ(platform_.notices, 0);
    }
    // Nothing is rolled back: the extension written before the last row's failure is still there.
    KeyTable first;
    CollectKeys(HKEY_CLASSES_ROOT, ext, first);
    EXPECT_EQ(first, (KeyTable{{ext, c}}));
}

TEST_F(FileAssociationsTest, ADotInTheExtensionGivesAKeyWithTwoDots) {
    ASSERT_EQ(Associate(args(kProgram, kClass, L"Test document", (std::wstring(L".") + kExtension).c_str())).hr, S_OK);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"..") + kExtension).c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(FileAssociationsTest, ASecondCallOverwritesAndDeletesNothing) {
    ASSERT_EQ(Associate(args(kProgram, kClass, L"First", kExtension, L"", true)).hr, S_OK);
    SetClassKey(kHkeyClassesRoot);
    ASSERT_EQ(AddVerbs(args(kClass, L"edit", L"&Edit", L"notepad.exe \"%1\"")).hr, S_OK);
    ASSERT_EQ(Associate(args(L"C:\\Other\\other.exe", kClass, L"Test document", kExtension)).hr, S_OK);

    const std::wstring q = kQuoted, other = L"\"C:\\Other\\other.exe\"";
    KeyTable expected = WithVerb(BaseTable(other), L"print", L"&Print", q + L" /p \"%1\"");
    expected = WithVerb(std::move(expected), L"edit", L"&Edit", L"notepad.exe \"%1\"");
    ExpectBothRoots(expected);
}

TEST_F(FileAssociationsTest, AddedVerbsGoUnderBothRootsAsGivenAndLeaveTheLastCommandKey) {
    ASSERT_EQ(AssociateDefault().hr, S_OK);
    SetClassKey(kHkeyClassesRoot);
    Variant number = Long(42);
    ASSERT_EQ(AddVerbs(args(kClass, L"edit", L"&Edit", L"notepad.exe \"%1\"", L"view", &number, L"viewer /v")).hr,
              S_OK);
    KeyTable expected = WithVerb(BaseTable(), L"edit", L"&Edit", L"notepad.exe \"%1\"");
    expected = WithVerb(std::move(expected), L"view", L"42", L"viewer /v");
    ExpectBothRoots(expected);
    ExpectState(kHkeyLocalMachine, std::wstring(kClass) + L"\\shell\\view\\command");
    EXPECT_EQ(platform_.notices, 2);
}

TEST_F(FileAssociationsTest, ItemsPassedByReferenceAreReadThroughTheReference) {
    ASSERT_EQ(AssociateDefault().hr, S_OK);
    SetClassKey(kHkeyClassesRoot);
    BSTR name = SysAllocString(L"edit");
    VARIANT command;
    VariantInit(&command);
    V_VT(&command) = VT_I4;
    V_I4(&command) = 5;
    std::vector<Variant> list = args(kClass);
    list.push_back(RefToBstr(&name));
    list.push_back(Text(L"&Edit"));
    list.push_back(RefTo(&command));
    EXPECT_EQ(AddVerbs(std::move(list)).hr, S_OK);
    SysFreeString(name);
    ExpectBothRoots(WithVerb(BaseTable(), L"edit", L"&Edit", L"5"));
}

TEST_F(FileAssociationsTest, NoItemsWriteNothingAndOnlyPointAtTheClass) {
    ASSERT_EQ(AssociateDefault().hr, S_OK);
    SetClassKey(kHkeyClassesRoot);
    platform_.writes.clear();
    ASSERT_EQ(AddVerbs(args(kClass)).hr, S_OK);
    EXPECT_TRUE(platform_.writes.empty());
    EXPECT_EQ(V_I4(GetProperty(Registry(), L"ClassKey").value.Get()), kHkeyClassesRoot);
    EXPECT_EQ(Str(GetProperty(Registry(), L"SectionKey").value), kClass);
}

TEST_F(FileAssociationsTest, ItemCountsNotAMultipleOfThreeFailBeforeAnyKeyIsTouched) {
    ASSERT_EQ(AssociateDefault().hr, S_OK);
    SetClassKey(kHkeyClassesRoot);
    const std::wstring before = Str(GetProperty(Registry(), L"SectionKey").value);
    for (int count : {1, 2, 4, 5, 7}) {
        SCOPED_TRACE(count);
        platform_.writes.clear();
        std::vector<Variant> list = args(kClass);
        for (int i = 0; i < count; ++i) list.push_back(Text(L"edit"));
        CallResult result = AddVerbs(std::move(list));
        ErrorSeen error = ErrorOf(result);
        EXPECT_EQ(error.number, kBadItemList);
        EXPECT_EQ(error.source, kSource);
        EXPECT_EQ(error.description,
                  L"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
        EXPECT_TRUE(platform_.writes.empty());
        EXPECT_EQ(Str(GetProperty(Registry(), L"SectionKey").value), before);
    }
    EXPECT_EQ(platform_.notices, 1);  // the association only
}

TEST_F(FileAssociationsTest, AddedVerbsNeedTheClassUnderTheCurrentRoot) {
    const wchar_t* classMissing = L"Error - attempt to create additional associations before class defined.";
    // A class that exists nowhere.
    SetClassKey(kHkeyClassesRoot);
    ErrorSeen error = ErrorOf(AddVerbs(args(kClass, L"edit", L"&Edit", L"e")));
    EXPECT_EQ(error.number, kClassNotDefined);
    EXPECT_EQ(error.source, kSource);
    EXPECT_EQ(error.description, classMissing);

    // Right after CreateEXEAssociation the object points at HKEY_LOCAL_MACHINE, where the class
    // is no top-level key: only SectionKey changes.
    ASSERT_EQ(AssociateDefault().hr, S_OK);
    platform_.writes.clear();
    error = ErrorOf(AddVerbs(args(kClass, L"edit", L"&Edit", L"e")));
    EXPECT_EQ(error.number, kClassNotDefined);
    EXPECT_EQ(error.description, classMissing);
    EXPECT_TRUE(platform_.writes.empty());
    EXPECT_EQ(V_I4(GetProperty(Registry(), L"ClassKey").value.Get()), kHkeyLocalMachine);
    EXPECT_EQ(Str(GetProperty(Registry(), L"SectionKey").value), kClass);

    SetClassKey(kHkeyClassesRoot);
    EXPECT_EQ(AddVerbs(args(kClass, L"edit", L"&Edit", L"e")).hr, S_OK);
}

TEST_F(FileAssociationsTest, EmptyClassNameOrExtensionIsRefusedBeforeAnyWrite) {
    struct {
        const char* what;
        std::function<CallResult()> call;
        const wchar_t* description;
    } cases[] = {
        {"association without class",
         [&] { return Associate(args(kProgram, L"", L"Test document", kExtension)); },
         L"Invalid parameter passed to CreateEXEAssociation - the class name must not be empty"},
        {"association without extension", [&] { return Associate(args(kProgram, kClass, L"Test document", L"")); },
         L"Invalid parameter passed to CreateEXEAssociation - the extension must not be empty"},
        {"added verbs without class",
         [&] {
             PutProperty(Registry(), L"ClassKey", args(kHkeyClassesRoot));
             return AddVerbs(args(L"", L"edit", L"&Edit", L"e"));
         },
         L"Invalid parameter passed to CreateAdditionalEXEAssociations - the class name must not be empty"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        ErrorSeen error = ErrorOf(c.call());
        EXPECT_EQ(error.number, kEmptyName);
        EXPECT_EQ(error.source, kSource);
        EXPECT_EQ(error.description, c.description);
        EXPECT_TRUE(platform_.writes.empty());
        EXPECT_TRUE(platform_.keys.empty());
        EXPECT_EQ(platform_.notices, 0);
    }
}

TEST_F(FileAssociationsTest, ARefusedWriteSurfacesAfterEveryOtherGroupIsWritten) {
    ASSERT_EQ(AssociateDefault().hr, S_OK);
    SetClassKey(kHkeyClassesRoot);
    const std::wstring c = kClass;
    // No rights to the machine classes' "edit" verb key.
    platform_.refuse = [&](const std::wstring& where) {
        return where == L"HKLM|SOFTWARE\\Classes\\" + c + L"\\shell\\edit";
    };
    CallResult result =
        AddVerbs(args(kClass, L"edit", L"&Edit", L"notepad.exe \"%1\"", L"view", L"&View", L"viewer \"%1\""));
    ErrorSeen error = ErrorOf(result);
    EXPECT_EQ(error.number, kValueWriteError);
    EXPECT_EQ(error.source, kSource);
    EXPECT_EQ(error.description, L"Failed to set registry value Key: '-2147483646',Section: 'SOFTWARE\\Classes\\" + c +
                                     L"\\shell\\edit',Key: '' to value: '&Edit'");
    EXPECT_EQ(platform_.notices, 1);  // the association's, none for the failed call

    // Everything else was still written, under both roots.
    std::vector<std::wstring> writes(platform_.writes.end() - 8, platform_.writes.end());
    EXPECT_EQ(writes, (std::vector<std::wstring>{
                          L"HKCR|" + c + L"\\shell\\edit=&Edit",
                          L"HKLM|SOFTWARE\\Classes\\" + c + L"\\shell\\edit=&Edit",
                          L"HKCR|" + c + L"\\shell\\edit\\command=notepad.exe \"%1\"",
                          L"HKLM|SOFTWARE\\Classes\\" + c + L"\\shell\\edit\\command=notepad.exe \"%1\"",
                          L"HKCR|" + c + L"\\shell\\view=&View",
                          L"HKLM|SOFTWARE\\Classes\\" + c + L"\\shell\\view=&View",
                          L"HKCR|" + c + L"\\shell\\view\\command=viewer \"%1\"",
                          L"HKLM|SOFTWARE\\Classes\\" + c + L"\\shell\\view\\command=viewer \"%1\"",
                      }));
    ExpectState(kHkeyLocalMachine, c + L"\\shell\\view\\command");
}

TEST_F(FileAssociationsTest, ItemsWithoutATextFormAreSkippedAndReportedAfterTheLoop) {
    ASSERT_EQ(AssociateDefault().hr, S_OK);
    SetClassKey(kHkeyClassesRoot);
    Variant null;
    V_VT(null.Get()) = VT_NULL;
    Variant nullName;
    V_VT(nullName.Get()) = VT_NULL;
    // A group without a name is skipped whole: its text and command land nowhere. A text without
    // a text form skips only that write.
    CallResult result = AddVerbs(args(kClass, L"edit", &null, L"editor", &nullName, L"&Lost", L"lost command",
                                      L"view", L"&View", L"viewer"));
    ErrorSeen error = ErrorOf(result);
    EXPECT_EQ(error.number, kTypeMismatch);

    KeyTable expected = WithVerb(BaseTable(), L"edit", L"(no value)", L"editor");
    expected = WithVerb(std::move(expected), L"view", L"&View", L"viewer");
    ExpectBothRoots(expected);
    for (const std::wstring& write : platform_.writes) EXPECT_EQ(write.find(L"ost"), std::wstring::npos) << write;
}

}  // namespace
}  // namespace zolbex
