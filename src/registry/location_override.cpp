#include "registry/location_override.h"

#include <utility>

#include "library/bstr.h"

namespace zolbex {
namespace {

bool Given(const BSTR* text) { return text && !Bstr::ViewOf(*text).empty(); }

}  // namespace

LocationOverride::LocationOverride(RegistryLocation& location, const BSTR* valueKey, const BSTR* sectionKey,
                                   const LONG* classKey)
    : location_(location) {
    if (Given(valueKey)) {
        valueKey_ = location_.valueKey;
        location_.valueKey = Bstr::ViewOf(*valueKey);
    }
    if (Given(sectionKey)) {
        sectionKey_ = location_.sectionKey;
        location_.sectionKey = Bstr::ViewOf(*sectionKey);
    }
    if (classKey && *classKey != 0) {
        classKey_ = location_.classKey;
        location_.classKey = *classKey;
    }
}

void LocationOverride::Restore() {
    if (valueKey_) location_.valueKey = std::move(*valueKey_);
    if (sectionKey_) location_.sectionKey = std::move(*sectionKey_);
    if (classKey_) location_.classKey = *classKey_;
}

}  // namespace zolbex
