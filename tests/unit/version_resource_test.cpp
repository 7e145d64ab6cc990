// The version resource of both built DLLs, read the way Explorer and installers read it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The build's version, project(VERSION) of the top CMakeLists.txt.
constexpr WORD kMajor = ZOLBEX11_VERSION_MAJOR, kMinor = ZOLBEX11_VERSION_MINOR,
               kPatch = ZOLBEX11_VERSION_PATCH, kTweak = ZOLBEX11_VERSION_TWEAK;

// The version as the texts show it: major, two-digit minor, four-digit build ("1.01.0206").
std::wstring VersionText() {
    wchar_t text[32];
    std::swprintf(text, 32, L"%u.%02u.%04u", unsigned{kMajor}, unsigned{kMinor}, unsigned{kTweak});
    return text;
}

struct BuiltDll {
    const char* environmentVariable;  // holds the DLL's Windows path
};

class VersionResourceTest : public ::testing::TestWithParam<BuiltDll> {
protected:
    void SetUp() override {
        const char* path = std::getenv(GetParam().environmentVariable);
        if (!path || !*path) GTEST_SKIP() << GetParam().environmentVariable << " is not set";
        const std::wstring widePath(path, path + std::strlen(path));
        const DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), nullptr);
        ASSERT_NE(size, 0u) << "no version resource in " << path;
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(widePath.c_str(), 0, size, block_.data()));
    }

    // The text entry `name` of the US English / Unicode table; fails the test when absent.
    std::wstring Text(const wchar_t* name) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block_.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) {
            ADD_FAILURE() << "no entry " << std::string(query.begin(), query.end());
            return {};
        }
        return length ? std::wstring(value) : std::wstring();
    }

    std::vector<BYTE> block_;
};

TEST_P(VersionResourceTest, FixedPartNamesVersionTypeAndSystem) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD{MAKELONG(kMinor, kMajor)});
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD{MAKELONG(kTweak, kPatch)});
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST_P(VersionResourceTest, TranslationIsUsEnglishUnicode) {
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);
}

TEST_P(VersionResourceTest, TextEntries) {
    const struct {
        const wchar_t* name;
        std::wstring expected;
    } entries[] = {
        {L"FileVersion", VersionText()},     {L"ProductVersion", VersionText()},
        {L"InternalName", L"zolbex11"},      {L"OriginalFilename", L"zolbex11.dll"},
        {L"CompanyName", L"Halvern"},        {L"ProductName", L"ZOLBEX11"},
        {L"OLESelfRegister", L""},  // marks the DLL as self-registering
    };
    for (const auto& entry : entries) {
        EXPECT_EQ(Text(entry.name), entry.expected)
            << std::string(entry.name, entry.name + wcslen(entry.name));
    }
    EXPECT_NE(Text(L"FileDescription").find(L"ZOLBEX11"), std::wstring::npos);
}

INSTANTIATE_TEST_SUITE_P(BothDlls, VersionResourceTest,
                         ::testing::Values(BuiltDll{"ZOLBEX11_X86_64_DLL"}, BuiltDll{"ZOLBEX11_I686_DLL"}),
                         [](const ::testing::TestParamInfo<BuiltDll>& info) {
                             return std::string(info.param.environmentVariable).substr(9);  // X86_64_DLL
                         });

}  // namespace
