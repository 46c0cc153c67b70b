// The module's entry points: the loader's DllMain and the two COM exports.
#include "common/com_ptr.h"
#include "common/oem_interfaces.h"
#include "server/class_factory.h"
#include "server/server_state.h"

#include <new>

#ifdef _WIN32
#define MODULE_ENTRY_EXPORT
#else
#define MODULE_ENTRY_EXPORT __attribute__((visibility("default")))
#endif

extern "C" MODULE_ENTRY_EXPORT BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason,
                                                   LPVOID /*lpvReserved*/) {
    if (fdwReason == DLL_PROCESS_ATTACH)
        ptbridge::ModuleHandle = hinstDLL;
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!IsEqualGUID(rclsid, CLSID_OEMUI) && !IsEqualGUID(rclsid, CLSID_OEMPTPROVIDER))
        return CLASS_E_CLASSNOTAVAILABLE;
    if (!ppv)
        return E_POINTER;
    ptbridge::ComPtr<ptbridge::ClassFactory> factory;
    factory.Attach(new (std::nothrow) ptbridge::ClassFactory(rclsid));
    if (!factory)
        return E_OUTOFMEMORY;
    return factory->QueryInterface(riid, ppv);
}

STDAPI DllCanUnloadNow() {
    return ptbridge::ServerLockCount != 0 ? S_FALSE : S_OK;
}
