// The conversions of the PE module through the Windows host, on MSXML 6
// documents whose framework namespace is the default namespace; the scenario
// corpus covers the rules, these cover what the command cannot show: the
// document a failed conversion leaves, and what the session gives back.
#include "pe_test_support.h"

#include "common/com_ptr.h"
#include "core_helper.h"
#include "host_session.h"
#include "platform_seams.h"
#include "test_documents.h"

#include <string>

using namespace ptbridge;

namespace {
std::string Ticket(const std::string& features) {
    return "<PrintTicket xmlns=\"http://schemas.microsoft.com/windows/2003/08/printing/"
           "printschemaframework\" xmlns:psk=\"http://schemas.microsoft.com/windows/2003/08/"
           "printing/printschemakeywords\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:pv=\"http://ptbridge.example/printing/2005/08/printticket\" version=\"1\">" +
           features + "</PrintTicket>";
}

const std::string NUp = "<Feature name=\"psk:JobNUpAllDocumentsContiguously\"><Option/></Feature>";
const std::string Bins = "<Feature name=\"psk:JobOutputBin\"><Option name=\"pv:Center\"/>"
                         "<Option name=\"pv:Finisher\"/></Feature>";
const std::string HolePunch = "<Feature name=\"psk:JobHolePunch\"><Option name=\"psk:LeftEdge\"/>"
                              "</Feature>";
const std::string Direction =
    "<Feature name=\"pv:JobPresentationDirection\"><Option name=\"psk:RightBottom\"/></Feature>";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ConversionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_EQ(session.Open(ModuleBesideTests(), &error), OpenStatus::Opened) << error;
        ASSERT_EQ(
            HostDevmode::Build({{"PunchHole", "3Holes"}}, session.PluginSectionSize(), &devmode),
            S_OK);
        ASSERT_EQ(session.WriteDefaultPluginSection(devmode), S_OK);
    }
    void TearDown() override {
        session.Close();
        EXPECT_EQ(HostCoreHelper::LiveCount(), 0) << "the plug-in gave back the host object";
    }

    std::string Serialized(IXMLDOMDocument2* document) {
        std::string text, error;
        EXPECT_TRUE(SerializeDocument(document, &text, &error)) << error;
        return text;
    }

    HostSession session;
    HostDevmode devmode;
};

TEST_F(ConversionTest, APublishedTicketCarriesAllThreeFeatures) {
    ComPtr<IXMLDOMDocument2> ticket = ParseTestDocument(Ticket(NUp + Bins + HolePunch + Direction));
    ASSERT_TRUE(ticket);
    ASSERT_EQ(session.ConvertDevModeToPrintTicket(devmode, ticket.Get()), S_OK);
    std::string text = Serialized(ticket.Get());
    EXPECT_TRUE(Contains(text, "name=\"psk:PresentationDirection\"")) << text;
    EXPECT_FALSE(Contains(text, "pv:JobPresentationDirection")) << text;
    EXPECT_TRUE(Contains(text, "pv:Tray</Value>")) << text;
    EXPECT_TRUE(Contains(text, "psk:Stacker</Value>")) << text;
    EXPECT_TRUE(Contains(text, ">3</Value>")) << text;

    ASSERT_EQ(session.ConvertPrintTicketToDevMode(ticket.Get(), devmode), S_OK);
    text = Serialized(ticket.Get());
    EXPECT_TRUE(Contains(text, "name=\"pv:JobPresentationDirection\"")) << text;
}

TEST_F(ConversionTest, AFailedConversionLeavesTheEditsOfTheRulesBeforeIt) {
    ComPtr<IXMLDOMDocument2> ticket = ParseTestDocument(Ticket(NUp + Bins + Direction));
    ASSERT_TRUE(ticket);
    EXPECT_EQ(session.ConvertDevModeToPrintTicket(devmode, ticket.Get()), E_FAIL);
    std::string text = Serialized(ticket.Get());
    EXPECT_TRUE(Contains(text, "name=\"psk:PresentationDirection\"")) << text;
    EXPECT_TRUE(Contains(text, "name=\"psk:BinType\"")) << text;
    EXPECT_FALSE(Contains(text, "HoleCount")) << text;
}

TEST(HostNamespaceManagerTest, ReadsTheDeclarationsTheRootMakes) {
    ComPtr<IXMLDOMDocument2> ticket = ParseTestDocument(Ticket(""));
    ComPtr<IXMLDOMNode> root = RootElement(ticket.Get());
    ASSERT_TRUE(root);
    for (int request = 0; request < 2; ++request) {
        ComPtr<IMXNamespaceManager> manager;
        ASSERT_EQ(CreateHostNamespaceManager(IID_IMXNamespaceManager, manager.PutVoid()), S_OK);
        ASSERT_EQ(manager->pushNodeContext(root.Get(), VARIANT_TRUE), S_OK);
        int length = -1;
        EXPECT_EQ(manager->getPrefix(W("http://ptbridge.example/printing/2005/08/printticket"), 0,
                                     nullptr, &length),
                  S_OK);
        EXPECT_EQ(length, 2);
        EXPECT_EQ(manager->getPrefix(W("http://schemas.microsoft.com/windows/2003/08/printing/"
                                       "printschemaframework"),
                                     0, nullptr, &length),
                  S_OK);
        EXPECT_EQ(length, 0) << "the default namespace has the empty prefix";
        EXPECT_EQ(manager->popContext(), S_OK);
    }
}
} // namespace
