// The module as the core driver's loader sees it: entry point, class objects,
// factories and the unload test, all through the exported functions.
#include "common/oem_interfaces.h"
#include "module_loader.h"
#include "nothrow_new_failure.h"

#include <gtest/gtest.h>

namespace {

const IID UnknownIid = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

class ModuleTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(module.Loaded()) << module.Error(); }

    IClassFactory* Factory(REFCLSID clsid = CLSID_OEMPTPROVIDER) {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(S_OK, module.getClassObject(clsid, IID_IClassFactory,
                                              reinterpret_cast<void**>(&factory)));
        return factory;
    }

    LoadedModule module;
};

TEST_F(ModuleTest, EntryPointAcceptsEveryReason) {
    const DWORD reasons[] = {DLL_PROCESS_ATTACH, DLL_THREAD_ATTACH, DLL_THREAD_DETACH,
                             DLL_PROCESS_DETACH, 99};
    for (DWORD reason : reasons)
        EXPECT_EQ(TRUE, module.dllMain(module.Handle(), reason, nullptr)) << reason;
}

TEST_F(ModuleTest, UnknownClassIsRefusedWithoutTouchingTheOutPointer) {
    void* sentinel = reinterpret_cast<void*>(0x1234);
    void* out = sentinel;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, module.getClassObject(UnknownIid, IID_IUnknown, &out));
    EXPECT_EQ(sentinel, out);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              module.getClassObject(IID_IPrintOemUI2, IID_IClassFactory, &out));
    EXPECT_EQ(sentinel, out);
}

TEST_F(ModuleTest, BothClassesHandOutAFactoryWithOneReference) {
    for (const CLSID* clsid : {&CLSID_OEMUI, &CLSID_OEMPTPROVIDER}) {
        for (const IID* iid : {&IID_IUnknown, &IID_IClassFactory}) {
            IUnknown* object = nullptr;
            ASSERT_EQ(S_OK, module.getClassObject(*clsid, *iid, reinterpret_cast<void**>(&object)));
            ASSERT_NE(nullptr, object);
            EXPECT_EQ(2u, object->AddRef());
            EXPECT_EQ(1u, object->Release());
            EXPECT_EQ(0u, object->Release());
        }
    }
}

TEST_F(ModuleTest, FactoryRefusesOtherInterfaces) {
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(E_NOINTERFACE, module.getClassObject(CLSID_OEMUI, IID_IPrintOemUI2, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, module.getClassObject(CLSID_OEMUI, IID_IClassFactory, nullptr));

    IClassFactory* factory = Factory();
    out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(E_NOINTERFACE, factory->QueryInterface(IID_IPrintOemUI2, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, factory->QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(0u, factory->Release());
}

TEST_F(ModuleTest, CreateInstanceMakesTheObjectTheRequestNames) {
    // A plug-in interface names its object; IID_IUnknown, which the core driver
    // asks for before it queries, gets the object of the factory's class.
    struct Case {
        const CLSID* clsid;
        const IID* iid;
        bool provider;
    };
    const Case cases[] = {{&CLSID_OEMUI, &IID_IUnknown, false},
                          {&CLSID_OEMPTPROVIDER, &IID_IUnknown, true},
                          {&CLSID_OEMUI, &IID_IPrintOemUI2, false},
                          {&CLSID_OEMPTPROVIDER, &IID_IPrintOemUI2, false},
                          {&CLSID_OEMUI, &IID_IPrintOemPrintTicketProvider, true},
                          {&CLSID_OEMPTPROVIDER, &IID_IPrintOemPrintTicketProvider, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.clsid == &CLSID_OEMUI ? "OEMUI " : "OEMPTPROVIDER ") << (&c - cases));
        IClassFactory* factory = Factory(*c.clsid);
        ASSERT_NE(nullptr, factory);
        IUnknown* object = nullptr;
        ASSERT_EQ(S_OK,
                  factory->CreateInstance(nullptr, *c.iid, reinterpret_cast<void**>(&object)));
        const IID& answered = c.provider ? IID_IPrintOemPrintTicketProvider : IID_IPrintOemUI2;
        const IID& refused = c.provider ? IID_IPrintOemUI2 : IID_IPrintOemPrintTicketProvider;
        IUnknown* other = nullptr;
        ASSERT_EQ(S_OK, object->QueryInterface(answered, reinterpret_cast<void**>(&other)));
        EXPECT_EQ(1u, other->Release());
        EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(refused, reinterpret_cast<void**>(&other)));
        EXPECT_EQ(0u, object->Release()) << "the caller holds the only reference";
        EXPECT_EQ(0u, factory->Release());
    }
}

TEST_F(ModuleTest, CreateInstanceRefusals) {
    IClassFactory* factory = Factory();
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    out = nullptr;
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, UnknownIid, &out));
    EXPECT_EQ(nullptr, out);

    IUnknown* outer = factory;
    for (const IID* iid : {&IID_IUnknown, &IID_IPrintOemUI2, &UnknownIid}) {
        out = reinterpret_cast<void*>(0x1234);
        EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, *iid, &out));
        EXPECT_EQ(reinterpret_cast<void*>(0x1234), out);
    }
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
    EXPECT_EQ(0u, factory->Release());
}

TEST_F(ModuleTest, CreateInstanceOutOfMemoryClearsTheOutPointer) {
    // Every request but IID_IUnknown makes the user-interface object first, then
    // the provider; IID_IUnknown on the provider's factory makes the provider alone.
    struct Case {
        const IID* iid;
        int failingAllocation;
    };
    const Case cases[] = {{&IID_IUnknown, 1},
                          {&IID_IPrintOemUI2, 1},
                          {&IID_IPrintOemPrintTicketProvider, 1},
                          {&IID_IPrintOemPrintTicketProvider, 2}};
    IClassFactory* factory = Factory();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failingAllocation);
        void* out = reinterpret_cast<void*>(0x1234);
        FailNothrowNew(c.failingAllocation);
        EXPECT_EQ(E_OUTOFMEMORY, factory->CreateInstance(nullptr, *c.iid, &out));
        FailNothrowNew(0);
        EXPECT_EQ(nullptr, out);
    }
    EXPECT_EQ(0u, factory->Release());
}

TEST_F(ModuleTest, ServerLocksAloneDecideUnloading) {
    EXPECT_EQ(S_OK, module.canUnloadNow());
    IClassFactory* factory = Factory();
    IUnknown* plugin = nullptr;
    ASSERT_EQ(S_OK,
              factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&plugin)));
    EXPECT_EQ(S_OK, module.canUnloadNow()) << "live objects do not hold the server";

    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, module.canUnloadNow());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_FALSE, module.canUnloadNow());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_OK, module.canUnloadNow());

    plugin->Release();
    factory->Release();
}

} // namespace
