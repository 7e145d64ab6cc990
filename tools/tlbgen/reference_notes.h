// The hand-written half of docs/reference.md: what each class and member does, the errors it
// raises and a short example, keyed by the catalogue's names. The writer takes everything else
// (identifiers, DISPIDs, parameters, types, defaults) from the catalogue, and refuses to write
// when a member of the catalogue has no note or a note names no member.
#pragma once

#include <vector>

namespace zolbex::tlbgen::reference {

// One error the library raises. `description` is the exact text; parts in <angle brackets>
// stand for the text of the property or argument they name.
struct ErrorEntry {
    const char* id;
    long number;  // as Err.Number reads it
    const char* source;
    const char* description;
};

// An error a member raises, and when.
struct Raised {
    const char* errorId;
    const char* when;
};

struct ClassNote {
    const char* className;
    const char* text;
    const char* example;  // VBScript
};

// All accessors of one name (get, let, set) share one note.
struct MemberNote {
    const char* interfaceName;
    const char* memberName;
    const char* text;
    std::vector<Raised> errors;
    const char* example;  // VBScript, one or two lines
};

struct EnumerationNote {
    const char* name;
    const char* text;
};

const std::vector<ErrorEntry>& LibraryErrors();
const std::vector<ClassNote>& ClassNotes();
const std::vector<MemberNote>& MemberNotes();
const std::vector<EnumerationNote>& EnumerationNotes();

}  // namespace zolbex::tlbgen::reference
