// The class factory of QuillonPage.
#pragma once

#include <unknwn.h>

namespace quillon::win {

class ControlModule;

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(ControlModule& module);
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ~ClassFactory();
  ControlModule& module_;
  LONG references_ = 1;
};

}  // namespace quillon::win
