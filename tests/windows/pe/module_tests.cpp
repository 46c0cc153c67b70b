// The PE module as the Windows loader and the core driver see it: its exports,
// class objects, factories and the unload test.
#include "pe_test_support.h"

#include "common/com_ptr.h"
#include "common/oem_interfaces.h"

using namespace ptbridge;

namespace {
const IID OtherIid = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

class ModuleTest : public LoadedPluginTest {
  protected:
    ComPtr<IClassFactory> Factory(REFCLSID clsid) {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(module.GetClassObject(clsid, IID_IClassFactory, factory.PutVoid()), S_OK);
        return factory;
    }
};

TEST_F(ModuleTest, ExportsTheTwoComEntryPointsByName) {
    EXPECT_TRUE(Exports("DllGetClassObject"));
    EXPECT_TRUE(Exports("DllCanUnloadNow"));
    EXPECT_FALSE(Exports("DllMain")) << "the loader finds the entry point without an export";
}

TEST_F(ModuleTest, UnknownClassIsRefusedWithoutTouchingTheOutPointer) {
    void* sentinel = reinterpret_cast<void*>(0x1234);
    void* out = sentinel;
    EXPECT_EQ(module.GetClassObject(OtherIid, IID_IUnknown, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, sentinel);
}

TEST_F(ModuleTest, BothClassesHandOutAFactoryWithOneReference) {
    for (const CLSID* clsid : {&CLSID_OEMUI, &CLSID_OEMPTPROVIDER}) {
        for (const IID* iid : {&IID_IUnknown, &IID_IClassFactory}) {
            IUnknown* object = nullptr;
            ASSERT_EQ(module.GetClassObject(*clsid, *iid, reinterpret_cast<void**>(&object)), S_OK);
            ASSERT_NE(object, nullptr);
            EXPECT_EQ(object->AddRef(), 2u);
            EXPECT_EQ(object->Release(), 1u);
            EXPECT_EQ(object->Release(), 0u);
        }
    }
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(module.GetClassObject(CLSID_OEMUI, IID_IPrintOemUI2, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(ModuleTest, EachClassReachesItsPluginThroughIUnknown) {
    // The core driver's sequence: CreateInstance(IID_IUnknown), then QueryInterface.
    struct Case {
        const CLSID* clsid;
        const IID* iid;
    };
    for (const Case& c : {Case{&CLSID_OEMUI, &IID_IPrintOemUI2},
                          Case{&CLSID_OEMPTPROVIDER, &IID_IPrintOemPrintTicketProvider}}) {
        ComPtr<IClassFactory> factory = Factory(*c.clsid);
        ASSERT_TRUE(factory);
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, unknown.PutVoid()), S_OK);
        ComPtr<IUnknown> plugin;
        EXPECT_EQ(unknown->QueryInterface(*c.iid, plugin.PutVoid()), S_OK);
    }
}

TEST_F(ModuleTest, EitherClassGivesTheProviderForItsInterface) {
    for (const CLSID* clsid : {&CLSID_OEMUI, &CLSID_OEMPTPROVIDER}) {
        ComPtr<IClassFactory> factory = Factory(*clsid);
        ASSERT_TRUE(factory);

        IPrintOemPrintTicketProvider* provider = nullptr;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemPrintTicketProvider,
                                          reinterpret_cast<void**>(&provider)),
                  S_OK);
        void* other = reinterpret_cast<void*>(1);
        EXPECT_EQ(provider->QueryInterface(IID_IPrintOemUI2, &other), E_NOINTERFACE);
        EXPECT_EQ(other, nullptr);
        EXPECT_EQ(provider->Release(), 0u) << "the caller holds the only reference";
    }
}

TEST_F(ModuleTest, CreateInstanceRefusesAggregationAndOtherInterfaces) {
    ComPtr<IClassFactory> factory = Factory(CLSID_OEMPTPROVIDER);
    ASSERT_TRUE(factory);
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    for (const IID* iid : {&IID_IUnknown, &IID_IPrintOemUI2, &OtherIid}) {
        out = reinterpret_cast<void*>(0x1234);
        EXPECT_EQ(factory->CreateInstance(factory.Get(), *iid, &out), CLASS_E_NOAGGREGATION);
    }
}

TEST_F(ModuleTest, ServerLocksAloneDecideUnloading) {
    auto canUnloadNow = Export<CanUnloadNowFn>("DllCanUnloadNow");
    ASSERT_NE(canUnloadNow, nullptr);
    ComPtr<IClassFactory> factory = Factory(CLSID_OEMUI);
    ASSERT_TRUE(factory);
    ComPtr<IUnknown> plugin;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, plugin.PutVoid()), S_OK);
    EXPECT_EQ(canUnloadNow(), S_OK) << "live objects do not hold the server";
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnloadNow(), S_OK);
}
} // namespace
