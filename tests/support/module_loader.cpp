#include "module_loader.h"

#include "common/com_ptr.h"
#include "common/oem_interfaces.h"

#include <dlfcn.h>

using namespace ptbridge;

LoadedModule::LoadedModule(const std::string& path) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* reason = dlerror();
        error_ = reason ? reason : "dlopen failed";
        return;
    }
    getClassObject = reinterpret_cast<GetClassObjectFn>(dlsym(handle_, "DllGetClassObject"));
    canUnloadNow = reinterpret_cast<CanUnloadNowFn>(dlsym(handle_, "DllCanUnloadNow"));
    dllMain = reinterpret_cast<DllMainFn>(dlsym(handle_, "DllMain"));
    if (dllMain)
        dllMain(Handle(), DLL_PROCESS_ATTACH, nullptr);
}

LoadedModule::~LoadedModule() {
    if (!handle_)
        return;
    if (dllMain)
        dllMain(Handle(), DLL_PROCESS_DETACH, nullptr);
    dlclose(handle_);
}

HRESULT LoadedModule::CreateObject(REFIID riid, void** object) const {
    ComPtr<IClassFactory> factory;
    HRESULT hr = getClassObject(CLSID_OEMPTPROVIDER, IID_IClassFactory, factory.PutVoid());
    if (FAILED(hr))
        return hr;
    return factory->CreateInstance(nullptr, riid, object);
}
