// Registration round trips, machine-wide and per user, through the library's
// own entry points, inside a private view of the registry.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

#include "tests/support/checks.h"
#include "win/common/com_support.h"
#include "win/common/outlook_interfaces.h"
#include "win/common/win_handles.h"
#include "win_test_support.h"

namespace quillon::win::testing {
namespace {

const std::wstring kClsidKey = std::wstring(L"Software\\Classes\\CLSID\\") + kClsidText;
const std::wstring kProgIdKey = std::wstring(L"Software\\Classes\\") + kProgId;
using Entry = HRESULT(STDAPICALLTYPE*)();
using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
const std::wstring kSandboxKey = L"Software\\QuillonControlTests";

bool KeyExists(HKEY root, const std::wstring& path) {
  UniqueKey key;
  return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS && key.close() == ERROR_SUCCESS;
}

// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER of this process redirected to two
// scratch keys, so registration is checked without touching the real
// registration that other suites rely on.
class RegistrySandbox {
 public:
  RegistrySandbox() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSandboxKey.c_str());
    RegCreateKeyW(HKEY_CURRENT_USER, (kSandboxKey + L"\\Machine").c_str(), machine_.put());
    RegCreateKeyW(HKEY_CURRENT_USER, (kSandboxKey + L"\\User").c_str(), user_.put());
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_.get());
    RegOverridePredefKey(HKEY_CURRENT_USER, user_.get());
  }
  ~RegistrySandbox() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    machine_.reset();
    user_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, kSandboxKey.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kSandboxKey.c_str());
  }
  // Whether either part holds a trace of the class or its ProgID.
  bool Empty() const {
    for (HKEY root : {machine_.get(), user_.get()})
      for (const std::wstring& path : {kClsidKey, kProgIdKey})
        if (KeyExists(root, path)) return false;
    return true;
  }

  HKEY Machine() const { return machine_.get(); }
  HKEY User() const { return user_.get(); }

 private:
  UniqueKey machine_;
  UniqueKey user_;
};

// The REG_SZ value, or "<missing>".
std::wstring ReadText(HKEY root, const std::wstring& path, const wchar_t* name = nullptr) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

// Every key and value registration writes, read from one root.
::testing::AssertionResult Registered(HKEY root) {
  const std::wstring server = ReadText(root, kClsidKey + L"\\InprocServer32");
  const std::wstring misc = ReadText(root, kClsidKey + L"\\MiscStatus\\1");
  return quillon::testing::Checks()
      .Equal(ReadText(root, kProgIdKey), std::wstring(kFriendlyName), "ProgID")
      .Equal(ReadText(root, kProgIdKey + L"\\CLSID"), std::wstring(kClsidText), "ProgID\\CLSID")
      .Equal(ReadText(root, kClsidKey), std::wstring(kFriendlyName), "CLSID")
      .Equal(ReadText(root, kClsidKey + L"\\ProgID"), std::wstring(kProgId), "CLSID\\ProgID")
      .True(_wcsicmp(server.c_str(), ControlLibraryPath().c_str()) == 0, "InprocServer32 names the library")
      .Equal(ReadText(root, kClsidKey + L"\\InprocServer32", L"ThreadingModel"), std::wstring(L"Apartment"),
             "ThreadingModel")
      .True(KeyExists(root, kClsidKey + L"\\Control"), "Control key")
      .True(std::wcstoul(misc.c_str(), nullptr, 10) & OLEMISC_SETCLIENTSITEFIRST, "MiscStatus\\1 has SETCLIENTSITEFIRST")
      .Equal(ReadText(root, kClsidKey + L"\\Version"), std::wstring(L"1.0"), "Version");
}

TEST(Registration, RoundTripsWriteOneScopeAndLeaveNothingAndRepeat) {
  const auto reg = LibraryEntry<Entry>("DllRegisterServer");
  const auto unreg = LibraryEntry<Entry>("DllUnregisterServer");
  const auto install = LibraryEntry<Install>("DllInstall");
  ASSERT_TRUE(reg && unreg && install);
  using Step = std::function<HRESULT()>;
  // What registers, what unregisters, and whether that is per user.
  const std::tuple<const char*, Step, Step, bool> cases[] = {
      {"DllRegisterServer", reg, unreg, false},
      {"DllInstall user", [&] { return install(TRUE, L"user"); }, [&] { return install(FALSE, L"user"); }, true},
      {"DllInstall USER", [&] { return install(TRUE, L"USER"); }, [&] { return install(FALSE, L"USER"); }, true},
      {"DllInstall", [&] { return install(TRUE, nullptr); }, [&] { return install(FALSE, L""); }, false},
  };
  for (const auto& [name, add, remove, perUser] : cases) {
    SCOPED_TRACE(name);
    RegistrySandbox sandbox;
    ASSERT_HRESULT_SUCCEEDED(add());
    ASSERT_HRESULT_SUCCEEDED(add());  // registering twice is harmless
    EXPECT_TRUE(Registered(perUser ? sandbox.User() : sandbox.Machine()));
    EXPECT_FALSE(sandbox.Empty());
    EXPECT_FALSE(KeyExists(perUser ? sandbox.Machine() : sandbox.User(), kClsidKey));
    ASSERT_HRESULT_SUCCEEDED(remove());
    EXPECT_TRUE(sandbox.Empty());
    EXPECT_HRESULT_SUCCEEDED(remove());  // and so is unregistering twice
  }
  RegistrySandbox sandbox;
  EXPECT_EQ(install(TRUE, L"everyone"), E_INVALIDARG);
  EXPECT_TRUE(sandbox.Empty());
}

TEST(Registration, UnregisterKeepsAProgIdNowOwnedByAnotherClass) {
  RegistrySandbox sandbox;
  ASSERT_HRESULT_SUCCEEDED(LibraryEntry<Entry>("DllRegisterServer")());
  const wchar_t other[] = L"{00000000-1111-2222-3333-444444444444}";
  ASSERT_EQ(RegSetKeyValueW(sandbox.Machine(), (kProgIdKey + L"\\CLSID").c_str(), nullptr, REG_SZ, other, sizeof other),
            ERROR_SUCCESS);
  ASSERT_HRESULT_SUCCEEDED(LibraryEntry<Entry>("DllUnregisterServer")());
  EXPECT_FALSE(KeyExists(sandbox.Machine(), kClsidKey));
  EXPECT_EQ(ReadText(sandbox.Machine(), kProgIdKey + L"\\CLSID"), other);
}

}  // namespace
}  // namespace quillon::win::testing
