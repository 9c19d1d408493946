// Registration round trips, machine-wide and per user, through the library's
// own entry points, inside a private view of the registry.
#include <gtest/gtest.h>

#include <string>

#include "win/control/outlook_interfaces.h"
#include "win_test_support.h"

namespace quillon::win::testing {
namespace {

const std::wstring kClsidKey = std::wstring(L"Software\\Classes\\CLSID\\") + kClsidText;
const std::wstring kProgIdKey = std::wstring(L"Software\\Classes\\") + kProgId;

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryW(ControlLibraryPath().c_str());
    ASSERT_NE(library_, nullptr);
    reg_ = Entry<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer");
    unreg_ = Entry<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer");
    install_ = Entry<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>("DllInstall");
    ASSERT_TRUE(reg_ && unreg_ && install_);
  }
  void TearDown() override {
    if (library_) FreeLibrary(library_);
  }
  template <class Function>
  Function Entry(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
  }

  // Every key and value registration writes, read from one root.
  static void ExpectRegistered(HKEY root) {
    EXPECT_EQ(ReadText(root, kProgIdKey, nullptr), kFriendlyName);
    EXPECT_EQ(ReadText(root, kProgIdKey + L"\\CLSID", nullptr), kClsidText);
    EXPECT_EQ(ReadText(root, kClsidKey, nullptr), kFriendlyName);
    EXPECT_EQ(ReadText(root, kClsidKey + L"\\ProgID", nullptr), kProgId);
    EXPECT_EQ(_wcsicmp(ReadText(root, kClsidKey + L"\\InprocServer32", nullptr).c_str(),
                       ControlLibraryPath().c_str()),
              0);
    EXPECT_EQ(ReadText(root, kClsidKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    HKEY control = nullptr;
    EXPECT_EQ(RegOpenKeyExW(root, (kClsidKey + L"\\Control").c_str(), 0, KEY_READ, &control), ERROR_SUCCESS);
    if (control) RegCloseKey(control);
    const std::wstring misc = ReadText(root, kClsidKey + L"\\MiscStatus\\1", nullptr);
    EXPECT_TRUE(std::stoul(misc) & OLEMISC_SETCLIENTSITEFIRST) << misc;
    EXPECT_EQ(ReadText(root, kClsidKey + L"\\Version", nullptr), L"1.0");
  }

  HMODULE library_ = nullptr;
  HRESULT(STDAPICALLTYPE* reg_)() = nullptr;
  HRESULT(STDAPICALLTYPE* unreg_)() = nullptr;
  HRESULT(STDAPICALLTYPE* install_)(BOOL, LPCWSTR) = nullptr;
};

TEST_F(Registration, MachineWideRoundTripLeavesNothingAndRepeats) {
  RegistrySandbox sandbox(L"MachineWide");
  ASSERT_HRESULT_SUCCEEDED(reg_());
  ExpectRegistered(sandbox.Machine());
  EXPECT_FALSE(sandbox.UserKeyExists(kClsidKey));
  ASSERT_HRESULT_SUCCEEDED(reg_());  // registering twice is harmless
  ExpectRegistered(sandbox.Machine());

  ASSERT_HRESULT_SUCCEEDED(unreg_());
  EXPECT_FALSE(sandbox.MachineKeyExists(kClsidKey));
  EXPECT_FALSE(sandbox.MachineKeyExists(kProgIdKey));
  EXPECT_HRESULT_SUCCEEDED(unreg_());  // and so is unregistering twice
}

TEST_F(Registration, PerUserInstallWritesOnlyBelowTheUsersClasses) {
  RegistrySandbox sandbox(L"PerUser");
  for (const wchar_t* command : {L"user", L"USER"}) {
    ASSERT_HRESULT_SUCCEEDED(install_(TRUE, command)) << command;
    ExpectRegistered(sandbox.User());
    EXPECT_FALSE(sandbox.MachineKeyExists(kClsidKey));
    ASSERT_HRESULT_SUCCEEDED(install_(FALSE, command));
    EXPECT_FALSE(sandbox.UserKeyExists(kClsidKey));
    EXPECT_FALSE(sandbox.UserKeyExists(kProgIdKey));
    EXPECT_HRESULT_SUCCEEDED(install_(FALSE, command));
  }
}

TEST_F(Registration, InstallWithoutUserMeansMachineAndUnknownScopesAreRefused) {
  RegistrySandbox sandbox(L"InstallScopes");
  ASSERT_HRESULT_SUCCEEDED(install_(TRUE, nullptr));
  ExpectRegistered(sandbox.Machine());
  ASSERT_HRESULT_SUCCEEDED(install_(FALSE, L""));
  EXPECT_FALSE(sandbox.MachineKeyExists(kClsidKey));

  EXPECT_EQ(install_(TRUE, L"everyone"), E_INVALIDARG);
  EXPECT_FALSE(sandbox.MachineKeyExists(kClsidKey));
  EXPECT_FALSE(sandbox.UserKeyExists(kClsidKey));
}

TEST_F(Registration, UnregisterKeepsAProgIdNowOwnedByAnotherClass) {
  RegistrySandbox sandbox(L"ForeignProgId");
  ASSERT_HRESULT_SUCCEEDED(reg_());
  const wchar_t other[] = L"{00000000-1111-2222-3333-444444444444}";
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(sandbox.Machine(), (kProgIdKey + L"\\CLSID").c_str(), 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(other), sizeof(other));
  RegCloseKey(key);

  ASSERT_HRESULT_SUCCEEDED(unreg_());
  EXPECT_FALSE(sandbox.MachineKeyExists(kClsidKey));
  EXPECT_EQ(ReadText(sandbox.Machine(), kProgIdKey + L"\\CLSID", nullptr), other);
}

TEST_F(Registration, ClassObjectOnlyForThePageClass) {
  auto getClassObject =
      Entry<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
  auto canUnload = Entry<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow");
  ASSERT_TRUE(getClassObject && canUnload);
  void* factory = nullptr;
  EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(factory, nullptr);

  ASSERT_HRESULT_SUCCEEDED(getClassObject(kClsidQuillonPage, IID_IClassFactory, &factory));
  EXPECT_EQ(canUnload(), S_FALSE);  // a live factory keeps the library loaded
  auto* classFactory = static_cast<IClassFactory*>(factory);
  IUnknown* outer = reinterpret_cast<IUnknown*>(classFactory);
  void* object = nullptr;
  EXPECT_EQ(classFactory->CreateInstance(outer, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
  classFactory->Release();
  EXPECT_EQ(canUnload(), S_OK);
}

}  // namespace
}  // namespace quillon::win::testing
