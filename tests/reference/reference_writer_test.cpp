// The member reference follows the catalogue: every class, member and enumeration value has its
// place, a changed catalogue entry changes the text, and the writer refuses a catalogue that the
// hand-written notes do not cover (or notes that name nothing), so the reference cannot fall
// silently behind the type library.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "com_util.h"
#include "library/catalogue.h"
#include "reference_writer.h"

namespace zolbex {
namespace {

using namespace catalogue;

constexpr char kVersion[] = "1.2.3.4";

const tlbgen::reference::Notes& TheNotes() {
    static const tlbgen::reference::Notes notes = tlbgen::reference::ReadNotes(ZOLBEX11_NOTES_DIR);
    return notes;
}

std::string ReferenceText(const Library& lib, const std::string& version) {
    return tlbgen::ReferenceText(lib, version, TheNotes());
}

Member& MemberOf(Library& lib, const char* itf, const char* name, MemberKind kind) {
    for (Interface& i : lib.interfaces)
        if (std::strcmp(i.name, itf) == 0)
            for (Member& m : i.members)
                if (std::strcmp(m.name, name) == 0 && m.kind == kind) return m;
    throw std::logic_error("no such member in the catalogue");
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ReferenceWriter, HasASectionForEveryClassMemberAndEnumerationValue) {
    const Library& lib = TheLibrary();
    const std::string text = ReferenceText(lib, kVersion);
    EXPECT_TRUE(Contains(text, std::string("version ") + kVersion));
    for (const Coclass& c : lib.coclasses) {
        EXPECT_TRUE(Contains(text, std::string("\n## ") + c.name + "\n")) << c.name;
        EXPECT_TRUE(Contains(text, tlbgen::GuidText(c.clsid))) << c.name;
        const Interface* itf = lib.FindInterface(c.interfaceName);
        ASSERT_NE(itf, nullptr);
        for (const Member& m : itf->members) {
            if (m.kind == MemberKind::UndescribedLet) continue;
            EXPECT_TRUE(Contains(text, std::string("\n### ") + c.name + "." + m.name + "\n")) << m.name;
        }
    }
    for (const Enumeration& e : lib.enumerations)
        for (const EnumMember& m : e.members)
            EXPECT_TRUE(Contains(text, "| `" + std::string(m.name) + "` | " + std::to_string(m.value) + " |"))
                << m.name;
}

// One change of a catalogue entry each; the reference must show the new fact.
struct Change {
    const char* name;
    std::function<void(Library&)> apply;
    const char* shown;
};

class ReferenceFollowsTheCatalogue : public ::testing::TestWithParam<Change> {};

TEST_P(ReferenceFollowsTheCatalogue, ChangedEntryChangesTheText) {
    Library changed = TheLibrary();
    GetParam().apply(changed);
    const std::string before = ReferenceText(TheLibrary(), kVersion);
    const std::string after = ReferenceText(changed, kVersion);
    EXPECT_NE(before, after);
    EXPECT_FALSE(Contains(before, GetParam().shown));
    EXPECT_TRUE(Contains(after, GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ReferenceFollowsTheCatalogue,
    ::testing::Values(
        Change{"Dispid",
               [](Library& lib) { MemberOf(lib, "_clsZolbexENVRegistryA", "KeyExists", MemberKind::PropertyGet).dispid = 0x68030077; },
               "| property get | 0x68030077 | `get_KeyExists` |"},
        Change{"Default",
               [](Library& lib) {
                   MemberOf(lib, "_clsZolbexENVRegistryA", "CreateEXEAssociation", MemberKind::Method)
                       .params[4]
                       .defaultValue = TextDefault("&Show");
               },
               "| String (`BSTR`) | by value | yes | `\"&Show\"` |"},
        Change{"ByRef",
               [](Library& lib) {
                   MemberOf(lib, "_clsZolbex11RunTimeA", "EnvironGet", MemberKind::Method).params[1].byRef = false;
               },
               "String (`BSTR`) | by value | yes | none (omitted: empty) |"},
        Change{"EnumValue", [](Library& lib) { lib.enumerations[2].members[2].value = 7; },
               "| `zolbexEnvironmentSystem` | 7 |"},
        Change{"Instancing", [](Library& lib) { lib.coclasses[0].flags = kNotCreatable; },
               "| [`clsZolbex11A`](#clsZolbex11A) | none | no: obtained from the library |"}),
    [](const ::testing::TestParamInfo<Change>& info) { return std::string(info.param.name); });

TEST(ReferenceWriter, RefusesAMemberWithoutANote) {
    Library changed = TheLibrary();
    Member extra = MemberOf(changed, "_clsZolbexENVRegistryA", "CreateKey", MemberKind::Method);
    extra.name = "CreateKeyTwice";
    changed.interfaces[4].members.push_back(extra);
    EXPECT_THROW(ReferenceText(changed, kVersion), tlbgen::GenerationError);
}

TEST(ReferenceWriter, RefusesANoteForAMemberThatIsGone) {
    Library changed = TheLibrary();
    std::vector<Member>& members = changed.interfaces[4].members;
    ASSERT_STREQ(members.front().name, "KeyExists");
    members.erase(members.begin());
    EXPECT_THROW(ReferenceText(changed, kVersion), tlbgen::GenerationError);
}

// The notes are checked against the catalogue and the error table: one change each that the
// writer must refuse.
struct NotesChange {
    const char* name;
    std::function<void(tlbgen::reference::MemberNote&)> apply;
};

class NotesRefused : public ::testing::TestWithParam<NotesChange> {};

TEST_P(NotesRefused, WriterRefusesTheChangedNotes) {
    tlbgen::reference::Notes changed = TheNotes();
    bool applied = false;
    for (tlbgen::reference::MemberNote& n : changed.members)
        if (n.interfaceName == "_clsZolbexENVRegistryA" && n.memberName == "ReadKey") {
            GetParam().apply(n);
            applied = true;
        }
    ASSERT_TRUE(applied);
    EXPECT_NO_THROW(tlbgen::ReferenceText(TheLibrary(), kVersion, TheNotes()));
    EXPECT_THROW(tlbgen::ReferenceText(TheLibrary(), kVersion, changed), tlbgen::GenerationError);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, NotesRefused,
    ::testing::Values(
        NotesChange{"ParameterWithoutMeaning", [](auto& n) { n.parameters.pop_back(); }},
        NotesChange{"ParameterTheMemberHasNot", [](auto& n) { n.parameters.push_back({"sNoSuch", "nothing"}); }},
        NotesChange{"UnknownError", [](auto& n) { n.errors.push_back({"no-such-error", "never"}); }},
        NotesChange{"LinkToNothing", [](auto& n) { n.seeAlso.push_back("NoSuchMember"); }},
        NotesChange{"NoSummary", [](auto& n) { n.summary.clear(); }},
        NotesChange{"InAnotherClassFile", [](auto& n) { n.file = "clsZolbexENVUserA.md"; }}),
    [](const ::testing::TestParamInfo<NotesChange>& info) { return std::string(info.param.name); });

// Markdown the notes reader refuses, naming the file and line.
TEST(NotesReader, RefusesMalformedMarkdown) {
    const char* malformed[] = {
        "stray text before any heading\n",
        "## _I.M\n\nErrors:\n- invalid-call: no backticks\n",
        "## _I.M\n\n```vbscript\na\n```\n\n```vbscript\nb\n```\n",
        "## _I.M\n\n```vbscript\nnever closed\n",
        "## NoDot\n",
    };
    for (const char* text : malformed) {
        tlbgen::reference::Notes notes;
        EXPECT_THROW(tlbgen::reference::ParseNotes(text, "bad.md", notes), tlbgen::GenerationError) << text;
    }
}

TEST(NotesReader, ReadsEveryPartOfAMemberSection) {
    tlbgen::reference::Notes notes;
    tlbgen::reference::ParseNotes(
        "# C\n\nClass text\ngoes on.\n\n## _C.M\n\nSummary: One line.\n\nParameters:\n- `a`: first,\n  still first\n"
        "- `b`: second\n\nResult: the result.\n\nRemarks one.\n\nRemarks two.\n\nErrors:\n- `subscript`: when\n\n"
        "See also: `X`, `C.Y`\n\n```vbscript\nWScript.Echo 1\n```\n",
        "C.md", notes);
    ASSERT_EQ(notes.tops.size(), 1u);
    EXPECT_EQ(notes.tops[0].text, "Class text goes on.");
    ASSERT_EQ(notes.members.size(), 1u);
    const tlbgen::reference::MemberNote& m = notes.members[0];
    EXPECT_EQ(m.summary, "One line.");
    ASSERT_EQ(m.parameters.size(), 2u);
    EXPECT_EQ(m.parameters[0].text, "first, still first");
    EXPECT_EQ(m.result, "the result.");
    EXPECT_EQ(m.text, "Remarks one.\n\nRemarks two.");
    ASSERT_EQ(m.errors.size(), 1u);
    EXPECT_EQ(m.errors[0].name, "subscript");
    EXPECT_EQ(m.seeAlso, (std::vector<std::string>{"X", "C.Y"}));
    EXPECT_EQ(m.example, "WScript.Echo 1");
}

}  // namespace
}  // namespace zolbex
