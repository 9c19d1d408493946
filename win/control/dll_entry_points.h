// The library's exported entry points, declared once: Quillon.def exports them
// by these undecorated names, and their definitions take this convention.
#pragma once

#include <windows.h>

extern "C" {
HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT STDAPICALLTYPE DllCanUnloadNow();
HRESULT STDAPICALLTYPE DllRegisterServer();
HRESULT STDAPICALLTYPE DllUnregisterServer();
HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine);
}
