// Writes the member reference (docs/reference.md) from the catalogue, the library's error table
// and the hand-written notes (reference_notes.h). Throws a GenerationError when a class, member,
// enumeration or parameter of the catalogue has no note, or a note names nothing there.
#pragma once

#include "library/catalogue.h"
#include "reference_notes.h"

#include <string>

namespace zolbex::tlbgen {

std::string ReferenceText(const catalogue::Library& lib, const std::string& version, const reference::Notes& notes);
void WriteReference(const catalogue::Library& lib, const std::string& version, const reference::Notes& notes,
                    const std::wstring& path);

}  // namespace zolbex::tlbgen
