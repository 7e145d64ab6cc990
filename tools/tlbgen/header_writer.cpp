#include "header_writer.h"

#include "com_util.h"
#include "library_order.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace zolbex::tlbgen {

using namespace catalogue;

namespace {

// The GUID's eleven fields in hexadecimal: Data1, Data2, Data3 and the eight bytes of Data4.
std::vector<std::string> GuidFields(const GUID& g) {
    std::vector<std::string> fields;
    auto add = [&](unsigned long v, int digits) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%0*lX", digits, v);
        fields.push_back(text);
    };
    add(g.Data1, 8);
    add(g.Data2, 4);
    add(g.Data3, 4);
    for (unsigned char b : g.Data4) add(b, 2);
    return fields;
}

std::string Joined(const std::vector<std::string>& fields, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to; ++i) text += (i > from ? ", " : "") + fields[i];
    return text;
}

std::string GuidInitializer(const GUID& g) {
    const std::vector<std::string> f = GuidFields(g);
    return "{" + Joined(f, 0, 3) + ", {" + Joined(f, 3, 11) + "}}";
}

// Arguments of MinGW-w64's __CRT_UUID_DECL, which makes __uuidof work for the interface there.
std::string UuidDeclArguments(const GUID& g) { return Joined(GuidFields(g), 0, 11); }

// The C++ type of a value passed by value; one more "*" passes it by reference.
std::string CppType(const Type& type) {
    switch (type.kind) {
        case TypeKind::Bstr: return "BSTR";
        case TypeKind::Long: return "LONG";
        case TypeKind::Bool: return "VARIANT_BOOL";
        case TypeKind::Variant: return "VARIANT";
        case TypeKind::Unknown: return "IUnknown*";
        case TypeKind::Interface: return std::string(type.name) + "*";
        case TypeKind::Enum: return type.name;
        case TypeKind::BstrArray:
        case TypeKind::VariantArray: return "SAFEARRAY*";
        case TypeKind::FileSystem: return "IDispatch*";  // the Scripting runtime's IFileSystem3
        case TypeKind::None: break;
    }
    throw GenerationError("a parameter without a type");
}

std::string MethodName(const Member& m) {
    switch (m.kind) {
        case MemberKind::PropertyGet: return std::string("get_") + m.name;
        case MemberKind::PropertyLet:
        case MemberKind::UndescribedLet: return std::string("put_") + m.name;
        case MemberKind::PropertySet: return std::string("putref_") + m.name;
        case MemberKind::Method: break;
    }
    return m.name;
}

std::string Declaration(const Member& m) {
    std::string text = "    virtual HRESULT STDMETHODCALLTYPE " + MethodName(m) + "(";
    bool first = true;
    auto add = [&](const std::string& param) {
        text += (first ? "" : ", ") + param;
        first = false;
    };
    for (const Param& p : m.params) add(CppType(p.type) + (p.byRef ? "* " : " ") + p.name);
    if (m.result.kind != TypeKind::None) add(CppType(m.result) + "* pRetVal");
    return text + ") = 0;";
}

}  // namespace

std::string InterfaceHeaderText(const Library& lib) {
    std::ostringstream out;
    out << "// The library's interfaces and identifiers for C++. Written by zolbex11_tlbgen from the\n"
           "// catalogue (src/library/catalogue.cpp); do not edit.\n"
           "#pragma once\n\n"
           "#include <windows.h>\n"
           "#include <oaidl.h>\n\n";

    out << "// Enumerations are plain LONG in C++: the registry ones reuse <windows.h> macro names.\n";
    for (const Enumeration& e : lib.enumerations) out << "typedef LONG " << e.name << ";\n";
    for (const Enumeration& e : lib.enumerations) {
        if (e.platformNames) continue;
        out << "constexpr LONG ";
        for (size_t i = 0; i < e.members.size(); ++i)
            out << (i ? ", " : "") << e.members[i].name << " = " << e.members[i].value;
        out << ";\n";
    }

    out << "\ninline constexpr GUID LIBID_" << lib.name << " = " << GuidInitializer(lib.libid) << ";\n";
    for (const Coclass& c : lib.coclasses)
        out << "inline constexpr GUID CLSID_" << c.name << " = " << GuidInitializer(c.clsid) << ";\n";
    for (const Interface& i : lib.interfaces)
        out << "inline constexpr GUID IID_" << i.name << " = " << GuidInitializer(i.iid) << ";\n";
    for (const Coclass& c : lib.coclasses)
        if (c.alias) out << "inline constexpr GUID IID_" << c.alias->name << " = " << GuidInitializer(c.alias->iid) << ";\n";

    // __uuidof works with both compilers: MSVC (and clang in MSVC mode) takes the IID from
    // __declspec(uuid) on the type, MinGW-w64 from its __CRT_UUID_DECL, which the Windows SDK
    // does not have.
    out << "\n#if defined(_MSC_VER)\n#define ZOLBEX11_IID(iid) __declspec(uuid(iid))\n#else\n"
           "#define ZOLBEX11_IID(iid)\n#endif\n";
    for (const Interface& i : lib.interfaces) {
        const std::string iid = GuidText(i.iid);
        out << "struct ZOLBEX11_IID(\"" << iid.substr(1, iid.size() - 2) << "\") " << i.name << ";\n";
    }

    for (const Interface& i : lib.interfaces) {
        out << "\n// vtable: IUnknown, IDispatch, then these " << i.members.size() << " slots.\n";
        out << "struct " << i.name << " : public IDispatch {\n";
        for (const Member& m : i.members) out << Declaration(m) << "\n";
        out << "};\n";
        out << "#if !defined(_MSC_VER) && defined(__CRT_UUID_DECL)\n__CRT_UUID_DECL(" << i.name << ", "
            << UuidDeclArguments(i.iid) << ")\n#endif\n";
    }
    return out.str();
}

void WriteInterfaceHeader(const Library& lib, const std::wstring& path) {
    const std::string text = InterfaceHeaderText(lib);
    FILE* f = _wfopen(path.c_str(), L"wb");
    const bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f && std::fclose(f) != 0) throw GenerationError("cannot write " + Narrow(path.c_str()));
    if (!ok) throw GenerationError("cannot write " + Narrow(path.c_str()));
    std::printf("interface header: %s written\n", Narrow(path.c_str()).c_str());
}

}  // namespace zolbex::tlbgen
