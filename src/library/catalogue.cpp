// The library's public surface as data. Every GUID here was generated once and never changes.
#include "catalogue.h"

#include <cstring>

#include "platform/registry_names.h"

namespace zolbex::catalogue {
namespace {

using K = MemberKind;

constexpr unsigned short kHiddenFunc = 0x40;  // FUNCFLAG_FHIDDEN

// One row per vtable slot; the retval is the member's result, not a parameter. A field's
// new value is named after the field, a property's after the type prefix convention.
Member Get(const char* name, DISPID id, Type result, std::vector<Param> params = {}) {
    return {K::PropertyGet, name, id, std::move(params), result, 0, false, nullptr};
}
Member Let(const char* name, DISPID id, std::vector<Param> params) {
    return {K::PropertyLet, name, id, std::move(params), kNone, 0, false, nullptr};
}
Member Method(const char* name, DISPID id, std::vector<Param> params, Type result = kNone) {
    return {K::Method, name, id, std::move(params), result, 0, false, nullptr};
}

// A text field: get and let.
void TextField(std::vector<Member>& m, const char* name, DISPID id) {
    m.push_back(Get(name, id, kBstr));
    m.push_back(Let(name, id, {ByVal(name, kBstr)}));
}

// An object field: get, the undescribed let slot, set.
void ObjectField(std::vector<Member>& m, const char* name, DISPID id, Type type) {
    m.push_back(Get(name, id, type));
    m.push_back({K::UndescribedLet, name, id, {ByVal(name, type)}, kNone, 0, false, nullptr});
    m.push_back({K::PropertySet, name, id, {ByVal(name, type)}, kNone, 0, false, nullptr});
}

// A property with a get and a let of one value type.
void Property(std::vector<Member>& m, const char* name, DISPID id, Type type, const char* newValueName) {
    m.push_back(Get(name, id, type));
    m.push_back(Let(name, id, {ByVal(newValueName, type)}));
}

const Type kPair = InterfaceType("_clsZolbexENVValuePairA");
const Type kPairs = InterfaceType("_clsZolbexENVValuePairsA");
const Type kRegistry = InterfaceType("_clsZolbexENVRegistryA");
const Type kRunTime = InterfaceType("_clsZolbex11RunTimeA");
const Type kClassRoot = EnumType("ERegistryClassConstants");
const Type kValueType = EnumType("ERegistryValueTypes");
const Type kStyle = EnumType("zolbexEnvironmentStyleConstants");

std::vector<Member> ValuePairMembers() {
    std::vector<Member> m;
    TextField(m, "Variable", 0x40030000);
    TextField(m, "Value", 0x40030001);
    return m;
}

std::vector<Member> ValuePairsMembers() {
    Member item = Method("Item", 0, {ByRef("index", kVariant)}, kPair);
    item.helpString = "Returns a specific member of a Collection object either by position or key";
    Member count = Get("Count", 0x68030000, kLong);
    count.helpString = "Returns the number of members in a collection";
    Member newEnum = Method("NewEnum", DISPID_NEWENUM, {}, kUnknown);
    newEnum.funcFlags = kHiddenFunc;
    return {item, count, newEnum};
}

// The process, user and system scopes share one shape; only the order and DISPIDs differ.
std::vector<Member> EnvironmentMembers(DISPID listId, DISPID environmentId, bool listFirst) {
    Member list = Get("List", listId, kPairs);
    Member get = Get("Environment", environmentId, kBstr, {ByVal("strName", kBstr)});
    Member let = Let("Environment", environmentId, {ByVal("strName", kBstr), ByVal("sNewValue", kBstr)});
    return listFirst ? std::vector<Member>{list, get, let} : std::vector<Member>{get, let, list};
}

std::vector<Member> RegistryMembers() {
    std::vector<Member> m{
        Get("KeyExists", 0x68030007, kBool),
        Method("CreateKey", 0x60030008, {}, kBool),
        Method("DeleteKey", 0x60030009, {}, kBool),
        Method("DeleteValue", 0x6003000A, {}, kBool),
        Method("ReadKey", 0x6003000B,
               {OptionalByRef("ValueKey", kBstr, TextDefault("")),
                OptionalByRef("SectionKey", kBstr, TextDefault("")),
                OptionalByRef("ClassKey", kClassRoot, LongDefault(0)),
                OptionalByRef("Default", kVariant)},
               kVariant),
        Get("Value", 0x68030006, kVariant),
        Let("Value", 0x68030006, {ByVal("vNewValue", kVariant)}),
        Method("EnumerateValues", 0x6003000C, {ByRef("sKeyNames", kBstrArray), ByRef("iKeyCount", kLong)}, kBool),
        Method("EnumerateSections", 0x6003000D, {ByRef("sSect", kBstrArray), ByRef("iSectCount", kLong)}, kBool),
        Method("CreateEXEAssociation", 0x6003000F,
               {ByVal("sExePath", kBstr), ByVal("sClassName", kBstr), ByVal("sClassDescription", kBstr),
                ByVal("sAssociation", kBstr),
                OptionalByVal("sOpenMenuText", kBstr, TextDefault("&Open")),
                OptionalByVal("bSupportPrint", kBool, BoolDefault(false)),
                OptionalByVal("sPrintMenuText", kBstr, TextDefault("&Print")),
                OptionalByVal("bSupportNew", kBool, BoolDefault(false)),
                OptionalByVal("sNewMenuText", kBstr, TextDefault("&New")),
                OptionalByVal("bSupportInstall", kBool, BoolDefault(false)),
                OptionalByVal("sInstallMenuText", kBstr, TextDefault("")),
                OptionalByVal("lDefaultIconIndex", kLong, LongDefault(-1))}),
    };
    Member additional = Method("CreateAdditionalEXEAssociations", 0x60030010,
                               {ByVal("sClassName", kBstr), ByRef("vItems", kVariantArray)});
    additional.vararg = true;
    m.push_back(additional);
    Property(m, "ValueType", 0x68030005, kValueType, "lNewValue");
    Property(m, "ClassKey", 0x68030004, kClassRoot, "lNewValue");
    Property(m, "SectionKey", 0x68030003, kBstr, "sNewValue");
    Property(m, "ValueKey", 0x68030002, kBstr, "sNewValue");
    Property(m, "Default", 0x68030001, kVariant, "vNewValue");
    m.push_back(Method("WriteKey", 0x60030013,
                       {ByRef("Value", kVariant),
                        OptionalByRef("ValueKey", kBstr, TextDefault("")),
                        OptionalByRef("SectionKey", kBstr, TextDefault("")),
                        OptionalByRef("ClassKey", kClassRoot, LongDefault(0))}));
    Property(m, "ExpandEnv", 0x68030000, kBool, "bNewValue");
    return m;
}

std::vector<Member> RunTimeMembers() {
    const Param style = OptionalByRef("lStyle", kStyle, LongDefault(2));
    std::vector<Member> m;
    ObjectField(m, "goFSO", 0x40030008, kFileSystem);
    ObjectField(m, "goRegistry", 0x40030009, kRegistry);
    m.push_back(Method("EnvironGet", 0x60030009,
                       {style, OptionalByRef("sVariable", kBstr),
                        OptionalByRef("bFullValue", kBool, BoolDefault(false))},
                       kBstr));
    m.push_back(Method("EnvironSet", 0x6003000A,
                       {style, OptionalByRef("sVariable", kBstr), OptionalByRef("sVarValue", kBstr)}, kBstr));
    m.push_back(Method("EnvironList", 0x6003000B, {style}, kPairs));
    Property(m, "ExpandEnvVar", 0x68030008, kBool, "bNewValue");
    m.push_back(Method("CreateVirtualDrive", 0x6003000C,
                       {ByRef("lhWnd", kLong), ByRef("sDriveLetter", kBstr), ByRef("sPathToMake", kBstr),
                        OptionalByRef("sNewLabel", kBstr),
                        OptionalByRef("bChangeVolLable", kBool, BoolDefault(false))}));
    const struct { const char* name; DISPID id; const char* drive; } presets[] = {
        {"CreateVirtualDriveHV", 0x6003000D, "Z:"},
        {"CreateVirtualDriveHVWin", 0x6003000E, "Y:"},
        {"CreateVirtualDriveHVPro", 0x6003000F, "W:"},
    };
    for (const auto& p : presets) {
        m.push_back(Method(p.name, p.id,
                           {ByRef("lhWnd", kLong), OptionalByRef("sDriveLetter", kBstr, TextDefault(p.drive)),
                            OptionalByRef("bChangeVolLable", kBool, BoolDefault(false))}));
    }
    return m;
}

std::vector<Member> HolderMembers() {
    std::vector<Member> m;
    ObjectField(m, "m_clsZolbex11RunTimeA", 0x40030000, kRunTime);
    ObjectField(m, "m_clsZolbexENVRegistryA", 0x40030001, kRegistry);
    return m;
}

const InterfaceAlias kRunTimeAlias{"clsZolbex11RunTimeA___v0", Guid("{A3B48767-5AFA-4A34-B04F-34CBBBAB72F0}")};

Library Build() {
    Library lib{};
    lib.name = "ZOLBEX11";
    lib.fileName = "zolbex11.dll";
    lib.helpString = "Halvern ZOLBEX11 Environment and Registry Library";
    lib.libid = Guid("{8485544E-55D5-42C1-A9F9-125AFDC4B5F0}");
    lib.major = 2;
    lib.minor = 1;
    lib.lcid = 0;
    lib.nameLcid = 0x0409;
    lib.stdole = {"stdole", "stdole2.tlb", Guid("{00020430-0000-0000-C000-000000000046}"), 2, 0};
    lib.scripting = {"Scripting", "scrrun.dll", Guid("{420B2830-E718-11CF-893D-00A0C9054228}"), 1, 0};
    lib.fileSystemIid = Guid("{2A0B9D10-4B87-11D3-A97A-00104B365C9F}");

    lib.enumerations = {
        {"ERegistryClassConstants", Guid("{86169016-2F7B-4BDB-A904-26278C28C31B}"), true,
         {{"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
          {"HKEY_CURRENT_USER", kHkeyCurrentUser},
          {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
          {"HKEY_USERS", -2147483645L}}},
        {"ERegistryValueTypes", Guid("{FB5697D5-6AE0-4A6B-9F91-8020FB5AFAED}"), true,
         {{"REG_NONE", 0},
          {"REG_SZ", 1},
          {"REG_EXPAND_SZ", 2},
          {"REG_BINARY", 3},
          {"REG_DWORD", 4},
          {"REG_DWORD_LITTLE_ENDIAN", 4},
          {"REG_DWORD_BIG_ENDIAN", 5},
          {"REG_LINK", 6},
          {"REG_MULTI_SZ", 7},
          {"REG_RESOURCE_LIST", 8},
          {"REG_FULL_RESOURCE_DESCRIPTOR", 9},
          {"REG_RESOURCE_REQUIREMENTS_LIST", 10}}},
        {"zolbexEnvironmentStyleConstants", Guid("{473F7F54-51DF-4679-999B-12213DAA67F3}"), false,
         {{"zolbexEnvironmentProcess", 0}, {"zolbexEnvironmentUser", 1}, {"zolbexEnvironmentSystem", 2}}},
    };

    lib.interfaces = {
        {"_clsZolbex11A", Guid("{A5056468-339C-43C3-BDDB-A4B6C6EC5733}"), kInterfaceFlags, {}},
        {"_clsZolbexENVValuePairA", Guid("{E2817197-B736-4B79-9930-06D6BC9326B6}"), kInterfaceFlags,
         ValuePairMembers()},
        {"_clsZolbexENVValuePairsA", Guid("{D8EC880C-2297-4217-892D-2C0A2B610770}"), kInterfaceFlags,
         ValuePairsMembers()},
        {"_clsZolbexENVProcessA", Guid("{445FAD4D-0F97-4448-8082-F04ECCAA79C2}"), kInterfaceFlags,
         EnvironmentMembers(0x68030001, 0x68030000, true)},
        {"_clsZolbexENVRegistryA", Guid("{C720D790-8EF2-444A-A0A0-09D8AD95A5CC}"), kInterfaceFlags,
         RegistryMembers()},
        {"_clsZolbexENVSystemA", Guid("{DC55CBC2-7B51-40C8-97CC-90642E42CF67}"), kInterfaceFlags,
         EnvironmentMembers(0x68030000, 0x68030001, false)},
        {"_clsZolbexENVUserA", Guid("{273C61BC-D5E4-4F0E-8430-575A99A6378A}"), kInterfaceFlags,
         EnvironmentMembers(0x68030001, 0x68030000, true)},
        {"_clsZolbex11RunTimeA", Guid("{48BD53D8-3F1B-4154-8321-FC0F83756BD3}"), kInterfaceFlags,
         RunTimeMembers()},
        {"_HV_ZOLBEX11", Guid("{960D9301-7630-45E2-9321-415AA4B8AEC3}"), kInterfaceFlags, HolderMembers()},
    };

    lib.coclasses = {
        {"clsZolbex11A", Guid("{3AABB74A-B30D-4812-9F8C-FE80EC6F3CDD}"), kCreatable, "_clsZolbex11A", nullptr},
        {"clsZolbexENVValuePairA", Guid("{36CBE008-2D2F-4BA9-B57C-5D3219B8962C}"), kNotCreatable,
         "_clsZolbexENVValuePairA", nullptr},
        {"clsZolbexENVValuePairsA", Guid("{C8AFE68D-2787-4FC5-A03C-805ACA5A2542}"), kNotCreatable,
         "_clsZolbexENVValuePairsA", nullptr},
        {"clsZolbexENVProcessA", Guid("{8935BCF2-2814-4125-8680-91669016FCFD}"), kCreatable,
         "_clsZolbexENVProcessA", nullptr},
        {"clsZolbexENVRegistryA", Guid("{03120B9C-BD7E-48C0-B66B-E94FE7826FDF}"), kCreatable,
         "_clsZolbexENVRegistryA", nullptr},
        {"clsZolbexENVSystemA", Guid("{4C29532B-1704-43FE-804A-6BBBA1A4A098}"), kCreatable,
         "_clsZolbexENVSystemA", nullptr},
        {"clsZolbexENVUserA", Guid("{A11F3639-5C8D-49BF-BB5C-6712E9E0C50B}"), kCreatable, "_clsZolbexENVUserA",
         nullptr},
        {"clsZolbex11RunTimeA", Guid("{0FD6D7DF-694A-44B7-B294-4B17109D7855}"), kGlobalApplicationObject,
         "_clsZolbex11RunTimeA", &kRunTimeAlias},
        {"HV_ZOLBEX11", Guid("{7FE9CF50-C287-4658-B503-DFCF815DB8CF}"), kCreatable, "_HV_ZOLBEX11", nullptr},
    };
    return lib;
}

template <class T>
const T* FindByName(const std::vector<T>& items, const char* name) {
    for (const T& item : items)
        if (std::strcmp(item.name, name) == 0) return &item;
    return nullptr;
}

}  // namespace

const Param* Member::FindParam(const char* name) const { return FindByName(params, name); }
const Member* Interface::FindMember(const char* name) const { return FindByName(members, name); }
const Interface* Library::FindInterface(const char* name) const { return FindByName(interfaces, name); }
const Enumeration* Library::FindEnumeration(const char* name) const { return FindByName(enumerations, name); }
const Coclass* Library::FindCoclass(const char* name) const { return FindByName(coclasses, name); }

const Library& TheLibrary() {
    static const Library library = Build();
    return library;
}

}  // namespace zolbex::catalogue
