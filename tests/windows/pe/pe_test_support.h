// Shared by the Windows test program: where the plug-in module is, and a
// fixture that loads it the way ptbridge.exe does.
#pragma once

#include "plugin_module.h"

#include <gtest/gtest.h>

#include <string>

// The ptbridge.dll beside the test program.
std::string ModuleBesideTests();

class LoadedPluginTest : public ::testing::Test {
  protected:
    void SetUp() override;

    bool Exports(const char* name) const {
        return GetProcAddress(static_cast<HMODULE>(module.Handle()), name) != nullptr;
    }
    // An export of the module by name, or null.
    template <typename Function> Function Export(const char* name) const {
        return reinterpret_cast<Function>(
            reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module.Handle()), name)));
    }
    // An object made through a class factory of the module, as the core driver makes it.
    HRESULT CreateObject(REFCLSID clsid, REFIID riid, void** object) const;

    ptbridge::PluginModule module;
};
