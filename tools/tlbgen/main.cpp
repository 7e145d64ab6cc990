// zolbex11_tlbgen OUTDIR NOTESDIR: writes OUTDIR\zolbex11_win32.tlb, OUTDIR\zolbex11_win64.tlb,
// OUTDIR\zolbex11_interfaces.h, OUTDIR\zolbex11_reference.md (also from the Markdown notes of
// NOTESDIR) and the assembly manifests OUTDIR\zolbex11_win32.sxs.manifest and
// OUTDIR\zolbex11_win64.sxs.manifest from the catalogue, reads both
// libraries back and fails (exit code 1) when either differs from the catalogue in any fact.
#include "catalogue_render.h"
#include "com_util.h"
#include "header_writer.h"
#include "manifest_writer.h"
#include "reference_writer.h"
#include "library/com_ptr.h"
#include "typelib_dump.h"
#include "typelib_writer.h"
#include "vtable_fixup.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace zolbex;
using namespace zolbex::tlbgen;

namespace {

bool Generate(const catalogue::Library& lib, SYSKIND syskind, const std::wstring& path) {
    const char* what = syskind == SYS_WIN64 ? "win64 type library" : "win32 type library";
    DeleteFileW(path.c_str());
    WriteTypeLibrary(lib, syskind, path);
    const int fixed = FixVtableSizes(lib, syskind, path);
    std::printf("%s: %s written, %d vtable size(s) corrected\n", what, Narrow(path.c_str()).c_str(), fixed);

    ComPtr<ITypeLib> loaded;
    Check(LoadTypeLibEx(path.c_str(), REGKIND_NONE, loaded.Put()), "reading back " + Narrow(path.c_str()));
    DumpOptions options;
    options.vtableSizes = true;
    const std::string dump = DumpTypeLibrary(loaded.Get(), options);
    if (const wchar_t* dumpPath = _wgetenv(L"ZOLBEX11_TLBGEN_DUMP")) {  // for inspection by hand
        if (FILE* f = _wfopen((std::wstring(dumpPath) + (syskind == SYS_WIN64 ? L"64" : L"32")).c_str(), L"w")) {
            std::fputs(dump.c_str(), f);
            std::fclose(f);
        }
    }
    const std::vector<std::string> differences = LineDifferences(dump, RenderCatalogue(lib, syskind, options));
    for (const std::string& d : differences) std::fprintf(stderr, "%s differs from the catalogue at %s\n", what, d.c_str());
    return differences.empty();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zolbex11_tlbgen OUTDIR NOTESDIR\n");
        return 2;
    }
    wchar_t dirText[MAX_PATH], notesText[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, argv[1], -1, dirText, MAX_PATH) ||
        !MultiByteToWideChar(CP_ACP, 0, argv[2], -1, notesText, MAX_PATH)) {
        std::fprintf(stderr, "zolbex11_tlbgen: folder name too long\n");
        return 2;
    }
    const std::wstring dir = dirText;
    const DWORD started = GetTickCount();
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    try {
        const catalogue::Library& lib = catalogue::TheLibrary();
        const bool win32 = Generate(lib, SYS_WIN32, dir + L"\\zolbex11_win32.tlb");
        const bool win64 = Generate(lib, SYS_WIN64, dir + L"\\zolbex11_win64.tlb");
        WriteInterfaceHeader(lib, dir + L"\\zolbex11_interfaces.h");
        WriteReference(lib, ZOLBEX11_VERSION, reference::ReadNotes(notesText), dir + L"\\zolbex11_reference.md");
        WriteAssemblyManifest(lib, ZOLBEX11_VERSION, "x86", dir + L"\\zolbex11_win32.sxs.manifest");
        WriteAssemblyManifest(lib, ZOLBEX11_VERSION, "amd64", dir + L"\\zolbex11_win64.sxs.manifest");
        ok = win32 && win64;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zolbex11_tlbgen: %s\n", e.what());
    }
    if (SUCCEEDED(init)) CoUninitialize();
    std::printf("zolbex11_tlbgen: %s in %lu ms\n", ok ? "done" : "FAILED", GetTickCount() - started);
    return ok ? 0 : 1;
}
