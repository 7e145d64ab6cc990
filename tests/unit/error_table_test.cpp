// The error table fills a description's <Name> parts once, from left to right: a part whose own
// text looks like a placeholder (a key path a caller chose) is kept as written, and a part the
// description does not name is ignored.
#include <gtest/gtest.h>

#include "library/error_table.h"

namespace zolbex {
namespace {

TEST(ErrorTable, FillsEachPartOnceFromLeftToRight) {
    const std::wstring text = DescriptionOf(Error::RegistryDeleteValue, {{L"ClassKey", L"-2147483647"},
                                                                         {L"SectionKey", L"Software\\<ValueKey>"},
                                                                         {L"ValueKey", L"Name"},
                                                                         {L"Unused", L"x"}});
    EXPECT_EQ(text, L"Failed to delete registry Key: '-2147483647',Section: 'Software\\<ValueKey>',Key: 'Name");
}

}  // namespace
}  // namespace zolbex
