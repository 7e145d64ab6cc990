// The frame's own methods (type information, names, class factories) leave the thread's error
// object alone, whether they succeed or fail: a client reads it only after a member failed.
#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "com_test_support.h"
#include "library/class_factory.h"
#include "library/class_table.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {
namespace {

ComPtr<IDispatch> OutOfMemoryCreator() { throw std::bad_alloc(); }

// An error object of the client's own, left on the thread before the call.
ComPtr<IErrorInfo> PlantErrorObject() {
    ComPtr<ICreateErrorInfo> create;
    EXPECT_EQ(CreateErrorInfo(create.Put()), S_OK);
    create->SetDescription(const_cast<wchar_t*>(L"the client's own"));
    ComPtr<IErrorInfo> info = create.As<IErrorInfo>(IID_IErrorInfo);
    SetErrorInfo(0, info.Get());
    return info;
}

struct FrameCall {
    const char* what;
    HRESULT expected;
    std::function<HRESULT(IDispatch* object)> call;
};

TEST_F(ComTest, FrameMethodsLeaveTheThreadsErrorObjectAlone) {
    ComPtr<IDispatch> object = NewProcessScope();
    const FrameCall calls[] = {
        {"GetTypeInfo", S_OK,
         [](IDispatch* o) {
             ComPtr<ITypeInfo> info;
             return o->GetTypeInfo(0, 0, info.Put());
         }},
        {"GetTypeInfo of a bad index", DISP_E_BADINDEX,
         [](IDispatch* o) {
             ComPtr<ITypeInfo> info;
             return o->GetTypeInfo(1, 0, info.Put());
         }},
        {"GetIDsOfNames", S_OK,
         [](IDispatch* o) {
             LPOLESTR name = const_cast<LPOLESTR>(L"Environment");
             DISPID id = 0;
             return o->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
         }},
        {"GetIDsOfNames of an unknown name", DISP_E_UNKNOWNNAME,
         [](IDispatch* o) {
             LPOLESTR name = const_cast<LPOLESTR>(L"NoSuchMember");
             DISPID id = 0;
             return o->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
         }},
        {"CreateInstance", S_OK,
         [](IDispatch*) {
             ComPtr<IClassFactory> factory;
             GetClassFactory(NewProcessScope, IID_IClassFactory, reinterpret_cast<void**>(factory.Put()));
             ComPtr<IDispatch> made;
             return factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(made.Put()));
         }},
        {"CreateInstance out of memory", E_OUTOFMEMORY,
         [](IDispatch*) {
             ComPtr<IClassFactory> factory;
             GetClassFactory(OutOfMemoryCreator, IID_IClassFactory, reinterpret_cast<void**>(factory.Put()));
             ComPtr<IDispatch> made;
             return factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(made.Put()));
         }},
    };
    for (const FrameCall& frame : calls) {
        ComPtr<IErrorInfo> planted = PlantErrorObject();
        EXPECT_EQ(frame.call(object.Get()), frame.expected) << frame.what;
        ComPtr<IErrorInfo> left;
        EXPECT_EQ(GetErrorInfo(0, left.Put()), S_OK) << frame.what;
        EXPECT_EQ(left.Get(), planted.Get()) << frame.what;
    }
}

}  // namespace
}  // namespace zolbex::testing
