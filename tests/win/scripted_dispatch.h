// An automation object for tests: members by name, each answered by a
// function of the test's, with every call recorded (name, kind, arguments).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "win/common/com_support.h"

namespace quillon::win::testing {

struct RecordedCall {
  std::wstring name;
  WORD kind;
  std::vector<UniqueVariant> arguments;  // in written order; copies
  bool namedPut;                   // DISPID_PROPERTYPUT was the named argument
};

class ScriptedDispatch final : public IDispatch {
 public:
  using Member = std::function<HRESULT(VARIANT* result)>;

  ScriptedDispatch() = default;
  ScriptedDispatch(const ScriptedDispatch&) = delete;
  ScriptedDispatch& operator=(const ScriptedDispatch&) = delete;

  void Answer(const std::wstring& name, Member member) { members_[name] = std::move(member); }
  // A member that returns only `hr`.
  void AnswerResult(const std::wstring& name, HRESULT hr) {
    Answer(name, [hr](VARIANT*) { return hr; });
  }
  // A member returning another object (nullptr: Nothing), a text or a number.
  void AnswerObject(const std::wstring& name, IDispatch* object) {
    Answer(name, [object](VARIANT* result) {
      V_VT(result) = VT_DISPATCH;
      if ((V_DISPATCH(result) = object)) object->AddRef();
      return S_OK;
    });
  }
  void AnswerText(const std::wstring& name, const wchar_t* text) {
    Answer(name, [text](VARIANT* result) {
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(text);
      return S_OK;
    });
  }
  void AnswerNumber(const std::wstring& name, long number) {
    Answer(name, [number](VARIANT* result) {
      V_VT(result) = VT_I4;
      V_I4(result) = number;
      return S_OK;
    });
  }
  // Interfaces answered besides IUnknown and IDispatch.
  void AddInterface(const IID& iid) { extraInterfaces_.push_back(iid); }

  const std::vector<RecordedCall>& Calls() const { return calls_; }
  ULONG References() const { return references_; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    bool known = iid == IID_IUnknown || iid == IID_IDispatch;
    for (const IID& extra : extraInterfaces_) known = known || iid == extra;
    if (!known) return E_NOINTERFACE;
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }  // owned by the test
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count != 1 || !members_.count(names[0])) return DISP_E_UNKNOWNNAME;
    ids_.push_back(names[0]);
    ids[0] = static_cast<DISPID>(ids_.size());  // DISPID = index + 1
    return S_OK;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    if (id < 1 || static_cast<size_t>(id) > ids_.size()) return DISP_E_MEMBERNOTFOUND;
    RecordedCall& call = calls_.emplace_back(RecordedCall{ids_[id - 1], kind, {}, false});
    for (UINT i = params ? params->cArgs : 0; i > 0; --i) {  // stored last first
      VariantCopy(call.arguments.emplace_back().put(), &params->rgvarg[i - 1]);
    }
    call.namedPut = params && params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
    UniqueVariant scratch;
    return members_[call.name](result ? result : scratch.put());
  }

 private:
  std::map<std::wstring, Member> members_;
  std::vector<std::wstring> ids_;
  std::vector<RecordedCall> calls_;
  std::vector<IID> extraInterfaces_;
  ULONG references_ = 1;
};

}  // namespace quillon::win::testing
