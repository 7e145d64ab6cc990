#include "registry/registry_error.h"

#include "library/errors.h"

namespace zolbex {
namespace {

std::wstring Root(const RegistryLocation& location) { return RootText(location.classKey); }

}  // namespace

std::wstring RootText(LONG classKey) { return std::to_wstring(classKey); }

void RaiseCreateKeyFailed(const RegistryLocation& location) {
    Raise(Error::RegistryCreate, {{L"SectionKey", location.sectionKey}});
}

void RaiseDeleteKeyFailed(const RegistryLocation& location) {
    Raise(Error::RegistryDeleteKey, {{L"ClassKey", Root(location)}, {L"SectionKey", location.sectionKey}});
}

void RaiseOpenForDeleteFailed(const RegistryLocation& location) {
    Raise(Error::RegistryOpenForDelete, {{L"ClassKey", Root(location)}, {L"SectionKey", location.sectionKey}});
}

void RaiseDeleteValueFailed(const RegistryLocation& location) {
    Raise(Error::RegistryDeleteValue, {{L"ClassKey", Root(location)},
                                       {L"SectionKey", location.sectionKey},
                                       {L"ValueKey", location.valueKey}});
}

void RaiseKeyNotWritable(const RegistryLocation& location, const std::wstring& valueText) {
    Raise(Error::RegistryKeyNotWritable, {{L"ClassKey", Root(location)},
                                          {L"SectionKey", location.sectionKey},
                                          {L"ValueKey", location.valueKey},
                                          {L"value", valueText}});
}

void RaiseWriteFailed(const RegistryLocation& location, const std::wstring& valueText) {
    Raise(Error::RegistryWriteFailed, {{L"ClassKey", Root(location)},
                                       {L"SectionKey", location.sectionKey},
                                       {L"ValueKey", location.valueKey},
                                       {L"value", valueText}});
}

void RaiseBinaryNeedsByteArray() { Raise(Error::RegistryBinary); }

void RaiseListingFailed(const std::wstring& trappedDescription) {
    Raise(Error::RegistryListing, {{L"description of the failure that ended the listing", trappedDescription}});
}

}  // namespace zolbex
