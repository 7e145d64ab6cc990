// Reads the type library embedded in each built DLL and compares it, fact by fact, with the
// catalogue as written out by hand in typelib_readback_golden.inc.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "com_util.h"
#include "library/bstr.h"
#include "library/com_ptr.h"
#include "typelib_dump.h"  // the generator's own reader, so that both read a library the same way
#include "zolbex11_interfaces.h"

namespace {

using zolbex::Bstr;
using zolbex::ComPtr;

const char kGolden[] =
#include "typelib_readback_golden.inc"
    ;

struct Target {
    const char* name;
    const char* dllVariable;  // the DLL's Windows path
    const char* syskind;      // as the dump names it
    int pointerSize;
};

void PrintTo(const Target& target, std::ostream* out) { *out << target.name; }

const Target kTargets[] = {
    {"x86_64", "ZOLBEX11_X86_64_DLL", "win64", 8},
    {"i686", "ZOLBEX11_I686_DLL", "win32", 4},
};

std::string ExpectedDump(const Target& target) {
    std::string text = kGolden;
    const std::string placeholder = "syskind=SYSKIND";
    text.replace(text.find(placeholder), placeholder.size(), std::string("syskind=") + target.syskind);
    return text;
}

class TypeLibReadback : public ::testing::TestWithParam<Target> {
protected:
    void SetUp() override {
        const char* path = std::getenv(GetParam().dllVariable);
        if (!path || !*path) GTEST_SKIP() << GetParam().dllVariable << " is not set: no " << GetParam().name << " DLL to read";
        wchar_t widePath[MAX_PATH];
        ASSERT_NE(0, MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH)) << path;
        ASSERT_EQ(S_OK, LoadTypeLibEx(widePath, REGKIND_NONE, lib_.Put())) << path;
    }

    // The TKIND_INTERFACE half of the dual interface with this IID.
    ComPtr<ITypeInfo> InterfaceHalf(const GUID& iid) {
        ComPtr<ITypeInfo> dispatch, itf;
        HREFTYPE ref = 0;
        if (FAILED(lib_->GetTypeInfoOfGuid(iid, dispatch.Put())) ||
            FAILED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) ||
            FAILED(dispatch->GetRefTypeInfo(ref, itf.Put())))
            return {};
        return itf;
    }

    ComPtr<ITypeLib> lib_;
};

TEST_P(TypeLibReadback, EveryFactMatchesTheCatalogue) {
    const std::string read = zolbex::tlbgen::DumpTypeLibrary(lib_.Get());
    for (const std::string& difference : zolbex::tlbgen::LineDifferences(read, ExpectedDump(GetParam())))
        ADD_FAILURE() << difference;
}

struct InterfaceSlots {
    std::string name;
    GUID iid;
    int slots;
};

// Every interface of the golden dump with its vtable size in slots: one past its last function's
// slot, or IUnknown's 3 and IDispatch's 4 where it has none. Read from the dump, so a member added
// there needs no count changed by hand.
std::vector<InterfaceSlots> GoldenInterfaceSlots() {
    std::vector<InterfaceSlots> interfaces;
    std::istringstream lines(kGolden);
    std::string line;
    bool inInterface = false;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string first, number, name, kind, guid;
        words >> first;
        if (first == "type") {
            words >> number >> name >> kind >> guid;
            inInterface = kind == "interface";
            if (!inInterface) continue;
            const std::wstring iidText(guid.begin() + guid.find('{'), guid.end());
            GUID iid{};
            EXPECT_EQ(S_OK, IIDFromString(iidText.c_str(), &iid)) << line;
            interfaces.push_back({name, iid, 7});
        } else if (first == "func" && inInterface) {
            std::string slot;
            words >> slot;  // slot=N
            interfaces.back().slots = std::max(interfaces.back().slots, std::stoi(slot.substr(slot.find('=') + 1)) + 1);
        }
    }
    return interfaces;
}

// cbSizeVft counts IUnknown's 3 and IDispatch's 4 slots, every member row, and the undescribed
// let slot of each object field, in the target's pointer size.
TEST_P(TypeLibReadback, VtableSizeCountsEverySlotInTheTargetsPointerSize) {
    const std::vector<InterfaceSlots> interfaces = GoldenInterfaceSlots();
    ASSERT_FALSE(interfaces.empty()) << "no interface read from the golden dump";
    for (const InterfaceSlots& itf : interfaces) {
        ComPtr<ITypeInfo> info = InterfaceHalf(itf.iid);
        ASSERT_TRUE(info) << itf.name << " has no interface half";
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
        EXPECT_EQ(itf.slots * GetParam().pointerSize, attr->cbSizeVft) << itf.name;
        info->ReleaseTypeAttr(attr);
    }
}

// The identifiers of the generated C++ header are the ones in the type library.
TEST_P(TypeLibReadback, HeaderIdentifiersNameTheSameTypes) {
    const struct {
        GUID guid;
        const wchar_t* name;
    } ids[] = {
        {CLSID_clsZolbex11A, L"clsZolbex11A"},
        {CLSID_clsZolbexENVValuePairA, L"clsZolbexENVValuePairA"},
        {CLSID_clsZolbexENVValuePairsA, L"clsZolbexENVValuePairsA"},
        {CLSID_clsZolbexENVProcessA, L"clsZolbexENVProcessA"},
        {CLSID_clsZolbexENVRegistryA, L"clsZolbexENVRegistryA"},
        {CLSID_clsZolbexENVSystemA, L"clsZolbexENVSystemA"},
        {CLSID_clsZolbexENVUserA, L"clsZolbexENVUserA"},
        {CLSID_clsZolbex11RunTimeA, L"clsZolbex11RunTimeA"},
        {CLSID_HV_ZOLBEX11, L"HV_ZOLBEX11"},
        {IID__clsZolbex11A, L"_clsZolbex11A"},
        {IID__clsZolbexENVValuePairA, L"_clsZolbexENVValuePairA"},
        {IID__clsZolbexENVValuePairsA, L"_clsZolbexENVValuePairsA"},
        {IID__clsZolbexENVProcessA, L"_clsZolbexENVProcessA"},
        {IID__clsZolbexENVRegistryA, L"_clsZolbexENVRegistryA"},
        {IID__clsZolbexENVSystemA, L"_clsZolbexENVSystemA"},
        {IID__clsZolbexENVUserA, L"_clsZolbexENVUserA"},
        {IID__clsZolbex11RunTimeA, L"_clsZolbex11RunTimeA"},
        {IID_clsZolbex11RunTimeA___v0, L"clsZolbex11RunTimeA___v0"},
        {IID__HV_ZOLBEX11, L"_HV_ZOLBEX11"},
    };
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, lib_->GetLibAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(LIBID_ZOLBEX11, attr->guid));
    lib_->ReleaseTLibAttr(attr);
    for (const auto& id : ids) {
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(S_OK, lib_->GetTypeInfoOfGuid(id.guid, info.Put())) << zolbex::tlbgen::Narrow(id.name);
        Bstr name;
        ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, name.Put(), nullptr, nullptr, nullptr));
        EXPECT_EQ(std::wstring(id.name), name.Str());
    }
}

// Late-bound clients find members by name through the dispatch half.
TEST_P(TypeLibReadback, DispatchHalfAnswersMemberNames) {
    const struct {
        GUID iid;
        const wchar_t* member;
        MEMBERID id;
    } names[] = {
        {IID__clsZolbex11RunTimeA, L"EnvironGet", 0x60030009},
        {IID__clsZolbex11RunTimeA, L"ExpandEnvVar", 0x68030008},
        {IID__clsZolbex11RunTimeA, L"goRegistry", 0x40030009},
        {IID__clsZolbex11RunTimeA, L"CreateVirtualDriveHVPro", 0x6003000F},
        {IID__clsZolbexENVValuePairsA, L"Item", 0},
        {IID__clsZolbexENVValuePairsA, L"NewEnum", DISPID_NEWENUM},
        {IID__clsZolbexENVRegistryA, L"writekey", 0x60030013},
        {IID__HV_ZOLBEX11, L"m_clsZolbexENVRegistryA", 0x40030001},
    };
    for (const auto& n : names) {
        ComPtr<ITypeInfo> dispatch;
        ASSERT_EQ(S_OK, lib_->GetTypeInfoOfGuid(n.iid, dispatch.Put()));
        LPOLESTR name = const_cast<LPOLESTR>(n.member);
        MEMBERID id = 0;
        EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(&name, 1, &id)) << zolbex::tlbgen::Narrow(n.member);
        EXPECT_EQ(n.id, id) << zolbex::tlbgen::Narrow(n.member);
    }
}

INSTANTIATE_TEST_SUITE_P(BothTargets, TypeLibReadback, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });

}  // namespace
