// The member reference follows the catalogue: every class, member and enumeration value has its
// place, a changed catalogue entry changes the text, and the writer refuses a catalogue that the
// hand-written notes do not cover (or notes that name nothing), so the reference cannot fall
// silently behind the type library.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "com_util.h"
#include "library/catalogue.h"
#include "reference_writer.h"

namespace zolbex {
namespace {

using namespace catalogue;
using tlbgen::ReferenceText;

constexpr char kVersion[] = "1.2.3.4";

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
               "| `sOpenMenuText` | String (`BSTR`) | by value | yes | `\"&Show\"` |"},
        Change{"ByRef",
               [](Library& lib) {
                   MemberOf(lib, "_clsZolbex11RunTimeA", "EnvironGet", MemberKind::Method).params[1].byRef = false;
               },
               "| `sVariable` | String (`BSTR`) | by value |"},
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

}  // namespace
}  // namespace zolbex
