#include "manifest_writer.h"

#include "com_util.h"

#include <cstdio>
#include <sstream>

namespace zolbex::tlbgen {

using namespace catalogue;

namespace {

// Registration writes the same model for every class (the classes live in the caller's
// single-threaded apartment) and names the automation marshaler for every interface.
constexpr char kThreadingModel[] = "Apartment";
constexpr char kAutomationMarshaler[] = "{00020424-0000-0000-C000-000000000046}";

void AddProxyStub(std::ostringstream& out, const char* name, const GUID& iid, const std::string& libid) {
    out << "  <comInterfaceExternalProxyStub name=\"" << name << "\" iid=\"" << GuidText(iid)
        << "\" proxyStubClsid32=\"" << kAutomationMarshaler << "\" tlbid=\"" << libid << "\"/>\n";
}

}  // namespace

std::string AssemblyManifestText(const Library& lib, const std::string& version,
                                 const std::string& processorArchitecture) {
    const std::string libid = GuidText(lib.libid);
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        << "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
        << "  <assemblyIdentity type=\"win32\" name=\"" << kAssemblyName << "\" version=\"" << version
        << "\" processorArchitecture=\"" << processorArchitecture << "\"/>\n"
        << "  <file name=\"" << lib.fileName << "\">\n";
    for (const Coclass& cls : lib.coclasses) {
        if (!cls.Creatable()) continue;
        out << "    <comClass clsid=\"" << GuidText(cls.clsid) << "\" progid=\"" << lib.name << "." << cls.name
            << "\" threadingModel=\"" << kThreadingModel << "\" tlbid=\"" << libid << "\"/>\n";
    }
    out << "    <typelib tlbid=\"" << libid << "\" version=\"" << lib.major << "." << lib.minor
        << "\" helpdir=\"\"/>\n"
        << "  </file>\n";
    for (const Interface& itf : lib.interfaces) AddProxyStub(out, itf.name, itf.iid, libid);
    for (const Coclass& cls : lib.coclasses)
        if (cls.alias) AddProxyStub(out, cls.interfaceName, cls.alias->iid, libid);
    out << "</assembly>\n";
    return out.str();
}

void WriteAssemblyManifest(const Library& lib, const std::string& version, const std::string& processorArchitecture,
                           const std::wstring& path) {
    const std::string text = AssemblyManifestText(lib, version, processorArchitecture);
    FILE* f = _wfopen(path.c_str(), L"wb");
    const bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f && std::fclose(f) != 0) throw GenerationError("cannot write " + Narrow(path.c_str()));
    if (!ok) throw GenerationError("cannot write " + Narrow(path.c_str()));
    std::printf("assembly manifest (%s): %s written\n", processorArchitecture.c_str(), Narrow(path.c_str()).c_str());
}

}  // namespace zolbex::tlbgen
