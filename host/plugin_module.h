// The plug-in module as the core driver's loader sees it: opened, told about
// process attach through its DllMain, asked for class objects through its
// export, and told about process detach before it is closed. On Windows the
// system loader runs DllMain (windows/plugin_module.cpp); elsewhere the module
// exports DllMain and Load and Unload call it (linux/plugin_module.cpp).
#pragma once

#include "common/platform.h"

#include <string>

namespace ptbridge {

class PluginModule {
  public:
    PluginModule() = default;
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Opens the module at `path` and runs its process attach. On failure
    // `*error` names the module and the reason, and nothing stays loaded.
    bool Load(const std::string& path, std::string* error);
    // Runs process detach and closes the module; harmless when none is loaded.
    void Unload();

    bool Loaded() const { return handle_ != nullptr; }
    const std::string& Path() const { return path_; }
    HINSTANCE Handle() const { return static_cast<HINSTANCE>(handle_); }

    // The module's DllGetClassObject.
    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) const;

  private:
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
    using DllMainFn = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

    void* handle_ = nullptr;
    std::string path_;
    GetClassObjectFn getClassObject_ = nullptr;
    DllMainFn dllMain_ = nullptr; // stays null where the system loader runs DllMain
};

} // namespace ptbridge
