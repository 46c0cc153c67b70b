// The benchmarks' synthetic documents: their size, their shape, and that each
// conversion finds and edits the plug-in's features in them.
#include "conversion_driver.h"
#include "document_generator.h"

#include "msxml_standin.h"

#include <gtest/gtest.h>

using namespace ptbridge;

namespace {
size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(DocumentGeneratorTest, GrowsByTheSameAmountForEveryFeatureAndMeetsTheAskedSize) {
    for (DocumentKind kind :
         {DocumentKind::Capabilities, DocumentKind::Ticket, DocumentKind::PublishedTicket}) {
        size_t options = OptionsPerFeature(kind);
        size_t one = GenerateDocument(kind, 1, options).size();
        size_t two = GenerateDocument(kind, 2, options).size();
        size_t hundred = GenerateDocument(kind, 100, options).size();
        EXPECT_EQ(hundred - one, 99 * (two - one));
        for (size_t bytes : {size_t(10 * 1024), size_t(1024 * 1024)}) {
            size_t size = GenerateDocumentOfSize(kind, bytes).size();
            EXPECT_LE(size > bytes ? size - bytes : bytes - size, (two - one) / 2 + 1) << bytes;
        }
    }
}

TEST(DocumentGeneratorTest, OrdinaryFeaturesComeFirstWithTheirOptions) {
    std::string capabilities = GenerateDocument(DocumentKind::Capabilities, 3, 4);
    EXPECT_EQ(Count(capabilities, "name=\"pv:DeviceFeature"), 3u);
    EXPECT_EQ(Count(capabilities, "name=\"pv:Choice"), 12u);
    EXPECT_LT(capabilities.rfind("pv:DeviceFeature"),
              capabilities.find("JobPresentationDirection"));
    EXPECT_LT(capabilities.rfind("pv:DeviceFeature"), capabilities.find("JobHolePunch"));
}

class GeneratedConversionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(driver_.Open(PTBRIDGE_MODULE_PATH, &error)) << error;
    }

    // The document after the conversion, which must succeed.
    std::string Converted(Conversion conversion) {
        std::string text = GenerateDocument(InputKind(conversion), 20, 3);
        IXMLDOMDocument2* document = nullptr;
        EXPECT_EQ(LoadDocumentFromString(text, &document, nullptr), S_OK);
        if (!document)
            return {};
        EXPECT_EQ(driver_.Run(conversion, document), S_OK) << MethodName(conversion);
        std::string saved;
        EXPECT_EQ(SaveDocumentToString(document, &saved), S_OK);
        document->Release();
        return saved;
    }

    ConversionDriver driver_;
};

TEST_F(GeneratedConversionTest, PublishingConversionsEditThePluginsFeatures) {
    std::string capabilities = Converted(Conversion::CompleteCapabilities);
    EXPECT_EQ(Count(capabilities, "JobPresentationDirection"), 0u);
    EXPECT_EQ(Count(capabilities, "name=\"psk:PresentationDirection\""), 1u);
    EXPECT_EQ(Count(capabilities, "name=\"psk:BinType\""), 2u);

    std::string ticket = Converted(Conversion::DevModeToPrintTicket);
    EXPECT_EQ(Count(ticket, "name=\"psk:PresentationDirection\""), 1u);
    EXPECT_EQ(Count(ticket, "name=\"psk:BinType\""), 2u);
    EXPECT_EQ(Count(ticket, "name=\"psk:HoleCount\""), 1u);
}

TEST_F(GeneratedConversionTest, RestoringConversionUndoesThePublishedForm) {
    std::string ticket = Converted(Conversion::PrintTicketToDevMode);
    EXPECT_EQ(Count(ticket, "name=\"pv:JobPresentationDirection\""), 1u);
    EXPECT_EQ(Count(ticket, "name=\"pv:Finisher\""), 1u);
    EXPECT_EQ(Count(ticket, "psk:BinType"), 0u);
}
} // namespace
