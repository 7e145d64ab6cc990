// The catalogue of the library's public surface: identity, enumerations, interfaces
// (members in vtable order) and classes. It is the single definition from which the
// type libraries, the C++ interface header and the registration are produced.
#pragma once

#include <windows.h>

#include <vector>

namespace zolbex::catalogue {

// Reads a GUID written as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" at compile time,
// so the tables can show identifiers in their usual text form.
namespace detail {
constexpr unsigned HexDigit(char c) {
    return c >= '0' && c <= '9' ? unsigned(c - '0')
         : c >= 'A' && c <= 'F' ? unsigned(c - 'A' + 10)
         : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
         : throw "not a hexadecimal digit";
}
constexpr unsigned long Hex(const char* s, int digits) {
    unsigned long v = 0;
    for (int i = 0; i < digits; ++i) v = (v << 4) | HexDigit(s[i]);
    return v;
}
}  // namespace detail

constexpr GUID Guid(const char (&s)[39]) {
    using detail::Hex;
    if (s[0] != '{' || s[9] != '-' || s[14] != '-' || s[19] != '-' || s[24] != '-' || s[37] != '}')
        throw "malformed GUID text";
    return GUID{Hex(s + 1, 8), static_cast<unsigned short>(Hex(s + 10, 4)),
                static_cast<unsigned short>(Hex(s + 15, 4)),
                {static_cast<unsigned char>(Hex(s + 20, 2)), static_cast<unsigned char>(Hex(s + 22, 2)),
                 static_cast<unsigned char>(Hex(s + 25, 2)), static_cast<unsigned char>(Hex(s + 27, 2)),
                 static_cast<unsigned char>(Hex(s + 29, 2)), static_cast<unsigned char>(Hex(s + 31, 2)),
                 static_cast<unsigned char>(Hex(s + 33, 2)), static_cast<unsigned char>(Hex(s + 35, 2))}};
}

// ---- Types ---------------------------------------------------------------------------

enum class TypeKind {
    None,          // no result
    Bstr,
    Long,
    Bool,          // VARIANT_BOOL
    Variant,
    Unknown,       // IUnknown*
    Interface,     // pointer to one of the library's interfaces (Type::name)
    Enum,          // one of the library's enumerations (Type::name)
    BstrArray,     // SAFEARRAY(BSTR)
    VariantArray,  // SAFEARRAY(VARIANT)
    FileSystem,    // the Scripting runtime's IFileSystem3*
};

struct Type {
    TypeKind kind;
    const char* name;  // interface or enumeration name; null otherwise
};

inline constexpr Type kNone{TypeKind::None, nullptr};
inline constexpr Type kBstr{TypeKind::Bstr, nullptr};
inline constexpr Type kLong{TypeKind::Long, nullptr};
inline constexpr Type kBool{TypeKind::Bool, nullptr};
inline constexpr Type kVariant{TypeKind::Variant, nullptr};
inline constexpr Type kUnknown{TypeKind::Unknown, nullptr};
inline constexpr Type kBstrArray{TypeKind::BstrArray, nullptr};
inline constexpr Type kVariantArray{TypeKind::VariantArray, nullptr};
inline constexpr Type kFileSystem{TypeKind::FileSystem, nullptr};
constexpr Type InterfaceType(const char* name) { return {TypeKind::Interface, name}; }
constexpr Type EnumType(const char* name) { return {TypeKind::Enum, name}; }

// ---- Parameters ----------------------------------------------------------------------

enum class DefaultKind { None, Text, Long, Bool };

struct DefaultValue {
    DefaultKind kind;
    const char* text;  // DefaultKind::Text
    long number;       // DefaultKind::Long; DefaultKind::Bool: 0 or -1
};

inline constexpr DefaultValue kNoDefault{DefaultKind::None, nullptr, 0};
constexpr DefaultValue TextDefault(const char* text) { return {DefaultKind::Text, text, 0}; }
constexpr DefaultValue LongDefault(long n) { return {DefaultKind::Long, nullptr, n}; }
constexpr DefaultValue BoolDefault(bool b) { return {DefaultKind::Bool, nullptr, b ? -1L : 0L}; }

struct Param {
    const char* name;
    Type type;
    bool byRef;
    bool optional;
    DefaultValue defaultValue;
};

constexpr Param ByVal(const char* name, Type type) { return {name, type, false, false, kNoDefault}; }
constexpr Param ByRef(const char* name, Type type) { return {name, type, true, false, kNoDefault}; }
constexpr Param OptionalByVal(const char* name, Type type, DefaultValue d = kNoDefault) {
    return {name, type, false, true, d};
}
constexpr Param OptionalByRef(const char* name, Type type, DefaultValue d = kNoDefault) {
    return {name, type, true, true, d};
}

// ---- Members and interfaces ----------------------------------------------------------

enum class MemberKind {
    Method,
    PropertyGet,
    PropertyLet,     // property put
    PropertySet,     // property putref
    UndescribedLet,  // the let slot of an object field: in the vtable, not in the type library
};

struct Member {
    MemberKind kind;
    const char* name;
    DISPID dispid;
    std::vector<Param> params;  // the retval is not listed here: see `result`
    Type result;                // kNone: no retval
    unsigned short funcFlags;   // FUNCFLAGS
    bool vararg;                // the last parameter receives all further arguments
    const char* helpString;     // null: none

    const Param* FindParam(const char* name) const;
};

inline constexpr unsigned short kInterfaceFlags = 0x11D0;  // hidden, dual, nonextensible, oleautomation, dispatchable

struct Interface {
    const char* name;
    GUID iid;
    unsigned short flags;
    std::vector<Member> members;  // in vtable order, after IUnknown's 3 and IDispatch's 4 slots

    // The first member of that name (a property's get before its let).
    const Member* FindMember(const char* name) const;
};

// ---- Classes, enumerations, library --------------------------------------------------

enum CoclassFlags : unsigned short {
    kNotCreatable = 0x00,
    kCreatable = 0x02,
    kGlobalApplicationObject = 0x0B,  // creatable, application object, predeclared identifier
};

// A second identifier of a class's interface, recorded in the type library as a hidden alias.
struct InterfaceAlias {
    const char* name;
    GUID iid;
};

struct Coclass {
    const char* name;
    GUID clsid;
    unsigned short flags;
    const char* interfaceName;
    const InterfaceAlias* alias;  // null for every class but the runtime class

    bool Creatable() const { return (flags & 0x02) != 0; }
};

struct EnumMember {
    const char* name;
    long value;
};

struct Enumeration {
    const char* name;
    GUID guid;
    bool platformNames;  // members carry the platform's own names (HKEY_..., REG_...)
    std::vector<EnumMember> members;
};

struct ImportedLibrary {
    const char* name;  // the library's own name, as its types are qualified
    const char* file;
    GUID libid;
    unsigned short major, minor;
};

struct Library {
    const char* name;
    const char* fileName;
    const char* helpString;
    GUID libid;
    unsigned short major, minor;
    LCID lcid;
    LCID nameLcid;  // locale under which the names are recorded
    ImportedLibrary stdole;
    ImportedLibrary scripting;
    GUID fileSystemIid;  // IFileSystem3 in the Scripting runtime
    std::vector<Enumeration> enumerations;
    std::vector<Interface> interfaces;
    std::vector<Coclass> coclasses;

    const Interface* FindInterface(const char* name) const;
    const Enumeration* FindEnumeration(const char* name) const;
    const Coclass* FindCoclass(const char* name) const;
};

// The catalogue (built once, on first use).
const Library& TheLibrary();

// Number of vtable slots before an interface's own members: IUnknown's 3 and IDispatch's 4.
inline constexpr int kInheritedSlots = 7;

}  // namespace zolbex::catalogue
