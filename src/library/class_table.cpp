#include "library/class_table.h"

#include "zolbex11_interfaces.h"

namespace zolbex {

ClassCreator FindCreator(REFCLSID clsid) {
    static const struct {
        const GUID* clsid;
        ClassCreator create;
    } kClasses[] = {
        {&CLSID_clsZolbex11A, NewEmptyObject},
        {&CLSID_clsZolbexENVProcessA, NewProcessScope},
        {&CLSID_clsZolbexENVRegistryA, NewRegistry},
        {&CLSID_clsZolbexENVSystemA, NewSystemScope},
        {&CLSID_clsZolbexENVUserA, NewUserScope},
        {&CLSID_clsZolbex11RunTimeA, NewRunTime},
        {&CLSID_HV_ZOLBEX11, NewHolder},
    };
    for (const auto& entry : kClasses)
        if (IsEqualCLSID(*entry.clsid, clsid)) return entry.create;
    return nullptr;
}

}  // namespace zolbex
