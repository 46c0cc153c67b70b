// The host object as the plug-in sees it: its interfaces, the namespace
// managers it makes, and the faults tests can make it report.
#include "common/com_ptr.h"
#include "core_helper.h"
#include "host_devmode.h"

#include "msxml_standin.h"
#include "platform_testing.h"

#include <gtest/gtest.h>

using namespace ptbridge;

namespace {
class CoreHelperTest : public ::testing::Test {
  protected:
    void SetUp() override {
        liveBefore_ = HostCoreHelper::LiveCount();
        helper_.Attach(HostCoreHelper::Create());
        ASSERT_TRUE(helper_);
    }
    void TearDown() override {
        PlatformInjectFault(0, 0, S_OK);
        helper_.Reset();
        EXPECT_EQ(HostCoreHelper::LiveCount(), liveBefore_);
        EXPECT_EQ(LiveDomObjectCount(), 0);
    }

    ComPtr<HostCoreHelper> helper_;
    LONG liveBefore_ = 0;
};

TEST_F(CoreHelperTest, AnswersTheCoreHelperAndDriverUIInterfacesWithOneIdentity) {
    ComPtr<IUnknown> viaUnknown;
    ComPtr<IPrintCoreHelper> coreHelper;
    ComPtr<IPrintOemDriverUI> driverUI;
    ASSERT_EQ(helper_->QueryInterface(IID_IUnknown, viaUnknown.PutVoid()), S_OK);
    ASSERT_EQ(helper_->QueryInterface(IID_IPrintCoreHelper, coreHelper.PutVoid()), S_OK);
    ASSERT_EQ(helper_->QueryInterface(IID_IPrintOemDriverUI, driverUI.PutVoid()), S_OK);

    ComPtr<IUnknown> fromDriverUI;
    ASSERT_EQ(driverUI->QueryInterface(IID_IUnknown, fromDriverUI.PutVoid()), S_OK);
    EXPECT_EQ(fromDriverUI.Get(), viaUnknown.Get());

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(helper_->QueryInterface(IID_IPrintOemUI2, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
}

TEST_F(CoreHelperTest, MakesAFreshNamespaceManagerPerRequest) {
    ComPtr<IMXNamespaceManager> first;
    ComPtr<IMXNamespaceManager> second;
    ASSERT_EQ(helper_->CreateInstanceOfMSXMLObject(CLSID_MXNamespaceManager60, nullptr, 0,
                                                   IID_IMXNamespaceManager, first.PutVoid()),
              S_OK);
    ASSERT_EQ(helper_->CreateInstanceOfMSXMLObject(CLSID_MXNamespaceManager60, nullptr, 0,
                                                   IID_IMXNamespaceManager, second.PutVoid()),
              S_OK);
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_EQ(first->declarePrefix(W("pv"), W("urn:example")), S_OK);
}

TEST_F(CoreHelperTest, RefusesOtherClassesInterfacesAndAggregation) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(helper_->CreateInstanceOfMSXMLObject(CLSID_DOMDocument60, nullptr, 0,
                                                   IID_IMXNamespaceManager, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);

    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(helper_->CreateInstanceOfMSXMLObject(CLSID_MXNamespaceManager60, nullptr, 0,
                                                   IID_IXMLDOMDocument2, &object),
              E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);

    EXPECT_EQ(helper_->CreateInstanceOfMSXMLObject(CLSID_MXNamespaceManager60,
                                                   static_cast<IPrintCoreHelper*>(helper_.Get()), 0,
                                                   IID_IMXNamespaceManager, &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(helper_->CreateInstanceOfMSXMLObject(CLSID_MXNamespaceManager60, nullptr, 0,
                                                   IID_IMXNamespaceManager, nullptr),
              E_POINTER);
}

TEST_F(CoreHelperTest, InjectedHostFaultsReachThePlugIn) {
    HostDevmode devmode;
    ASSERT_EQ(HostDevmode::Build({{"PunchHole", "3Holes"}}, 12, &devmode), S_OK);
    PCSTR option = "stale";
    PlatformInjectFault(1, PlatformFaultHost, E_OUTOFMEMORY);
    EXPECT_EQ(helper_->GetOption(devmode.Devmode(), devmode.Size(), "PunchHole", &option),
              E_OUTOFMEMORY);
    EXPECT_EQ(option, nullptr);

    void* object = reinterpret_cast<void*>(1);
    PlatformInjectFault(1, PlatformFaultHost, E_FAIL);
    EXPECT_EQ(helper_->CreateInstanceOfMSXMLObject(CLSID_MXNamespaceManager60, nullptr, 0,
                                                   IID_IMXNamespaceManager, &object),
              E_FAIL);
    EXPECT_EQ(object, nullptr);
}
} // namespace
