// The creatable classes of the library and how to make each one.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "library/com_ptr.h"
#include "library/errors.h"

namespace zolbex {

using ClassCreator = ComPtr<IDispatch> (*)();

// The creator of a creatable class, or null for any other CLSID (the pair classes included).
ClassCreator FindCreator(REFCLSID clsid);

// Creators, each defined beside its class.
ComPtr<IDispatch> NewEmptyObject();    // clsZolbex11A
ComPtr<IDispatch> NewHolder();         // HV_ZOLBEX11
ComPtr<IDispatch> NewProcessScope();   // clsZolbexENVProcessA
ComPtr<IDispatch> NewUserScope();      // clsZolbexENVUserA
ComPtr<IDispatch> NewSystemScope();    // clsZolbexENVSystemA
ComPtr<IDispatch> NewRegistry();       // clsZolbexENVRegistryA
ComPtr<IDispatch> NewRunTime();        // clsZolbex11RunTimeA

// A new object of a class, as its interface I.
template <class I>
ComPtr<I> Create(ClassCreator create) {
    ComPtr<I> object = create().template As<I>(__uuidof(I));
    if (!object) throw ErrorOf(Error::NoSuchInterface);
    return object;
}

}  // namespace zolbex
