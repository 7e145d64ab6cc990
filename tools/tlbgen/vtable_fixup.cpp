#include "vtable_fixup.h"

#include "com_util.h"
#include "library_order.h"
#include "typelib_writer.h"

#include <cstdint>
#include <cstring>
#include <cstdio>
#include <vector>

namespace zolbex::tlbgen {
namespace {

// Layout of the "MSFT" type library file, as far as needed here.
constexpr uint32_t kMagic = 0x5446534D;         // "MSFT"
constexpr size_t kHeaderSize = 0x54;
constexpr size_t kHeaderVarFlags = 0x14;
constexpr size_t kHeaderTypeInfoCount = 0x20;
constexpr uint32_t kHelpDllFlag = 0x100;         // one more field follows the header
constexpr size_t kTypeInfoBaseKind = 0x00;       // low 4 bits: TYPEKIND
constexpr size_t kTypeInfoBaseFlags = 0x30;
constexpr size_t kTypeInfoBaseSizeVft = 0x4E;    // 16 bits

class File {
public:
    explicit File(const std::wstring& path) : path_(path) {
        FILE* in = _wfopen(path_.c_str(), L"rb");
        if (!in) throw GenerationError("cannot read " + Narrow(path_.c_str()));
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;) bytes_.insert(bytes_.end(), chunk, chunk + n);
        std::fclose(in);
    }
    void Save() const {
        FILE* out = _wfopen(path_.c_str(), L"wb");
        const bool ok = out && std::fwrite(bytes_.data(), 1, bytes_.size(), out) == bytes_.size();
        if (out && std::fclose(out) != 0) throw GenerationError("cannot write " + Narrow(path_.c_str()));
        if (!ok) throw GenerationError("cannot write " + Narrow(path_.c_str()));
    }
    uint32_t U32(size_t at) const { return static_cast<uint32_t>(Read(at, 4)); }
    uint16_t U16(size_t at) const { return static_cast<uint16_t>(Read(at, 2)); }
    void SetU16(size_t at, uint16_t v) {
        Bounds(at, 2);
        bytes_[at] = static_cast<char>(v & 0xFF);
        bytes_[at + 1] = static_cast<char>(v >> 8);
    }

private:
    void Bounds(size_t at, size_t n) const {
        if (at + n > bytes_.size()) throw GenerationError("type library file is shorter than its header says");
    }
    uint64_t Read(size_t at, size_t n) const {
        Bounds(at, n);
        uint64_t v = 0;
        for (size_t i = n; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes_[at + i]);
        return v;
    }

    std::wstring path_;
    std::vector<char> bytes_;
};

}  // namespace

int FixVtableSizes(const catalogue::Library& lib, SYSKIND syskind, const std::wstring& path) {
    File file(path);
    if (file.U32(0) != kMagic) throw GenerationError("not an MSFT type library: " + Narrow(path.c_str()));
    const uint32_t count = file.U32(kHeaderTypeInfoCount);
    const size_t offsets = kHeaderSize + ((file.U32(kHeaderVarFlags) & kHelpDllFlag) ? 4 : 0);
    const size_t segmentDirectory = offsets + 4 * size_t{count};
    const size_t typeInfoTable = file.U32(segmentDirectory);  // first segment: the type info table

    const std::vector<Entry> order = LibraryOrder(lib);
    if (order.size() != count) throw GenerationError("type library holds an unexpected number of types");

    int changed = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i].kind != EntryKind::Interface) continue;
        const catalogue::Interface& itf = *order[i].itf;
        const size_t base = typeInfoTable + file.U32(offsets + 4 * i);
        // A dual interface is recorded once, as a dispatch interface with the dual flag.
        if ((file.U32(base + kTypeInfoBaseKind) & 0xF) != TKIND_DISPATCH ||
            file.U32(base + kTypeInfoBaseFlags) != itf.flags)
            throw GenerationError(std::string("unexpected type record for ") + itf.name);
        const uint16_t wanted = static_cast<uint16_t>(SlotCount(itf) * PointerSize(syskind));
        if (file.U16(base + kTypeInfoBaseSizeVft) != wanted) {
            file.SetU16(base + kTypeInfoBaseSizeVft, wanted);
            ++changed;
        }
    }
    if (changed) file.Save();
    return changed;
}

}  // namespace zolbex::tlbgen
