// The library's entry points. The one ControlModule lives from the library's
// load to its unload and is shared by every page it creates.
#include <windows.h>
#include <olectl.h>

#include <new>

#include "win/control/class_factory.h"
#include "win/control/dll_entry_points.h"
#include "win/control/control_module.h"
#include "win/common/com_support.h"
#include "win/common/outlook_interfaces.h"
#include "win/control/registration.h"

namespace {

quillon::win::ControlModule* g_module = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      DisableThreadLibraryCalls(instance);
      g_module = new (std::nothrow) quillon::win::ControlModule(instance);
      return g_module != nullptr;
    case DLL_PROCESS_DETACH:
      // At process exit (reserved set) the Outlook objects the module state may
      // still hold must not be released: their process is going away.
      if (!reserved) delete g_module;
      g_module = nullptr;
      break;
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != quillon::win::kClsidQuillonPage) return CLASS_E_CLASSNOTAVAILABLE;
  if (!g_module) return E_UNEXPECTED;
  const quillon::win::ComPtr<quillon::win::ClassFactory> factory(new (std::nothrow)
                                                                     quillon::win::ClassFactory(*g_module));
  if (!factory) return E_OUTOFMEMORY;
  return factory->QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return g_module && !g_module->CanUnload() ? S_FALSE : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  if (!g_module) return E_UNEXPECTED;
  return quillon::win::RegisterControl(g_module->Instance(), quillon::win::RegistrationScope::Machine);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return quillon::win::UnregisterControl(quillon::win::RegistrationScope::Machine);
}

extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
  if (!g_module) return E_UNEXPECTED;
  return quillon::win::InstallControl(g_module->Instance(), install != FALSE, commandLine);
}
