// The ZOLBEX11 tour from C++, bound early: CoCreateInstance with the CLSIDs and IIDs of
// zolbex11_interfaces.h, then calls through the interfaces' vtables. Needs only that header and
// the Windows SDK (or MinGW-w64), no C++ library; link with ole32, oleaut32 and uuid:
//   cl /EHsc /std:c++17 /I<folder of zolbex11_interfaces.h> tour.cpp ole32.lib oleaut32.lib uuid.lib
//   x86_64-w64-mingw32-g++ -std=c++17 -I<folder of zolbex11_interfaces.h> tour.cpp -lole32 -loleaut32 -luuid
// The DLL must be registered (see INSTALL.md). Prints "End of the tour." when it ran to its end.
#include <windows.h>
#include <oleauto.h>

#include <stdio.h>

#include "zolbex11_interfaces.h"

namespace {

// ---- three small owners, so that nothing leaks on any path ----------------------------------

// An interface pointer, released when it goes.
template <class T>
class Ref {
public:
    Ref() = default;
    ~Ref() { Reset(); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    T** Put() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// A BSTR, freed when it goes.
class Text {
public:
    Text() = default;
    explicit Text(const wchar_t* s) : b_(SysAllocString(s)) {}
    ~Text() { SysFreeString(b_); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    BSTR Get() const { return b_; }
    BSTR* Put() {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    const wchar_t* Str() const { return b_ ? b_ : L""; }

private:
    BSTR b_ = nullptr;
};

// A VARIANT, cleared when it goes.
class Value {
public:
    Value() { VariantInit(&v_); }
    ~Value() { VariantClear(&v_); }
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;
    VARIANT* Get() { return &v_; }
    VARIANT* Put() {
        VariantClear(&v_);
        return &v_;
    }

private:
    VARIANT v_;
};

// ---- errors ---------------------------------------------------------------------------------

// A failed call: what was called, the HRESULT and the automation error the library left
// (source and text, cut to the buffers' length).
struct Failure {
    const char* what;
    HRESULT hr;
    wchar_t source[128];
    wchar_t description[512];
};

Failure LastError(const char* what, HRESULT hr, const wchar_t* description = L"") {
    Failure f{what, hr, L"", L""};
    lstrcpynW(f.description, description, ARRAYSIZE(f.description));
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
        Text source, text;
        info->GetSource(source.Put());
        info->GetDescription(text.Put());
        lstrcpynW(f.source, source.Str(), ARRAYSIZE(f.source));
        lstrcpynW(f.description, text.Str(), ARRAYSIZE(f.description));
        info->Release();
    }
    return f;
}

// The number a VBScript client would read from Err.Number.
long ErrNumber(HRESULT hr) {
    return HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<long>(hr);
}

void Check(HRESULT hr, const char* what) {
    if (SUCCEEDED(hr)) return;
    throw LastError(what, hr);
}

// ---- the tour -------------------------------------------------------------------------------

constexpr LONG kCurrentUser = static_cast<LONG>(0x80000001UL);  // HKEY_CURRENT_USER
constexpr LONG kRegSz = 1, kRegBinary = 3, kRegDword = 4;

void ProcessEnvironment() {
    printf("== The process environment (clsZolbexENVProcessA)\n");
    Ref<_clsZolbexENVProcessA> process;
    Check(CoCreateInstance(CLSID_clsZolbexENVProcessA, nullptr, CLSCTX_INPROC_SERVER, IID__clsZolbexENVProcessA,
                           reinterpret_cast<void**>(process.Put())),
          "creating clsZolbexENVProcessA");
    Text name(L"TOUR_GREETING"), greeting(L"Hello from C++");
    Check(process->put_Environment(name.Get(), greeting.Get()), "Environment let");
    Text read;
    Check(process->get_Environment(name.Get(), read.Put()), "Environment get");
    printf("TOUR_GREETING = %ls\n", read.Get());

    Ref<_clsZolbexENVValuePairsA> list;
    Check(process->get_List(list.Put()), "List");
    LONG count = 0;
    Check(list->get_Count(&count), "Count");
    printf("Variables in this process: %ld\n", static_cast<long>(count));

    // Item takes its index as a VARIANT by reference: a number is a position, a text a name.
    Value index;
    V_VT(index.Get()) = VT_BSTR;
    V_BSTR(index.Get()) = SysAllocString(L"tour_greeting");
    Ref<_clsZolbexENVValuePairA> pair;
    Check(list->Item(index.Get(), pair.Put()), "Item by name");
    Text value;
    Check(pair->get_Value(value.Put()), "pair Value");
    printf("By name, in any case: tour_greeting = %ls\n", value.Get());

    // NewEnum hands out the enumerator that For Each uses.
    Ref<IUnknown> unknown;
    Check(list->NewEnum(unknown.Put()), "NewEnum");
    Ref<IEnumVARIANT> items;
    Check(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.Put())), "IEnumVARIANT");
    printf("The first three:\n");
    Value item;
    for (int shown = 0; shown < 3 && items->Next(1, item.Put(), nullptr) == S_OK; ++shown) {
        Ref<_clsZolbexENVValuePairA> each;
        Check(V_DISPATCH(item.Get())->QueryInterface(IID__clsZolbexENVValuePairA, reinterpret_cast<void**>(each.Put())),
              "pair interface");
        Text variable;
        Check(each->get_Variable(variable.Put()), "pair Variable");
        printf("  %ls\n", variable.Get());
    }
}

void Registry() {
    printf("== The registry object (clsZolbexENVRegistryA)\n");
    Ref<_clsZolbexENVRegistryA> reg;
    Check(CoCreateInstance(CLSID_clsZolbexENVRegistryA, nullptr, CLSCTX_INPROC_SERVER, IID__clsZolbexENVRegistryA,
                           reinterpret_cast<void**>(reg.Put())),
          "creating clsZolbexENVRegistryA");
    Text section(L"Software\\ZOLBEX11 Tour C++");
    Check(reg->put_ClassKey(kCurrentUser), "ClassKey");
    Check(reg->put_SectionKey(section.Get()), "SectionKey");
    VARIANT_BOOL done = VARIANT_FALSE;
    Check(reg->CreateKey(&done), "CreateKey");
    printf("Key created: %s\n", done == VARIANT_TRUE ? "yes" : "no");

    // A text, a number and three bytes, each written by ValueType and read back.
    Text greetingName(L"Greeting"), answerName(L"Answer"), bytesName(L"Bytes");
    Value text;
    V_VT(text.Get()) = VT_BSTR;
    V_BSTR(text.Get()) = SysAllocString(L"Hello");
    Check(reg->put_ValueType(kRegSz), "ValueType");
    Check(reg->put_ValueKey(greetingName.Get()), "ValueKey");
    Check(reg->put_Value(*text.Get()), "Value let (text)");

    Value number;
    V_VT(number.Get()) = VT_I4;
    V_I4(number.Get()) = 42;
    Check(reg->put_ValueType(kRegDword), "ValueType");
    Check(reg->put_ValueKey(answerName.Get()), "ValueKey");
    Check(reg->put_Value(*number.Get()), "Value let (number)");

    Value bytes;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, 3);
    if (!array) throw LastError("SafeArrayCreateVector", E_OUTOFMEMORY);
    V_VT(bytes.Get()) = VT_ARRAY | VT_UI1;
    V_ARRAY(bytes.Get()) = array;  // owned by `bytes` from here on
    unsigned char* data = nullptr;
    Check(SafeArrayAccessData(array, reinterpret_cast<void**>(&data)), "SafeArrayAccessData");
    data[0] = 0x5A, data[1] = 0x4F, data[2] = 0x4C;
    SafeArrayUnaccessData(array);
    Check(reg->put_ValueType(kRegBinary), "ValueType");
    Check(reg->put_ValueKey(bytesName.Get()), "ValueKey");
    Check(reg->put_Value(*bytes.Get()), "Value let (bytes)");

    Value read;
    Check(reg->put_ValueKey(greetingName.Get()), "ValueKey");
    Check(reg->get_Value(read.Put()), "Value get");
    printf("Greeting = %ls\n", V_BSTR(read.Get()));
    Check(reg->put_ValueKey(answerName.Get()), "ValueKey");
    Check(reg->get_Value(read.Put()), "Value get");
    printf("Answer = %ld\n", static_cast<long>(V_I4(read.Get())));
    Check(reg->put_ValueKey(bytesName.Get()), "ValueKey");
    Check(reg->get_Value(read.Put()), "Value get");
    if (V_VT(read.Get()) != (VT_ARRAY | VT_UI1)) throw LastError("Bytes read back", E_FAIL, L"not a byte array");
    LONG upper = -1;
    SafeArrayGetUBound(V_ARRAY(read.Get()), 1, &upper);
    Check(SafeArrayAccessData(V_ARRAY(read.Get()), reinterpret_cast<void**>(&data)), "SafeArrayAccessData");
    printf("Bytes = %ld bytes:", static_cast<long>(upper + 1));
    for (LONG i = 0; i <= upper; ++i) printf(" %02X", data[i]);
    printf("\n");
    SafeArrayUnaccessData(V_ARRAY(read.Get()));

    // The names come back in a new array (bounds 1 to the count), which the caller destroys.
    SAFEARRAY* names = nullptr;
    LONG nameCount = 0;
    Check(reg->EnumerateValues(&names, &nameCount, &done), "EnumerateValues");
    printf("Values:");
    for (LONG i = 1; i <= nameCount; ++i) {
        Text name;
        Check(SafeArrayGetElement(names, &i, name.Put()), "SafeArrayGetElement");
        printf(" %ls", name.Get());
    }
    printf("\n");
    if (names) SafeArrayDestroy(names);

    // Errors arrive as the call's HRESULT plus an error object: here, deleting a missing value.
    Text missing(L"NoSuchValue");
    Check(reg->put_ValueKey(missing.Get()), "ValueKey");
    const HRESULT hr = reg->DeleteValue(&done);
    const Failure failure = LastError("DeleteValue", hr);
    printf("Deleting a missing value: error %ld from %ls: %ls\n", ErrNumber(hr), failure.source, failure.description);

    const Text* const written[] = {&greetingName, &answerName, &bytesName};
    for (const Text* name : written) {
        Check(reg->put_ValueKey(name->Get()), "ValueKey");
        Check(reg->DeleteValue(&done), "DeleteValue");
    }
    Check(reg->DeleteKey(&done), "DeleteKey");
    VARIANT_BOOL exists = VARIANT_TRUE;
    Check(reg->get_KeyExists(&exists), "KeyExists");
    printf("Key still there after DeleteKey: %s\n", exists == VARIANT_TRUE ? "yes" : "no");
}

void RunTime() {
    printf("== The global object (clsZolbex11RunTimeA)\n");
    Ref<_clsZolbex11RunTimeA> rt;
    Check(CoCreateInstance(CLSID_clsZolbex11RunTimeA, nullptr, CLSCTX_INPROC_SERVER, IID__clsZolbex11RunTimeA,
                           reinterpret_cast<void**>(rt.Put())),
          "creating clsZolbex11RunTimeA");
    // Every parameter of EnvironGet is by reference, even those a script may leave out.
    LONG style = zolbexEnvironmentProcess;
    Text name(L"TOUR_GREETING");
    BSTR nameArgument = name.Get();
    VARIANT_BOOL fullValue = VARIANT_FALSE;
    Text value;
    Check(rt->EnvironGet(&style, &nameArgument, &fullValue, value.Put()), "EnvironGet");
    printf("EnvironGet(0, TOUR_GREETING) = %ls\n", value.Get());
    Check(rt->put_ExpandEnvVar(VARIANT_TRUE), "ExpandEnvVar let");
    VARIANT_BOOL expand = VARIANT_FALSE;
    Check(rt->get_ExpandEnvVar(&expand), "ExpandEnvVar get");
    printf("ExpandEnvVar = %s\n", expand == VARIANT_TRUE ? "True" : "False");
}

}  // namespace

int main() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int status = 0;
    try {
        ProcessEnvironment();
        Registry();
        RunTime();
        printf("End of the tour.\n");
    } catch (const Failure& e) {
        printf("FAIL: %s: HRESULT 0x%08lX, %ls %ls\n", e.what, static_cast<unsigned long>(e.hr), e.source,
               e.description);
        status = 1;
    }
    CoUninitialize();
    return status;
}
