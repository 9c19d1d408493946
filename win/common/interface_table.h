// QueryInterface from a table: one row {IID, cast} per interface an object
// answers, so adding an interface is adding a row.
#pragma once

#include <unknwn.h>

#include <cstddef>

namespace quillon::win {

template <class Object>
struct InterfaceEntry {
  const IID* iid;
  IUnknown* (*cast)(Object*);
};

// The cast of one row: the object's base for that interface.
template <class Object, class Interface>
IUnknown* CastTo(Object* object) {
  return static_cast<Interface*>(object);
}

template <class Object, std::size_t N>
HRESULT QueryInterfaceByTable(Object* object, const InterfaceEntry<Object> (&table)[N], REFIID iid,
                              void** result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  for (const InterfaceEntry<Object>& entry : table) {
    if (*entry.iid != iid) continue;
    IUnknown* answer = entry.cast(object);
    answer->AddRef();
    *result = answer;
    return S_OK;
  }
  return E_NOINTERFACE;
}

}  // namespace quillon::win
