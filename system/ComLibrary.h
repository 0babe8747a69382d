#pragma once
// COM's functions, from ole32.dll and oleaut32.dll loaded at the first call rather than
// with the program, and unloaded again when the program has left COM: loaded, they and
// what they bring cost it some megabytes of memory, and it needs them only now and then
// (the autostart, and the machine's identity on XP). Each fails as its library would
// when the library cannot be loaded.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

namespace ComLibrary {

// Frees the libraries: only once the thread has left the apartment it entered, and no
// COM object or string of theirs is left. The next call loads them again.
void Unload();

// COM's security for the process, once per loading of its library, right after the
// thread entered COM: calls out of the program with an identify-level token (the
// object cannot act as the program) and no custom marshalling of what comes back (no
// code of the other process's choosing runs here). True when it is in force, set now
// or by an earlier call of the program's; false when anything else set it first.
bool SecureCalls();

HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID type, LPUNKNOWN outer, DWORD context, REFIID wanted, LPVOID* object);
HRESULT CoSetProxyBlanket(IUnknown* proxy, DWORD authentication, DWORD authorisation, OLECHAR* principal,
                          DWORD level, DWORD impersonation, RPC_AUTH_IDENTITY_HANDLE identity, DWORD capabilities);
BSTR SysAllocString(const OLECHAR* text);
void SysFreeString(BSTR text);
HRESULT VariantClear(VARIANTARG* value);
UINT SafeArrayGetDim(SAFEARRAY* array);
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dimension, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dimension, LONG* bound);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);

}  // namespace ComLibrary
