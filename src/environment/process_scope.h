// clsZolbexENVProcessA: the environment variables of the current process.
#pragma once

#include <string>
#include <string_view>

namespace zolbex {

// One entry of the process environment block split into name and value. The leading "=" of
// the per-drive entries ("=C:=C:\work") belongs to the name; the value is everything after the
// separator, further "=" included. `valid` is false for an entry without a separator.
struct EnvironmentEntry {
    std::wstring_view name;
    std::wstring_view value;
    bool valid = false;
};
EnvironmentEntry SplitEnvironmentEntry(std::wstring_view entry);

}  // namespace zolbex
