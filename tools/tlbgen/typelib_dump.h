// Renders a loaded type library as text, one line per fact, so that two libraries (or a
// library and what it should be) can be compared line by line.
//
//   library NAME guid={...} version=M.m lcid=0xN syskind=win32|win64 flags=0xN
//   library help "..."
//   type I NAME dispatch guid={...} flags=0xN implements=stdole.IDispatch
//   type I NAME interface flags=0xN implements=stdole.IDispatch   (the dual half)
//     func slot=S KIND NAME id=0xN flags=0xN optional=N help "..."
//       param NAME TYPE FLAGS [default=VT:VALUE]
//   type I NAME coclass guid={...} flags=0xN
//     impl N NAME flags=0xN
//   type I NAME alias guid={...} flags=0xN aliases=NAME
//   type I NAME enum guid={...} flags=0xN
//     const NAME = VALUE help "..."
//   import NAME {...} M.m
//
// Names of parameters come from ITypeInfo::GetNames, which answers by DISPID: every accessor
// of one property shows the names of its first. The vtable slot is oVft divided by the
// reading process's pointer size, the unit in which the loader reports offsets. The library
// flag "has disk image" is the loader's and is left out.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace zolbex::tlbgen {

struct DumpOptions {
    bool vtableSizes = false;  // add "  vtable size=N" (target-dependent) after each interface half
};

std::string DumpTypeLibrary(ITypeLib* lib, const DumpOptions& options = {});

const char* SyskindName(SYSKIND syskind);

// The first `limit` lines where two dumps differ, each as "line N:\n  read: ...\n  expected: ...";
// a missing line reads "(end)". Empty when the dumps are equal.
std::vector<std::string> LineDifferences(const std::string& read, const std::string& expected, size_t limit = 10);

}  // namespace zolbex::tlbgen
