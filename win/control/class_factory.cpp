#include "win/control/class_factory.h"

#include <new>

#include "win/control/control_module.h"
#include "win/control/quillon_control.h"

namespace quillon::win {

ClassFactory::ClassFactory(ControlModule& module) : module_(module) { module_.ObjectCreated(); }

ClassFactory::~ClassFactory() { module_.ObjectDestroyed(); }

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
  *object = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
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
  auto* control = new (std::nothrow) QuillonControl(module_);
  if (!control) return E_OUTOFMEMORY;
  const HRESULT hr = control->QueryInterface(iid, object);
  control->Release();  // the creation reference; QueryInterface took its own
  return hr;
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  module_.Lock(lock != FALSE);
  return S_OK;
}

}  // namespace quillon::win
