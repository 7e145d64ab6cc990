// clsZolbex11A: a creatable class without members.
#include "library/class_table.h"
#include "library/dispatch_object.h"
#include "zolbex11_interfaces.h"

namespace zolbex {
namespace {
class EmptyObject final : public DispatchObject<_clsZolbex11A> {};
}  // namespace

ComPtr<IDispatch> NewEmptyObject() { return ComPtr<IDispatch>(MakeObject<EmptyObject>().Get()); }

}  // namespace zolbex
