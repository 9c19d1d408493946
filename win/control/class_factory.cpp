#include "win/control/class_factory.h"

#include <new>

#include "win/common/com_support.h"
#include "win/common/interface_table.h"
#include "win/control/control_module.h"
#include "win/control/quillon_control.h"

namespace quillon::win {

ClassFactory::ClassFactory(ControlModule& module) : module_(module) { module_.ObjectCreated(); }

ClassFactory::~ClassFactory() { module_.ObjectDestroyed(); }

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** object) {
  static const InterfaceEntry<ClassFactory> kInterfaces[] = {
      {&IID_IUnknown, &CastTo<ClassFactory, IClassFactory>},
      {&IID_IClassFactory, &CastTo<ClassFactory, IClassFactory>},
  };
  return QueryInterfaceByTable(this, kInterfaces, iid, object);
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) ClassFactory::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  // Holds the creation reference, so a failed QueryInterface frees the object.
  const ComPtr<QuillonControl> control(new (std::nothrow) QuillonControl(module_));
  if (!control) return E_OUTOFMEMORY;
  return control->QueryInterface(iid, object);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  module_.Lock(lock != FALSE);
  return S_OK;
}

}  // namespace quillon::win
