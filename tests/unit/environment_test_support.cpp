#include "environment_test_support.h"

#include <algorithm>
#include <cstring>

#include "library/class_table.h"

namespace zolbex::testing {
namespace {

std::optional<std::pair<DWORD, std::vector<BYTE>>> GetRawValue(const ValueAt& at) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(at.root, at.path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = REG_NONE, size = 0;
    LONG result = RegQueryValueExW(key, at.name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> bytes(size);
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExW(key, at.name.c_str(), nullptr, &type, bytes.data(), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return std::nullopt;
    bytes.resize(size);
    return std::make_pair(type, std::move(bytes));
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool KeyIsEmpty(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD subKeys = 0, values = 0;
    LONG result = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && subKeys == 0 && values == 0;
}

bool IsMachineEnvironment(HKEY root, const std::wstring& path) {
    return root == HKEY_LOCAL_MACHINE && _wcsicmp(path.c_str(), kMachineEnvironment) == 0;
}

}  // namespace

void PutBytes(const ValueAt& at, DWORD type, const std::vector<BYTE>& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(at.root, at.path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    // Non-NUL bytes after the counted ones: the registry adds a terminator that a text's bytes
    // lack when the unit after them happens to be NUL, and the tests store exact bytes.
    std::vector<BYTE> padded = bytes;
    padded.insert(padded.end(), {0xFF, 0xFF, 0xFF});
    EXPECT_EQ(RegSetValueExW(key, at.name.c_str(), 0, type, padded.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void PutText(const ValueAt& at, const std::wstring& text, DWORD type) {
    std::vector<BYTE> bytes((text.size() + 1) * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.c_str(), bytes.size());
    PutBytes(at, type, bytes);
}

std::optional<StoredText> GetText(const ValueAt& at) {
    auto raw = GetRawValue(at);
    if (!raw) return std::nullopt;
    StoredText stored{raw->first, std::wstring(reinterpret_cast<const wchar_t*>(raw->second.data()),
                                               raw->second.size() / sizeof(wchar_t))};
    if (!stored.text.empty() && stored.text.back() == L'\0') stored.text.pop_back();
    return stored;
}

void RemoveValue(const ValueAt& at) { RegDeleteKeyValueW(at.root, at.path.c_str(), at.name.c_str()); }

SavedValues::SavedValues(std::vector<ValueAt> values) {
    for (ValueAt& at : values) {
        for (std::wstring path = at.path; !path.empty() && !KeyExists(at.root, path);) {
            if (std::find(newKeys_.begin(), newKeys_.end(), std::make_pair(at.root, path)) == newKeys_.end())
                newKeys_.emplace_back(at.root, path);
            const size_t slash = path.rfind(L'\\');
            path = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
        }
        auto value = GetRawValue(at);
        saved_.push_back({std::move(at), std::move(value)});
    }
    // Deepest first, so that a parent is empty by the time its turn comes.
    std::sort(newKeys_.begin(), newKeys_.end(),
              [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
}

SavedValues::~SavedValues() {
    for (const Saved& saved : saved_) {
        if (saved.value)
            PutBytes(saved.at, saved.value->first, saved.value->second);
        else
            RemoveValue(saved.at);
    }
    for (const auto& [root, path] : newKeys_)
        if (KeyIsEmpty(root, path)) RegDeleteKeyW(root, path.c_str());
}

LONG RecordingPlatform::OpenKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) {
    keysUsed.emplace_back(root, path);
    return ForwardingPlatform::OpenKey(root, path, access, key);
}

LONG RecordingPlatform::CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) {
    keysUsed.emplace_back(root, path);
    if (refuseMachineWrites && IsMachineEnvironment(root, path)) {
        *key = nullptr;
        return ERROR_ACCESS_DENIED;
    }
    return ForwardingPlatform::CreateKey(root, path, access, key);
}

LONG RecordingPlatform::QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) {
    // One entry per read: the queries of one read (a probe, then the data) ask for one name.
    if (valuesQueried.empty() || valuesQueried.back() != name) valuesQueried.push_back(name);
    return ForwardingPlatform::QueryValue(key, name, type, data, size);
}

void RecordingPlatform::BroadcastSettingChange(const std::wstring& area) { broadcasts.push_back(area); }

int RecordingPlatform::ShowMessageBox(const std::wstring& text, const std::wstring& title, UINT flags) {
    boxes.push_back({text, title, flags});
    return IDOK;
}

HRESULT RecordingPlatform::CreateObject(const std::wstring& progId, IDispatch** object) {
    progIdsCreated.push_back(progId);
    *object = nullptr;
    if (createObject) return createObject(object);
    *object = NewRunTime().Detach();
    return S_OK;
}

void PrintTo(const MessageBoxSeen& box, std::ostream* out) {
    auto narrow = [](const std::wstring& text) {
        std::string result;
        for (wchar_t c : text) result += c == L'\r' ? std::string("\\r") : c == L'\n' ? std::string("\\n")
                                          : std::string(1, c < 128 ? static_cast<char>(c) : '?');
        return result;
    };
    *out << "{\"" << narrow(box.text) << "\", \"" << narrow(box.title) << "\", 0x" << std::hex << box.flags
         << std::dec << "}";
}

std::optional<std::wstring> Listed(_clsZolbexENVValuePairsA* list, const std::wstring& name) {
    Variant key = Text(name.c_str());
    ComPtr<_clsZolbexENVValuePairA> pair;
    if (FAILED(list->Item(key.Get(), pair.Put()))) return std::nullopt;
    Bstr value;
    EXPECT_EQ(pair->get_Value(value.Put()), S_OK);
    return value.Str();
}

ValueAt SwitchValue() { return {HKEY_CURRENT_USER, kSwitchPath, L"CleanMachineEnvVar"}; }

ValueAt RecordOf(const std::wstring& variable) { return {HKEY_CURRENT_USER, kRecordPath, variable}; }

}  // namespace zolbex::testing
