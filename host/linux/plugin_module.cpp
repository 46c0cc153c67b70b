#include "plugin_module.h"

#include <dlfcn.h>

namespace ptbridge {

PluginModule::~PluginModule() {
    Unload();
}

bool PluginModule::Load(const std::string& path, std::string* error) {
    Unload();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        *error = "cannot load plug-in module '" + path + "': " + (reason ? reason : "unknown");
        return false;
    }
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    auto dllMain = reinterpret_cast<DllMainFn>(dlsym(handle, "DllMain"));
    const char* missing = !getClassObject ? "DllGetClassObject" : !dllMain ? "DllMain" : nullptr;
    if (missing) {
        dlclose(handle);
        *error = "'" + path + "' is not a plug-in module: it does not export " + missing;
        return false;
    }
    // A module that refuses process attach is not loaded, as on Windows.
    if (!dllMain(static_cast<HINSTANCE>(handle), DLL_PROCESS_ATTACH, nullptr)) {
        dlclose(handle);
        *error = "plug-in module '" + path + "' refused to load (DllMain returned FALSE)";
        return false;
    }
    handle_ = handle;
    path_ = path;
    getClassObject_ = getClassObject;
    dllMain_ = dllMain;
    return true;
}

void PluginModule::Unload() {
    if (!handle_)
        return;
    dllMain_(Handle(), DLL_PROCESS_DETACH, nullptr);
    dlclose(handle_);
    handle_ = nullptr;
    getClassObject_ = nullptr;
    dllMain_ = nullptr;
}

HRESULT PluginModule::GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) const {
    if (!getClassObject_)
        return E_UNEXPECTED;
    return getClassObject_(rclsid, riid, ppv);
}

} // namespace ptbridge
