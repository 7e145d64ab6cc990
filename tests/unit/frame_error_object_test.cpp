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

HRESULT TypeInfoAt(IDispatch* object, UINT index) {
    ComPtr<ITypeInfo> info;
    return object->GetTypeInfo(index, 0, info.Put());
}

HRESULT IdOfName(IDispatch* object, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    return object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
}

HRESULT CreateThroughFactory(ClassCreator create) {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(GetClassFactory(create, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())), S_OK);
    ComPtr<IDispatch> made;
    return factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(made.Put()));
}

struct FrameCall {
    const char* what;
    HRESULT expected;
    std::function<HRESULT(IDispatch* object)> call;
};

TEST_F(ComTest, FrameMethodsLeaveTheThreadsErrorObjectAlone) {
    ComPtr<IDispatch> object = NewProcessScope();
    const FrameCall calls[] = {
        {"GetTypeInfo", S_OK, [](IDispatch* o) { return TypeInfoAt(o, 0); }},
        {"GetTypeInfo of a bad index", DISP_E_BADINDEX, [](IDispatch* o) { return TypeInfoAt(o, 1); }},
        {"GetIDsOfNames", S_OK, [](IDispatch* o) { return IdOfName(o, L"Environment"); }},
        {"GetIDsOfNames of an unknown name", DISP_E_UNKNOWNNAME, [](IDispatch* o) { return IdOfName(o, L"NoSuchMember"); }},
        {"CreateInstance", S_OK, [](IDispatch*) { return CreateThroughFactory(NewProcessScope); }},
        {"CreateInstance out of memory", E_OUTOFMEMORY, [](IDispatch*) { return CreateThroughFactory(OutOfMemoryCreator); }},
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
