#include "fuzz_arguments.h"

#include "foreign_object.h"

#include <oleauto.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <string>

namespace zolbex::testing {
namespace {

class PlainUnknown final : public ForeignObject<IUnknown> {};

class FailingDispatch final : public ForeignObject<IDispatch> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_FAIL;
    }
};

class FailingRecord final : public IRecordInfo {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IRecordInfo) return E_NOINTERFACE;
        *out = static_cast<IRecordInfo*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives for the process
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE RecordInit(PVOID) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE RecordClear(PVOID) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE RecordCopy(PVOID, PVOID) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetGuid(GUID*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetName(BSTR*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetSize(ULONG*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(ITypeInfo**) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetField(PVOID, LPCOLESTR, VARIANT*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetFieldNoCopy(PVOID, LPCOLESTR, VARIANT*, PVOID*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE PutField(ULONG, PVOID, LPCOLESTR, VARIANT*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE PutFieldNoCopy(ULONG, PVOID, LPCOLESTR, VARIANT*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetFieldNames(ULONG*, BSTR*) override { return E_FAIL; }
    BOOL STDMETHODCALLTYPE IsMatchingType(IRecordInfo*) override { return FALSE; }
    PVOID STDMETHODCALLTYPE RecordCreate() override { return nullptr; }
    HRESULT STDMETHODCALLTYPE RecordCreateCopy(PVOID, PVOID*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE RecordDestroy(PVOID) override { return E_FAIL; }
};

// Names a member might look a variable up by, and texts of every awkward shape.
const wchar_t* const kTexts[] = {L"PATH", L"TEMP", L"ZOLBEX11_FUZZ", L"Software\\ZOLBEX11 Fuzz", L"1", L"-2147483647",
                                 L"%PATH%", L"%", L"%A%B", L"Z:", L"C:\\windows", L"&Open", L"True", L"3.5", L"=C:"};

BSTR OddText(FuzzRandom& random) {
    switch (random.Below(4)) {
        case 0: return SysAllocStringLen(L"a\0b\0", 4);  // embedded NULs
        case 1: return SysAllocString(L"");
        case 2: return SysAllocStringLen(nullptr, 0);
        default: {
            std::wstring text(40000 + random.Below(40000), L'x');
            return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        }
    }
}

double OddNumber(FuzzRandom& random) {
    switch (random.Below(6)) {
        case 0: return std::numeric_limits<double>::quiet_NaN();
        case 1: return std::numeric_limits<double>::infinity();
        case 2: return 1e308;
        case 3: return -0.5;
        default: return static_cast<double>(random.Below(200000)) / 7.0 - 10000.0;
    }
}

// The value types a VARIANT holds by value, by reference or as array elements.
const VARTYPE kScalarTypes[] = {VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BSTR,
                                VT_ERROR, VT_BOOL, VT_DECIMAL, VT_I1, VT_UI1, VT_UI2, VT_UI4, VT_I8,
                                VT_UI8, VT_INT, VT_UINT, VT_DISPATCH, VT_UNKNOWN};
// Types no VARIANT may hold.
const VARTYPE kBadTypes[] = {VT_VOID, VT_HRESULT, VT_PTR, VT_SAFEARRAY, VT_CARRAY, VT_USERDEFINED, VT_LPSTR,
                             VT_LPWSTR, VT_FILETIME, VT_BLOB, VT_CLSID, 15, 0x7F, 0xFFF, VT_VARIANT,
                             VT_VECTOR | VT_I4, VT_RESERVED | VT_I4};

}  // namespace

uint64_t FuzzRandom::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

IUnknown* NewPlainUnknown() { return new PlainUnknown(); }
IDispatch* NewFailingDispatch() { return new FailingDispatch(); }
IRecordInfo* FailingRecordInfo() {
    static FailingRecord record;
    return &record;
}

ArgumentPool::~ArgumentPool() {
    // Whatever a callee left in a referent (a text, an array, an object) is the caller's to free.
    for (auto& referent : referents_) VariantClear(referent.get());
}

VARIANT* ArgumentPool::Referent() {
    referents_.push_back(std::make_unique<VARIANT>());
    VariantInit(referents_.back().get());
    return referents_.back().get();
}

void ArgumentPool::Scalar(FuzzRandom& random, VARIANT* out, bool withObjects) {
    VariantInit(out);
    VARTYPE type = kScalarTypes[random.Below(sizeof kScalarTypes / sizeof kScalarTypes[0])];
    if (!withObjects && (type == VT_DISPATCH || type == VT_UNKNOWN)) type = VT_I4;
    V_VT(out) = type;
    switch (type) {
        case VT_I2: V_I2(out) = static_cast<SHORT>(random.Next()); break;
        case VT_I4: {
            const LONG numbers[] = {0, 1, 2, 3, -1, 5, 9, -2147483647 - 1, -2147483647, -2147483646, 2147483647};
            V_I4(out) = random.Chance(70) ? numbers[random.Below(11)] : static_cast<LONG>(random.Next());
            break;
        }
        case VT_R4: V_R4(out) = static_cast<float>(OddNumber(random)); break;
        case VT_R8: V_R8(out) = OddNumber(random); break;
        case VT_DATE: V_DATE(out) = OddNumber(random); break;
        case VT_CY: V_CY(out).int64 = static_cast<LONGLONG>(random.Next()); break;
        case VT_BSTR: V_BSTR(out) = SysAllocString(kTexts[random.Below(sizeof kTexts / sizeof kTexts[0])]); break;
        case VT_ERROR: V_ERROR(out) = random.Chance(50) ? DISP_E_PARAMNOTFOUND : E_FAIL; break;
        case VT_BOOL: V_BOOL(out) = random.Chance(40) ? VARIANT_TRUE : random.Chance(50) ? VARIANT_FALSE : 1; break;
        case VT_DECIMAL: {
            DECIMAL value{};
            value.Lo64 = random.Next();
            value.scale = static_cast<BYTE>(random.Below(40));  // beyond 28 is malformed
            value.sign = random.Chance(50) ? DECIMAL_NEG : 0;
            V_DECIMAL(out) = value;
            V_VT(out) = VT_DECIMAL;
            break;
        }
        case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
            V_UI8(out) = random.Next();
            break;
        case VT_DISPATCH:
            V_DISPATCH(out) = nullptr;
            if (random.Chance(40) && own_) {
                own_->AddRef();
                V_DISPATCH(out) = own_;
            } else if (random.Chance(50)) {
                V_DISPATCH(out) = NewFailingDispatch();
            }
            break;
        case VT_UNKNOWN: V_UNKNOWN(out) = random.Chance(70) ? NewPlainUnknown() : nullptr; break;
        default: break;
    }
}

SAFEARRAY* ArgumentPool::Array(FuzzRandom& random) {
    const VARTYPE elements[] = {VT_VARIANT, VT_BSTR, VT_I4, VT_UI1};
    const VARTYPE element = elements[random.Below(4)];
    const UINT dims = 1 + random.Below(3);
    SAFEARRAYBOUND bounds[3];
    for (UINT d = 0; d < dims; ++d) {
        bounds[d].cElements = random.Below(4);
        bounds[d].lLbound = static_cast<LONG>(random.Below(11)) - 5;
    }
    SAFEARRAY* array = SafeArrayCreate(element, dims, bounds);
    if (!array || dims != 1) return array;
    for (LONG i = 0; i < static_cast<LONG>(bounds[0].cElements); ++i) {
        LONG at = bounds[0].lLbound + i;
        VARIANT value;
        Scalar(random, &value, /*withObjects=*/false);
        if (element == VT_VARIANT) {
            SafeArrayPutElement(array, &at, &value);
        } else {
            VARIANT converted;
            VariantInit(&converted);
            if (SUCCEEDED(VariantChangeType(&converted, &value, 0, element))) {
                void* data = element == VT_BSTR ? static_cast<void*>(V_BSTR(&converted)) : &V_I4(&converted);
                SafeArrayPutElement(array, &at, data);
            }
            VariantClear(&converted);
        }
        VariantClear(&value);
    }
    return array;
}

// One named generator per kind of argument, drawn in proportion to its weight.
struct ArgumentPool::Generator {
    const char* kind;
    unsigned weight;
    void (*make)(ArgumentPool& pool, FuzzRandom& random, VARIANT* arg);
};

const ArgumentPool::Generator ArgumentPool::kGenerators[] = {
    {"scalar", 4, [](ArgumentPool& pool, FuzzRandom& random, VARIANT* arg) { pool.Scalar(random, arg, false); }},
    {"text", 2,
     [](ArgumentPool&, FuzzRandom& random, VARIANT* arg) {
         V_VT(arg) = VT_BSTR;
         V_BSTR(arg) = SysAllocString(kTexts[random.Below(sizeof kTexts / sizeof kTexts[0])]);
     }},
    {"odd text", 2,
     [](ArgumentPool&, FuzzRandom& random, VARIANT* arg) {
         V_VT(arg) = VT_BSTR;
         V_BSTR(arg) = OddText(random);
     }},
    {"own object", 2,
     [](ArgumentPool& pool, FuzzRandom&, VARIANT* arg) {
         V_VT(arg) = VT_DISPATCH;
         V_DISPATCH(arg) = pool.own_;
         if (pool.own_) pool.own_->AddRef();
     }},
    {"foreign object", 2,
     [](ArgumentPool&, FuzzRandom& random, VARIANT* arg) {
         if (random.Chance(50)) {
             V_VT(arg) = VT_UNKNOWN;
             V_UNKNOWN(arg) = NewPlainUnknown();
         } else {
             V_VT(arg) = VT_DISPATCH;
             V_DISPATCH(arg) = random.Chance(80) ? NewFailingDispatch() : nullptr;
         }
     }},
    {"missing", 2,
     [](ArgumentPool&, FuzzRandom&, VARIANT* arg) {
         V_VT(arg) = VT_ERROR;
         V_ERROR(arg) = DISP_E_PARAMNOTFOUND;
     }},
    {"record", 2,
     [](ArgumentPool&, FuzzRandom& random, VARIANT* arg) {
         static BYTE recordData[16];
         V_VT(arg) = VT_RECORD;
         const bool described = random.Chance(70);
         V_RECORDINFO(arg) = described ? FailingRecordInfo() : nullptr;
         V_RECORD(arg) = described ? recordData : nullptr;
     }},
    {"bad type", 2,
     [](ArgumentPool&, FuzzRandom& random, VARIANT* arg) {
         V_VT(arg) = kBadTypes[random.Below(sizeof kBadTypes / sizeof kBadTypes[0])];
         V_I8(arg) = 0;  // no pointer in it that anybody could follow
         if (random.Chance(30)) V_VT(arg) |= VT_BYREF;
     }},
    {"array", 2,
     [](ArgumentPool& pool, FuzzRandom& random, VARIANT* arg) {
         SAFEARRAY* array = pool.Array(random);
         V_VT(arg) = static_cast<VARTYPE>(VT_ARRAY | (array ? 0 : VT_I4));
         if (array) {
             VARTYPE element = VT_EMPTY;
             SafeArrayGetVartype(array, &element);
             V_VT(arg) = static_cast<VARTYPE>(VT_ARRAY | element);
         }
         V_ARRAY(arg) = array;
     }},
    {"null array", 2,
     [](ArgumentPool&, FuzzRandom& random, VARIANT* arg) {
         V_VT(arg) = VT_ARRAY | (random.Chance(50) ? VT_BSTR : VT_VARIANT);
         V_ARRAY(arg) = nullptr;
     }},
    {"by-ref scalar", 2,
     [](ArgumentPool& pool, FuzzRandom& random, VARIANT* arg) {
         // A typed reference to a value the pool keeps.
         VARIANT* referent = pool.Referent();
         pool.Scalar(random, referent, /*withObjects=*/true);
         if (V_VT(referent) == VT_EMPTY || V_VT(referent) == VT_NULL) V_VT(referent) = VT_I4;
         V_VT(arg) = VT_BYREF | V_VT(referent);
         V_BYREF(arg) = V_VT(referent) == VT_DECIMAL ? static_cast<void*>(&V_DECIMAL(referent))
                                                    : static_cast<void*>(&V_I8(referent));
     }},
    {"by-ref null", 2,
     [](ArgumentPool&, FuzzRandom& random, VARIANT* arg) {
         const VARTYPE types[] = {VT_I4, VT_BSTR, VT_VARIANT, VT_BOOL, VT_DISPATCH, VT_ARRAY | VT_BSTR, VT_R8};
         V_VT(arg) = VT_BYREF | types[random.Below(7)];
         V_BYREF(arg) = nullptr;
     }},
    {"by-ref variant", 2,
     [](ArgumentPool& pool, FuzzRandom& random, VARIANT* arg) {
         VARIANT* referent = pool.Referent();
         pool.Scalar(random, referent, /*withObjects=*/true);
         V_VT(arg) = VT_BYREF | VT_VARIANT;
         V_VARIANTREF(arg) = referent;
     }},
    {"reference chain", 2,
     [](ArgumentPool& pool, FuzzRandom& random, VARIANT* arg) {
         // References to references: some end at a value, some at a null reference.
         const unsigned length = 1 + random.Below(12);
         VARIANT* end = pool.Referent();
         if (random.Chance(80)) {
             pool.Scalar(random, end, /*withObjects=*/false);
         } else {
             V_VT(end) = VT_BYREF | VT_I4;
             V_BYREF(end) = nullptr;
         }
         VARIANT* next = end;
         for (unsigned i = 1; i < length; ++i) {
             VARIANT* link = pool.Referent();
             V_VT(link) = VT_BYREF | VT_VARIANT;
             V_VARIANTREF(link) = next;
             next = link;
         }
         V_VT(arg) = VT_BYREF | VT_VARIANT;
         V_VARIANTREF(arg) = next;
     }},
    {"reference to itself", 1,
     [](ArgumentPool&, FuzzRandom&, VARIANT* arg) {
         V_VT(arg) = VT_BYREF | VT_VARIANT;
         V_VARIANTREF(arg) = arg;
     }},
    {"cycle of two references", 1,
     [](ArgumentPool& pool, FuzzRandom&, VARIANT* arg) {
         VARIANT* a = pool.Referent();
         VARIANT* b = pool.Referent();
         V_VT(a) = VT_BYREF | VT_VARIANT;
         V_VARIANTREF(a) = b;
         V_VT(b) = VT_BYREF | VT_VARIANT;
         V_VARIANTREF(b) = a;
         V_VT(arg) = VT_BYREF | VT_VARIANT;
         V_VARIANTREF(arg) = a;
     }},
    {"by-ref array", 2,
     [](ArgumentPool& pool, FuzzRandom& random, VARIANT* arg) {
         VARIANT* referent = pool.Referent();
         const VARTYPE elements[] = {VT_BSTR, VT_I4, VT_VARIANT};
         const VARTYPE element = elements[random.Below(3)];
         SAFEARRAYBOUND bound{random.Below(3), static_cast<LONG>(random.Below(3))};
         V_VT(referent) = VT_ARRAY | element;
         V_ARRAY(referent) = random.Chance(70) ? SafeArrayCreate(element, 1, &bound) : nullptr;
         V_VT(arg) = VT_BYREF | VT_ARRAY | element;
         V_ARRAYREF(arg) = &V_ARRAY(referent);
     }},
};

unsigned ArgumentPool::Make(FuzzRandom& random, VARIANT* arg) {
    VariantInit(arg);
    unsigned total = 0;
    for (const Generator& generator : kGenerators) total += generator.weight;
    unsigned draw = random.Below(total);
    unsigned kind = 0;
    while (draw >= kGenerators[kind].weight) draw -= kGenerators[kind++].weight;
    kGenerators[kind].make(*this, random, arg);
    return kind;
}

}  // namespace zolbex::testing
