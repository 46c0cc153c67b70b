#include "pe_test_support.h"

#include "common/com_ptr.h"
#include "text_encoding.h"

#include <vector>

using namespace ptbridge;

std::string ModuleBesideTests() {
    std::vector<char16_t> path(32768);
    DWORD length = GetModuleFileNameW(nullptr, reinterpret_cast<LPWSTR>(path.data()),
                                      static_cast<DWORD>(path.size()));
    std::u16string executable(path.data(), length);
    return Utf8FromUtf16(executable.substr(0, executable.find_last_of(u"\\/") + 1)) +
           "ptbridge.dll";
}

void LoadedPluginTest::SetUp() {
    std::string error;
    ASSERT_TRUE(module.Load(ModuleBesideTests(), &error)) << error;
}

HRESULT LoadedPluginTest::CreateObject(REFCLSID clsid, REFIID riid, void** object) const {
    ComPtr<IClassFactory> factory;
    HRESULT hr = module.GetClassObject(clsid, IID_IClassFactory, factory.PutVoid());
    if (hr != S_OK)
        return hr;
    return factory->CreateInstance(nullptr, riid, object);
}
