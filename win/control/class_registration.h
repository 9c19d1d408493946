// Every key and value that registers the page control below Software\Classes,
// in the order they are written. The one list behind both regsvr32 (the DLL's
// self-registration) and the installer packages' registry rows. No OS header,
// so the packaging tool builds it natively.
#pragma once

#include <string>
#include <vector>

namespace quillon::win {

// OLEMISC_SETCLIENTSITEFIRST | ACTIVATEWHENVISIBLE | INSIDEOUT | CANTLINKINSIDE |
// RECOMPOSEONRESIZE; registration.h checks it against the flags.
inline constexpr unsigned long kClassMiscStatus = 131473;

struct ClassRegistryEntry {
  std::wstring key;   // below Software\Classes
  std::wstring name;  // empty: the key's default value
  std::wstring text;  // REG_SZ
  bool hasValue = true;  // false: the key alone, with no value
};

// `modulePath` is the DLL's path as it should be registered.
std::vector<ClassRegistryEntry> ClassRegistryEntries(const std::wstring& modulePath,
                                                      int versionMajor, int versionMinor);

}  // namespace quillon::win
