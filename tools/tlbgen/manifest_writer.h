// Writes the assembly manifests that let a program use zolbex11.dll without registration: the
// DLL as a file of the assembly "zolbex11.sxs" with every creatable class (CLSID, ProgID,
// threading model), the type library and the interfaces' marshaler. One per architecture, since
// the manifest names the processor the DLL was built for.
#pragma once

#include "library/catalogue.h"

#include <string>

namespace zolbex::tlbgen {

// The assembly's name; a program names it as a dependency in its own manifest, and Windows
// looks for "<name>.manifest" beside the program.
inline constexpr char kAssemblyName[] = "zolbex11.sxs";

// processorArchitecture is "x86" (the 32-bit DLL) or "amd64"; version has four parts.
std::string AssemblyManifestText(const catalogue::Library& lib, const std::string& version,
                                 const std::string& processorArchitecture);
void WriteAssemblyManifest(const catalogue::Library& lib, const std::string& version,
                           const std::string& processorArchitecture, const std::wstring& path);

}  // namespace zolbex::tlbgen
