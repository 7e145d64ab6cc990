// Helpers of the stored-environment and facade tests: raw access to any registry root, values
// saved at the start of a test and put back at its end, and a platform double that records
// message boxes, broadcasts and the keys the library opens, and can refuse machine-key writes
// (Wine lets every user write there) or object creation by ProgID.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <ostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "com_test_support.h"
#include "forwarding_platform.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {

inline constexpr wchar_t kUserEnvironment[] = L"Environment";
inline constexpr wchar_t kMachineEnvironment[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
inline constexpr wchar_t kSwitchPath[] = L"Software\\VB and VBA Program Settings\\Halvern\\Solvane";
inline constexpr wchar_t kRecordPath[] = L"Software\\VB and VBA Program Settings\\Halvern\\Solvane\\Environment";

// The arguments of a late-bound call, in the caller's order.
template <class... Values>
std::vector<Variant> Args(Values&&... values) {
    std::vector<Variant> args;
    (args.push_back(std::forward<Values>(values)), ...);
    return args;
}

// One registry value: root, key path, value name.
struct ValueAt {
    HKEY root;
    std::wstring path;
    std::wstring name;
};

struct StoredText {
    DWORD type = REG_NONE;
    std::wstring text;  // the stored units without the terminator
    bool operator==(const StoredText& other) const { return type == other.type && text == other.text; }
};

void PutText(const ValueAt& at, const std::wstring& text, DWORD type = REG_SZ);
void PutBytes(const ValueAt& at, DWORD type, const std::vector<BYTE>& bytes);
std::optional<StoredText> GetText(const ValueAt& at);
void RemoveValue(const ValueAt& at);

// Saves the values (and whether their keys existed) when made; on destruction puts every value
// back as it was, or removes it, and removes the keys that did not exist before and are empty.
class SavedValues {
public:
    explicit SavedValues(std::vector<ValueAt> values);
    ~SavedValues();
    SavedValues(const SavedValues&) = delete;
    SavedValues& operator=(const SavedValues&) = delete;

private:
    struct Saved {
        ValueAt at;
        std::optional<std::pair<DWORD, std::vector<BYTE>>> value;
    };
    std::vector<Saved> saved_;
    std::vector<std::pair<HKEY, std::wstring>> newKeys_;  // deepest first
};

struct MessageBoxSeen {
    std::wstring text;
    std::wstring title;
    UINT flags = 0;
    bool operator==(const MessageBoxSeen& other) const {
        return text == other.text && title == other.title && flags == other.flags;
    }
};
void PrintTo(const MessageBoxSeen& box, std::ostream* out);

class RecordingPlatform : public ForwardingPlatform {
public:
    LONG OpenKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override;
    LONG CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override;
    LONG QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) override;
    void BroadcastSettingChange(const std::wstring& area) override;
    int ShowMessageBox(const std::wstring& text, const std::wstring& title, UINT flags) override;
    bool WindowStationIsInteractive() override { return interactive; }
    HRESULT CreateObject(const std::wstring& progId, IDispatch** object) override;

    std::vector<std::pair<HKEY, std::wstring>> keysUsed;  // every key opened or created
    std::vector<std::wstring> valuesQueried;  // names of the values read, in order
    std::vector<std::wstring> broadcasts;
    std::vector<MessageBoxSeen> boxes;
    std::vector<std::wstring> progIdsCreated;

    bool refuseMachineWrites = false;  // creating a key under HKEY_LOCAL_MACHINE is denied
    bool interactive = true;           // the process's window station (a service's is not)
    // Object creation by ProgID: by default a runtime object of this module, so the library
    // need not be registered; a test may make it fail.
    std::function<HRESULT(IDispatch**)> createObject;
};

// The listed value of a variable, or nothing when the listing has no such key.
std::optional<std::wstring> Listed(_clsZolbexENVValuePairsA* list, const std::wstring& name);

// "CleanMachineEnvVar", the switch of the settings store.
ValueAt SwitchValue();
// The settings-store record of a variable.
ValueAt RecordOf(const std::wstring& variable);

}  // namespace zolbex::testing
