#include "system/ComLibrary.h"

#include <string>
#include <utility>

#include "system/KnownFolders.h"

namespace ComLibrary {

namespace {

// The functions, found once at the first call; null where they could not be had.
struct Functions {
    decltype(&::CoInitializeEx) coInitializeEx = nullptr;
    decltype(&::CoUninitialize) coUninitialize = nullptr;
    decltype(&::CoCreateInstance) coCreateInstance = nullptr;
    decltype(&::CoSetProxyBlanket) coSetProxyBlanket = nullptr;
    decltype(&::CoInitializeSecurity) coInitializeSecurity = nullptr;
    decltype(&::SysAllocString) sysAllocString = nullptr;
    decltype(&::SysFreeString) sysFreeString = nullptr;
    decltype(&::VariantClear) variantClear = nullptr;
    decltype(&::SafeArrayGetDim) safeArrayGetDim = nullptr;
    decltype(&::SafeArrayGetLBound) safeArrayGetLBound = nullptr;
    decltype(&::SafeArrayGetUBound) safeArrayGetUBound = nullptr;
    decltype(&::SafeArrayAccessData) safeArrayAccessData = nullptr;
    decltype(&::SafeArrayUnaccessData) safeArrayUnaccessData = nullptr;
};

Functions Table;
bool Looked = false;
bool SecurityOurs = false;  // the process's COM security is the one SecureCalls set
HMODULE Ole32 = nullptr, OleAut32 = nullptr;

// From the system folder by its full path: the program runs with administrator rights.
HMODULE SystemLibrary(const char* name) {
    const std::string folder = KnownFolders::SystemFolder();
    return folder.empty() ? nullptr : LoadLibraryA((folder + "\\" + name).c_str());
}

template <typename Fn>
void Find(HMODULE library, const char* name, Fn& function) {
    function = library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

const Functions& Get() {
    if (Looked)
        return Table;
    Looked = true;
    const HMODULE ole32 = Ole32 = SystemLibrary("ole32.dll"), oleaut32 = OleAut32 = SystemLibrary("oleaut32.dll");
    Find(ole32, "CoInitializeEx", Table.coInitializeEx);
    Find(ole32, "CoUninitialize", Table.coUninitialize);
    Find(ole32, "CoCreateInstance", Table.coCreateInstance);
    Find(ole32, "CoSetProxyBlanket", Table.coSetProxyBlanket);
    Find(ole32, "CoInitializeSecurity", Table.coInitializeSecurity);
    Find(oleaut32, "SysAllocString", Table.sysAllocString);
    Find(oleaut32, "SysFreeString", Table.sysFreeString);
    Find(oleaut32, "VariantClear", Table.variantClear);
    Find(oleaut32, "SafeArrayGetDim", Table.safeArrayGetDim);
    Find(oleaut32, "SafeArrayGetLBound", Table.safeArrayGetLBound);
    Find(oleaut32, "SafeArrayGetUBound", Table.safeArrayGetUBound);
    Find(oleaut32, "SafeArrayAccessData", Table.safeArrayAccessData);
    Find(oleaut32, "SafeArrayUnaccessData", Table.safeArrayUnaccessData);
    return Table;
}

}  // namespace

void Unload() {
    for (HMODULE* library : {&Ole32, &OleAut32})
        if (*library)
            FreeLibrary(std::exchange(*library, nullptr));
    Table = Functions{};
    Looked = false;
    // COM keeps its security while its library stays in the process.
    if (!GetModuleHandleA("ole32.dll"))
        SecurityOurs = false;
}

bool SecureCalls() {
    const auto fn = Get().coInitializeSecurity;
    const HRESULT result = fn ? fn(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IDENTIFY,
                                   nullptr, EOAC_NO_CUSTOM_MARSHAL, nullptr)
                              : E_FAIL;
    if (result == S_OK)
        SecurityOurs = true;
    return result == S_OK || (result == RPC_E_TOO_LATE && SecurityOurs);
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD flags) {
    const auto fn = Get().coInitializeEx;
    return fn ? fn(reserved, flags) : E_FAIL;
}

void CoUninitialize() {
    if (const auto fn = Get().coUninitialize)
        fn();
}

HRESULT CoCreateInstance(REFCLSID type, LPUNKNOWN outer, DWORD context, REFIID wanted, LPVOID* object) {
    const auto fn = Get().coCreateInstance;
    if (!fn) {
        *object = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
    return fn(type, outer, context, wanted, object);
}

HRESULT CoSetProxyBlanket(IUnknown* proxy, DWORD authentication, DWORD authorisation, OLECHAR* principal,
                          DWORD level, DWORD impersonation, RPC_AUTH_IDENTITY_HANDLE identity, DWORD capabilities) {
    const auto fn = Get().coSetProxyBlanket;
    return fn ? fn(proxy, authentication, authorisation, principal, level, impersonation, identity, capabilities)
              : E_FAIL;
}

BSTR SysAllocString(const OLECHAR* text) {
    const auto fn = Get().sysAllocString;
    return fn ? fn(text) : nullptr;
}

void SysFreeString(BSTR text) {
    if (const auto fn = Get().sysFreeString)
        fn(text);
}

HRESULT VariantClear(VARIANTARG* value) {
    const auto fn = Get().variantClear;
    return fn ? fn(value) : E_FAIL;
}

UINT SafeArrayGetDim(SAFEARRAY* array) {
    const auto fn = Get().safeArrayGetDim;
    return fn ? fn(array) : 0;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dimension, LONG* bound) {
    const auto fn = Get().safeArrayGetLBound;
    return fn ? fn(array, dimension, bound) : E_FAIL;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dimension, LONG* bound) {
    const auto fn = Get().safeArrayGetUBound;
    return fn ? fn(array, dimension, bound) : E_FAIL;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    const auto fn = Get().safeArrayAccessData;
    return fn ? fn(array, data) : E_FAIL;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
    const auto fn = Get().safeArrayUnaccessData;
    return fn ? fn(array) : E_FAIL;
}

}  // namespace ComLibrary
