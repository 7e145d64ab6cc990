// The cost of a late-bound property get through our IDispatch against the same call through
// the vtable. The dispatcher resolves a DISPID to its call description once per interface, so
// the difference is argument marshalling and the indirect call, not a walk of the type library.
#include <windows.h>
#include <objbase.h>

#include "bench_support.h"
#include "library/class_table.h"
#include "library/variant.h"
#include "zolbex11_interfaces.h"

using namespace zolbex;

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        ComPtr<_clsZolbex11RunTimeA> runTime = Create<_clsZolbex11RunTimeA>(NewRunTime);
        const long calls = 200000;

        DISPID id = 0;
        LPOLESTR name[] = {const_cast<LPOLESTR>(L"ExpandEnvVar")};
        runTime->GetIDsOfNames(IID_NULL, name, 1, 0, &id);
        DISPPARAMS none{};
        const bench::Comparison lateToEarly = bench::Compare(
            [&](long) {
                Variant result;
                runTime->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.Put(), nullptr, nullptr);
            },
            [&](long) {
                VARIANT_BOOL value = VARIANT_FALSE;
                runTime->get_ExpandEnvVar(&value);
            });

        double byName = bench::NanosecondsPerCall(calls / 4, [&](long) {
            DISPID found = 0;
            runTime->GetIDsOfNames(IID_NULL, name, 1, 0, &found);
            Variant result;
            runTime->Invoke(found, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.Put(), nullptr, nullptr);
        });

        std::printf("Late-bound property get (ExpandEnvVar on the runtime object)\n");
        bench::Report("vtable get_ExpandEnvVar", lateToEarly.second);
        bench::Report("IDispatch::Invoke with a known DISPID", lateToEarly.first);
        bench::Report("GetIDsOfNames + Invoke", byName);
        bench::ReportRatio("Invoke / vtable", lateToEarly);
    }
    CoUninitialize();
    return 0;
}
