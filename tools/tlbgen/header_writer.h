// Writes zolbex11_interfaces.h: the C++ declarations of the catalogue's interfaces and GUIDs.
#pragma once

#include "library/catalogue.h"

#include <string>

namespace zolbex::tlbgen {

std::string InterfaceHeaderText(const catalogue::Library& lib);
void WriteInterfaceHeader(const catalogue::Library& lib, const std::wstring& path);

}  // namespace zolbex::tlbgen
