// Writes the member reference (docs/reference.md) from the catalogue and the hand-written notes
// of reference_notes.cpp. Throws a GenerationError when a class, member or enumeration of the
// catalogue has no note, or a note names nothing in the catalogue.
#pragma once

#include "library/catalogue.h"

#include <string>

namespace zolbex::tlbgen {

std::string ReferenceText(const catalogue::Library& lib, const std::string& version);
void WriteReference(const catalogue::Library& lib, const std::string& version, const std::wstring& path);

}  // namespace zolbex::tlbgen
