// Renders the catalogue in the text form of DumpTypeLibrary: what the written type library
// must read back as.
#pragma once

#include "library/catalogue.h"
#include "typelib_dump.h"

#include <string>

namespace zolbex::tlbgen {

std::string RenderCatalogue(const catalogue::Library& lib, SYSKIND syskind, const DumpOptions& options = {});

}  // namespace zolbex::tlbgen
