// The member table of one interface: built once from the type library's descriptions, then
// answering names and choosing the member a call means.
#include "library/dispatcher.h"

#include <cstring>
#include <map>
#include <mutex>

#include "library/bstr.h"
#include "library/errors.h"
#include "library/fold_case.h"
#include "library/typelib.h"
#include "library/variant_references.h"

namespace zolbex {
namespace {

bool IsObject(const VARIANT* arg) {
    const VARIANT* value = EndOfReferences(arg);
    if (!value) return false;
    VARTYPE type = V_VT(value) & ~VT_BYREF;
    return type == VT_DISPATCH || type == VT_UNKNOWN;
}

}  // namespace

namespace {

ComPtr<ITypeInfo> OwnTypeInfo(REFIID iid) {
    ComPtr<ITypeInfo> info;
    HRESULT hr = OwnTypeLib()->GetTypeInfoOfGuid(iid, info.Put());
    if (FAILED(hr)) throw ErrorOfFailedCall(hr, Error::UnknownInterface);
    return info;
}

}  // namespace

DispatchTable::DispatchTable(REFIID iid) : DispatchTable(OwnTypeInfo(iid).Get()) {}

DispatchTable::DispatchTable(ITypeInfo* described) {
    ComPtr<ITypeInfo> info(described);

    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    const TYPEKIND kind = attr->typekind;
    info->ReleaseTypeAttr(attr);

    // A dual interface has two halves: the dispatch description and the vtable description.
    ComPtr<ITypeInfo> other;
    HREFTYPE ref = 0;
    if (SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)))
        info->GetRefTypeInfo(ref, other.Put());
    if (kind == TKIND_DISPATCH) {
        dispatchInfo_ = info;
        vtableInfo_ = other ? other : info;
    } else {
        vtableInfo_ = info;
        dispatchInfo_ = other ? other : info;
    }

    vtableInfo_->GetTypeAttr(&attr);
    const UINT functions = attr->cFuncs;
    vtableInfo_->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* func = nullptr;
        if (FAILED(vtableInfo_->GetFuncDesc(i, &func))) continue;
        auto member = std::make_unique<MemberInfo>(DescribeMember(vtableInfo_.Get(), *func));
        vtableInfo_->ReleaseFuncDesc(func);
        Bstr name;
        if (SUCCEEDED(vtableInfo_->GetDocumentation(member->id, name.Put(), nullptr, nullptr, nullptr)))
            idByFoldedName_.emplace(FoldCase(name.View()), member->id);
        byId_[member->id].push_back(member.get());
        members_.push_back(std::move(member));
    }
}

DispatchTable::~DispatchTable() = default;

namespace {

using TableMap = std::map<GUID, std::unique_ptr<DispatchTable>, bool (*)(const GUID&, const GUID&)>;

std::mutex g_tablesLock;
// Never destroyed, like the type library the tables hold pointers into (typelib.cpp).
TableMap& Tables() {
    static TableMap* tables =
        new TableMap([](const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) < 0; });
    return *tables;
}

}  // namespace

const DispatchTable& DispatchTable::For(REFIID iid) {
    std::lock_guard<std::mutex> guard(g_tablesLock);
    auto& table = Tables()[iid];
    if (!table) table = std::make_unique<DispatchTable>(iid);
    return *table;
}

void DispatchTable::ReleaseAll() {
    {
        std::lock_guard<std::mutex> guard(g_tablesLock);
        Tables().clear();
    }
    ReleaseOwnTypeLib();
}

HRESULT DispatchTable::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
    if (count == 0) return S_OK;
    if (!names || !ids) return E_INVALIDARG;
    // A missing name is no name of ours; the type information is never handed one.
    for (UINT i = 0; i < count; ++i) {
        if (!names[i]) {
            for (UINT j = 0; j < count; ++j) ids[j] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
    }
    // A member name alone is answered from our own table; names of parameters need the
    // type information.
    if (count == 1) {
        auto found = idByFoldedName_.find(FoldCase(names[0]));
        if (found != idByFoldedName_.end()) {
            ids[0] = found->second;
            return S_OK;
        }
    }
    return dispatchInfo_->GetIDsOfNames(names, count, ids);
}

const MemberInfo* DispatchTable::Select(DISPID id, WORD flags, const DISPPARAMS& params) const {
    auto found = byId_.find(id);
    if (found == byId_.end()) return nullptr;
    auto find = [&](INVOKEKIND kind) -> const MemberInfo* {
        for (const MemberInfo* member : found->second)
            if (member->kind == kind) return member;
        return nullptr;
    };
    const MemberInfo* member = nullptr;
    if (flags & DISPATCH_PROPERTYPUTREF) member = find(INVOKE_PROPERTYPUTREF);
    if (!member && (flags & DISPATCH_PROPERTYPUT)) {
        member = find(INVOKE_PROPERTYPUT);
        // A let of an object to a property that only has a set: treat it as the set.
        if (!member && params.cArgs > 0 && IsObject(&params.rgvarg[0]))
            member = find(INVOKE_PROPERTYPUTREF);
    }
    if (!member && (flags & DISPATCH_METHOD)) member = find(INVOKE_FUNC);
    if (!member && (flags & DISPATCH_PROPERTYGET)) member = find(INVOKE_PROPERTYGET);
    return member;
}

}  // namespace zolbex
