// The default-namespace variants that the Wine tier runs: what they rewrite
// and which documents they refuse, with the reason the tier reports.
#include "default_framework_variant.h"

#include "canonical_xml.h"

#include <gtest/gtest.h>

namespace {
const std::string Framework =
    "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";
const std::string Keywords =
    "http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords";

std::string Ticket(const std::string& rootDeclarations, const std::string& body) {
    return "<psf:PrintTicket xmlns:psf=\"" + Framework + "\" xmlns:psk=\"" + Keywords + "\" " +
           rootDeclarations + " version=\"1\">" + body + "</psf:PrintTicket>";
}

std::string ReasonFor(const std::string& xml) {
    FrameworkVariant variant = MakeDefaultFrameworkVariant(xml);
    EXPECT_FALSE(variant.servable);
    return variant.reason;
}

TEST(DefaultFrameworkVariantTest, MakesTheFrameworkTheDefaultNamespace) {
    FrameworkVariant variant = MakeDefaultFrameworkVariant(
        Ticket("xmlns:pv=\"urn:pv\"", "<psf:Feature name=\"psk:JobOutputBin\"><psf:Option>"
                                      "<psf:ScoredProperty name=\"psf:OptionName\"><psf:Value>"
                                      " psf:Other </psf:Value></psf:ScoredProperty><psf:Property "
                                      "name=\"pv:psf:Odd\"/></psf:Option></psf:Feature>"));
    ASSERT_TRUE(variant.servable) << variant.reason;
    EXPECT_EQ(CanonicalXml(variant.text),
              CanonicalXml("<PrintTicket xmlns=\"" + Framework + "\" xmlns:psk=\"" + Keywords +
                           "\" xmlns:pv=\"urn:pv\" version=\"1\"><Feature "
                           "name=\"psk:JobOutputBin\"><Option><ScoredProperty "
                           "name=\"OptionName\"><Value> Other </Value></ScoredProperty>"
                           "<Property name=\"pv:psf:Odd\"/></Option></Feature></PrintTicket>"));
}

TEST(DefaultFrameworkVariantTest, LeavesADefaultFrameworkAsItIs) {
    const std::string xml = "<PrintTicket xmlns=\"" + Framework + "\"><Feature/></PrintTicket>";
    FrameworkVariant variant = MakeDefaultFrameworkVariant(xml);
    ASSERT_TRUE(variant.servable) << variant.reason;
    EXPECT_EQ(CanonicalXml(variant.text), CanonicalXml(xml));
}

TEST(DefaultFrameworkVariantTest, RefusesWhatWouldChangeTheMeaningOrThatWineServesOtherwise) {
    EXPECT_NE(ReasonFor(Ticket("", "<psf:Feature><x:Feature xmlns:x=\"urn:x\"/></psf:Feature>"))
                  .find("compares local names only"),
              std::string::npos);
    EXPECT_NE(ReasonFor("<PrintTicket xmlns=\"urn:x\"><Feature/></PrintTicket>")
                  .find("another default namespace"),
              std::string::npos);
    EXPECT_NE(ReasonFor(Ticket("", "<psf:Feature xmlns=\"\"><item/></psf:Feature>"))
                  .find("undeclares the default namespace"),
              std::string::npos);
    EXPECT_NE(ReasonFor("<t:PrintTicket xmlns:t=\"urn:t\"><psf:Feature xmlns:psf=\"" + Framework +
                        "\"/></t:PrintTicket>")
                  .find("declared below the root"),
              std::string::npos);
    EXPECT_NE(ReasonFor(Ticket("", "<psf:Feature psf:constrained=\"psk:None\"/>"))
                  .find("psf:constrained"),
              std::string::npos);
    EXPECT_NE(ReasonFor(Ticket("xmlns:fw=\"" + Framework + "\"", "<fw:Feature/>"))
                  .find("more than one prefix"),
              std::string::npos);
    EXPECT_NE(ReasonFor(Ticket("", "<psf:Feature><psf:Option xmlns:psf=\"urn:other\"/>"
                                   "</psf:Feature>"))
                  .find("bound again below the root"),
              std::string::npos);
    EXPECT_EQ(ReasonFor("<unclosed>"), "the document does not parse");
}
} // namespace
