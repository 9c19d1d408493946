// An automation object for tests: members by name, each answered by a
// function of the test's, with every call recorded (name, kind, arguments).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quillon::win::testing {

struct RecordedCall {
  std::wstring name;
  WORD kind;
  std::vector<VARIANT> arguments;  // in written order; copies, cleared by the recorder
  bool namedPut;                   // DISPID_PROPERTYPUT was the named argument
};

class ScriptedDispatch final : public IDispatch {
 public:
  using Member = std::function<HRESULT(const RecordedCall& call, VARIANT* result)>;

  ScriptedDispatch() = default;
  ScriptedDispatch(const ScriptedDispatch&) = delete;
  ScriptedDispatch& operator=(const ScriptedDispatch&) = delete;
  ~ScriptedDispatch();

  void Answer(const std::wstring& name, Member member) { members_[name] = std::move(member); }
  // A member returning another object (nullptr: Nothing).
  void AnswerObject(const std::wstring& name, IDispatch* object);
  void AnswerText(const std::wstring& name, const wchar_t* text);
  void AnswerNumber(const std::wstring& name, long number);
  void AnswerOk(const std::wstring& name);
  // Interfaces answered besides IUnknown and IDispatch.
  void AddInterface(const IID& iid) { extraInterfaces_.push_back(iid); }

  const std::vector<RecordedCall>& Calls() const { return calls_; }
  ULONG References() const { return references_; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }  // owned by the test
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override;

 private:
  std::map<std::wstring, Member> members_;
  std::vector<std::wstring> ids_;  // DISPID = index + 1
  std::vector<RecordedCall> calls_;
  std::vector<IID> extraInterfaces_;
  ULONG references_ = 1;
};

}  // namespace quillon::win::testing
