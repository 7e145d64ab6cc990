// The hand-written half of docs/reference.md, read from the Markdown files of tools/tlbgen/notes/
// at build time: what each class and member does, its parameters' meanings, the errors it raises
// and an example. The writer takes everything else (identifiers, DISPIDs, parameters, types,
// defaults, the error rows) from the catalogue and the library's error table.
//
// A notes file holds sections:
//   # <class or enumeration>        its text, and for a class a ```vbscript example
//   ## <Interface>.<Member>          one member (all its accessors share the note)
// and in a member section, besides paragraphs of remarks and one ```vbscript example:
//   Summary: <one line>              Result: <paragraph>              See also: `A`, `B`
//   Parameters:                      Errors:
//   - `name`: meaning                - `error-key`: when it is raised
#pragma once

#include <string>
#include <vector>

namespace zolbex::tlbgen::reference {

struct Entry {
    std::string name;
    std::string text;
};

struct TopNote {  // a class or an enumeration
    std::string name;
    std::string text;
    std::string example;
    std::string file;
};

struct MemberNote {
    std::string interfaceName;
    std::string memberName;
    std::string summary;
    std::string result;
    std::string text;  // remarks
    std::vector<Entry> parameters;
    std::vector<Entry> errors;  // name: the error's key in the library's error table
    std::vector<std::string> seeAlso;
    std::string example;
    std::string file;
};

struct Notes {
    std::vector<TopNote> tops;
    std::vector<MemberNote> members;
};

// Adds the sections of one Markdown text; throws a GenerationError naming `file` and the line
// for text outside a section, a second example, or an entry not written `name`: text.
void ParseNotes(const std::string& markdown, const std::string& file, Notes& notes);

// Every *.md file of the folder, in name order.
Notes ReadNotes(const std::wstring& folder);

}  // namespace zolbex::tlbgen::reference
