#include "plugin_module.h"

#include "text_encoding.h"
#include "windows/windows_error.h"

namespace ptbridge {

namespace {
// GetProcAddress hands out every export as FARPROC; going through void* lets
// the caller name the export's real type.
template <typename Function> Function ExportOf(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

PluginModule::~PluginModule() {
    Unload();
}

bool PluginModule::Load(const std::string& path, std::string* error) {
    Unload();
    std::u16string widePath;
    if (!Utf16FromUtf8(path, &widePath)) {
        *error = "cannot load plug-in module '" + path + "': the path is not UTF-8";
        return false;
    }
    // The loader runs the module's DllMain for process attach; a module that
    // refuses it fails to load.
    HMODULE handle = LoadLibraryW(reinterpret_cast<LPCWSTR>(widePath.c_str()));
    if (!handle) {
        *error =
            "cannot load plug-in module '" + path + "': " + DescribeWindowsError(GetLastError());
        return false;
    }
    auto getClassObject = ExportOf<GetClassObjectFn>(handle, "DllGetClassObject");
    if (!getClassObject) {
        FreeLibrary(handle);
        *error = "'" + path + "' is not a plug-in module: it does not export DllGetClassObject";
        return false;
    }
    handle_ = handle;
    path_ = path;
    getClassObject_ = getClassObject;
    return true;
}

void PluginModule::Unload() {
    if (!handle_)
        return;
    FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
    getClassObject_ = nullptr;
}

HRESULT PluginModule::GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) const {
    if (!getClassObject_)
        return E_UNEXPECTED;
    return getClassObject_(rclsid, riid, ppv);
}

} // namespace ptbridge
