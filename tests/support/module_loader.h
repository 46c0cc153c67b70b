// Loads the built plug-in module the way the core driver's loader does: open
// it, call DllMain for process attach, resolve the exports; detach and close
// on destruction.
#pragma once

#include "common/platform.h"

#include <string>

class LoadedModule {
  public:
    using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, LPVOID*);
    using CanUnloadNowFn = HRESULT (*)();
    using DllMainFn = BOOL (*)(HINSTANCE, DWORD, LPVOID);

    explicit LoadedModule(const std::string& path = PTBRIDGE_MODULE_PATH);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    bool Loaded() const { return handle_ && getClassObject && canUnloadNow && dllMain; }
    const std::string& Error() const { return error_; }
    HINSTANCE Handle() const { return static_cast<HINSTANCE>(handle_); }

    // Creates a plug-in object through a class factory, as the core driver does.
    HRESULT CreateObject(REFIID riid, void** object) const;

    GetClassObjectFn getClassObject = nullptr;
    CanUnloadNowFn canUnloadNow = nullptr;
    DllMainFn dllMain = nullptr;

  private:
    void* handle_ = nullptr;
    std::string error_;
};
