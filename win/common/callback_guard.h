// Every procedure Windows calls back (window and dialog procedures,
// enumeration callbacks, hooks) enters through GuardedCallback: an exception
// must not unwind into user32, which in the x86 build (DWARF unwinding)
// terminates the host at once. The message gets its default result instead
// and the window keeps working, as a COM method returns an error.
#pragma once

namespace quillon::win {

// Runs `body`; if it throws, returns what `fallback` gives (the message's
// default result). A fallback that throws itself yields a zero result.
template <class Result, class Body, class Fallback>
Result GuardedCallback(Body&& body, Fallback&& fallback) noexcept {
  try {
    return body();
  } catch (...) {
  }
  try {
    return fallback();
  } catch (...) {
    return Result{};
  }
}

}  // namespace quillon::win
