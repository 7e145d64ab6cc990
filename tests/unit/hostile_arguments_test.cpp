// Members given what a careless or hostile caller passes straight through the vtable: references
// that are null or never end, where a value was expected. Each answers with the runtime's
// "Invalid procedure call or argument" instead of following the pointer.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "environment/value_pair.h"
#include "environment/value_pairs.h"
#include "platform/registry_names.h"
#include "registry/registry_object.h"
#include "sandbox_platform.h"

namespace zolbex {
namespace {

using namespace testing;

constexpr long kInvalidCall = 5;

// The malformed VARIANTs every member that takes one must refuse.
struct Malformed {
    const char* what;
    std::function<void(VARIANT& arg, VARIANT& other)> build;  // `other` is spare storage for cycles
};

const std::vector<Malformed>& MalformedArguments() {
    static const std::vector<Malformed> cases = {
        {"a by-ref number with a null pointer", [](VARIANT& a, VARIANT&) { V_VT(&a) = VT_BYREF | VT_I4; V_BYREF(&a) = nullptr; }},
        {"a by-ref text with a null pointer", [](VARIANT& a, VARIANT&) { V_VT(&a) = VT_BYREF | VT_BSTR; V_BYREF(&a) = nullptr; }},
        {"a by-ref variant with a null pointer", [](VARIANT& a, VARIANT&) { V_VT(&a) = VT_BYREF | VT_VARIANT; V_BYREF(&a) = nullptr; }},
        {"a reference to itself", [](VARIANT& a, VARIANT&) { V_VT(&a) = VT_BYREF | VT_VARIANT; V_VARIANTREF(&a) = &a; }},
        {"two references to each other",
         [](VARIANT& a, VARIANT& b) {
             V_VT(&a) = VT_BYREF | VT_VARIANT;
             V_VARIANTREF(&a) = &b;
             V_VT(&b) = VT_BYREF | VT_VARIANT;
             V_VARIANTREF(&b) = &a;
         }},
        {"a reference to a null by-ref object",
         [](VARIANT& a, VARIANT& b) {
             V_VT(&b) = VT_BYREF | VT_DISPATCH;
             V_BYREF(&b) = nullptr;
             V_VT(&a) = VT_BYREF | VT_VARIANT;
             V_VARIANTREF(&a) = &b;
         }},
    };
    return cases;
}

class HostileArgumentsTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        registry_ = MakeObject<RegistryObject>();
        registry_->SetClassKey(kHkeyCurrentUser);
        registry_->SetSectionKey(L"Software\\Hostile");
        registry_->SetValueKey(L"v");
        registry_->SetValueType(REG_SZ);
        pairs_ = NewValuePairs();
        pairs_->Add(NewValuePair(L"A", L"1").Get(), L"A");
    }
    void TearDown() override {
        registry_.Reset();
        pairs_.Reset();
        ComTest::TearDown();
    }

    SandboxPlatform sandbox_;
    platform::ScopedPlatform scoped_{sandbox_};
    ComPtr<RegistryObject> registry_;
    ComPtr<ValuePairs> pairs_;
};

TEST_F(HostileArgumentsTest, MembersTakingAVariantRefuseAReferenceThatIsNullOrNeverEnds) {
    struct Member {
        const char* name;
        std::function<HRESULT(VARIANT* arg)> call;
    };
    const std::vector<Member> members = {
        {"Item", [&](VARIANT* arg) {
             ComPtr<_clsZolbexENVValuePairA> pair;
             return pairs_->Item(arg, pair.Put());
         }},
        {"WriteKey", [&](VARIANT* arg) { return registry_->WriteKey(arg, nullptr, nullptr, nullptr); }},
        {"Value let", [&](VARIANT* arg) { return registry_->put_Value(*arg); }},
        {"Default let", [&](VARIANT* arg) { return registry_->put_Default(*arg); }},
        {"ReadKey's default", [&](VARIANT* arg) {
             Variant result;
             return registry_->ReadKey(nullptr, nullptr, nullptr, arg, result.Get());
         }},
    };
    for (const Member& member : members) {
        for (const Malformed& malformed : MalformedArguments()) {
            SCOPED_TRACE(std::string(member.name) + " given " + malformed.what);
            VARIANT arg, other;
            VariantInit(&arg);
            VariantInit(&other);
            malformed.build(arg, other);
            const HRESULT hr = member.call(&arg);
            EXPECT_EQ(LastError(hr).number, kInvalidCall);
        }
    }
    EXPECT_EQ(sandbox_.Count(PlatformCall::SetValue), 0) << "nothing is written for a malformed value";
}

TEST_F(HostileArgumentsTest, ItemStillFollowsAShortChainOfReferencesToItsIndex) {
    VARIANT index, first, second;
    V_VT(&index) = VT_I4;
    V_I4(&index) = 1;
    V_VT(&first) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&first) = &index;
    V_VT(&second) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&second) = &first;
    ComPtr<_clsZolbexENVValuePairA> pair;
    EXPECT_EQ(pairs_->Item(&second, pair.Put()), S_OK);
    EXPECT_TRUE(pair);
}

}  // namespace
}  // namespace zolbex
