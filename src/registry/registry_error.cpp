#include "registry/registry_error.h"

#include "library/errors.h"

namespace zolbex {
namespace {

std::wstring RootAndSection(const RegistryLocation& location) {
    return RootText(location.classKey) + L"',Section: '" + location.sectionKey;
}

std::wstring WriteFailureDescription(const RegistryLocation& location, const std::wstring& valueText) {
    return L"Failed to set registry value Key: '" + RootAndSection(location) + L"',Key: '" +
           location.valueKey + L"' to value: '" + valueText + L"'";
}

}  // namespace

std::wstring RootText(LONG classKey) { return std::to_wstring(classKey); }

void RaiseCreateKeyFailed(const RegistryLocation& location) {
    Raise(kRegistryKeyError, kRegistrySource, L"Failed to create registry Key: '" + location.sectionKey);
}

void RaiseDeleteKeyFailed(const RegistryLocation& location) {
    Raise(kRegistryKeyError, kRegistrySource, L"Failed to delete registry Key: '" + RootAndSection(location));
}

void RaiseOpenForDeleteFailed(const RegistryLocation& location) {
    Raise(kRegistryKeyError, kRegistrySource,
          L"Failed to open key '" + RootAndSection(location) + L"' for delete access");
}

void RaiseDeleteValueFailed(const RegistryLocation& location) {
    Raise(kRegistryKeyError, kRegistrySource,
          L"Failed to delete registry Key: '" + RootAndSection(location) + L"',Key: '" + location.valueKey);
}

void RaiseKeyNotWritable(const RegistryLocation& location, const std::wstring& valueText) {
    Raise(kRegistryKeyError, kRegistrySource, WriteFailureDescription(location, valueText));
}

void RaiseWriteFailed(const RegistryLocation& location, const std::wstring& valueText) {
    Raise(kValueWriteError, kRegistrySource, WriteFailureDescription(location, valueText));
}

void RaiseBinaryNeedsByteArray() {
    Raise(kRegistryKeyError, kLibrarySource, L"Application-defined or object-defined error");
}

void RaiseListingFailed(const std::wstring& trappedDescription) {
    Raise(kListingError, kRegistrySource, trappedDescription);
}

}  // namespace zolbex
