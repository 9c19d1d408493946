// Every COM method whose body may throw runs inside Guarded: no exception may
// cross a COM boundary, so one becomes the HRESULT a caller can act on.
#pragma once

#include <windows.h>

#include <new>

namespace quillon::win {

template <class Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace quillon::win
