// Hostile documents and DEVMODEs handed to the conversions: each has one
// expected outcome, a clean failure result or a correct rewrite, and every
// run must leave nothing alive and a well-formed document.
#include "deep_document.h"
#include "document_checks.h"
#include "plugin_under_test.h"
#include "print_schema_root.h"
#include "ticket_builder.h"

#include "msxml_standin.h"
#include "platform_testing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <iostream>

using namespace ptbridge;

namespace {
const std::vector<OptionSelection> ThreeHoles = {{"PunchHole", "3Holes"}};

// U+1D4AB MATHEMATICAL SCRIPT CAPITAL P and U+1F5A8 PRINTER, in UTF-8: each
// is a surrogate pair in UTF-16.
const std::string ScriptP = "\xF0\x9D\x92\xAB";
const std::string Printer = "\xF0\x9F\x96\xA8";

struct Outcome {
    HRESULT result = E_UNEXPECTED;
    std::string document; // as the conversion left it, saved by the DOM
};

::testing::AssertionResult SameDocument(const std::string& actual, const std::string& expected) {
    if (CanonicalForm(actual) == CanonicalForm(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\n  document: " << actual.substr(0, 3000)
                                         << "\n  expected: " << expected.substr(0, 3000);
}

class HostileDocumentTest : public ::testing::Test {
  protected:
    void TearDown() override {
        provider.Reset();
        EXPECT_EQ(LiveDomObjectCount(), domObjects) << "DOM objects left alive";
    }

    // Runs `method` over `document` and checks what every run must leave.
    Outcome Convert(ConversionMethod method, IXMLDOMDocument2* document,
                    HostDevmode devmode = PluginUnderTest::Devmode(ThreeHoles)) {
        Outcome outcome;
        LONG bstrs = PlatformLiveBstrCount();
        LONG taskMemory = PlatformLiveTaskMemCount();
        ULONG references = plugin.CoreHelperReferences();
        outcome.result = ::Convert(provider.Get(), method, devmode, document);
        EXPECT_EQ(PlatformLiveBstrCount(), bstrs) << "BSTRs left alive";
        EXPECT_EQ(PlatformLiveTaskMemCount(), taskMemory) << "task memory left alive";
        EXPECT_EQ(plugin.CoreHelperReferences(), references) << "core helper references";
        EXPECT_EQ(SaveDocumentToString(document, &outcome.document), S_OK);
        std::string problem;
        EXPECT_TRUE(IsWellFormedXml(outcome.document, &problem)) << problem;
        return outcome;
    }

    Outcome Convert(ConversionMethod method, const std::string& xml,
                    HostDevmode devmode = PluginUnderTest::Devmode(ThreeHoles)) {
        ComPtr<IXMLDOMDocument2> document;
        XmlLoadError error;
        EXPECT_EQ(LoadDocumentFromString(xml, document.Put(), &error), S_OK) << error.message;
        if (!document)
            return {};
        return Convert(method, document.Get(), std::move(devmode));
    }

    // Publishing and completing capabilities rewrite the device's ticket, and
    // restoring the published ticket takes the names back.
    void ExpectCorrectRoundTrip(const TicketShape& shape, bool binRestored = true) {
        const std::string device = DeviceTicket(shape);
        Outcome ticket = Convert(ConversionMethod::Ticket, device);
        EXPECT_EQ(ticket.result, S_OK);
        EXPECT_TRUE(SameDocument(ticket.document, PublishedTicket(shape)));
        Outcome capabilities = Convert(ConversionMethod::Capabilities, device);
        EXPECT_EQ(capabilities.result, S_OK);
        EXPECT_TRUE(SameDocument(capabilities.document, PublishedTicket(shape, std::nullopt)));
        Outcome devmode = Convert(ConversionMethod::Devmode, ticket.document);
        EXPECT_EQ(devmode.result, S_OK);
        EXPECT_TRUE(SameDocument(devmode.document, RestoredTicket(shape, binRestored)));
    }

    // The plug-in cannot write the names this shape needs: publishing and
    // completing fail, restoring succeeds, and no document changes.
    void ExpectUnchangedRefusal(const TicketShape& shape) {
        Outcome ticket = Convert(ConversionMethod::Ticket, DeviceTicket(shape));
        EXPECT_EQ(ticket.result, E_FAIL);
        EXPECT_TRUE(SameDocument(ticket.document, DeviceTicket(shape)));
        Outcome capabilities = Convert(ConversionMethod::Capabilities, DeviceTicket(shape));
        EXPECT_EQ(capabilities.result, E_FAIL);
        EXPECT_TRUE(SameDocument(capabilities.document, DeviceTicket(shape)));
        Outcome devmode = Convert(ConversionMethod::Devmode, PublishedTicket(shape));
        EXPECT_EQ(devmode.result, S_OK);
        EXPECT_TRUE(SameDocument(devmode.document, PublishedTicket(shape)));
    }

    LONG domObjects = LiveDomObjectCount();
    PluginUnderTest plugin;
    ComPtr<IPrintOemPrintTicketProvider> provider = plugin.MakeProvider();
};

std::string Repeated(const std::string& text, int times) {
    std::string repeated;
    repeated.reserve(text.size() * times);
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

constexpr int DeepNesting = 10000;

TEST_F(HostileDocumentTest, TenThousandLevelsOfNestingAreRefusedByTheLoader) {
    // The loader, like MSXML 6 by default, accepts at most 256 levels.
    TicketShape shape;
    shape.extraFeatures = Repeated("<psf:Feature name=\"psk:Level\">", DeepNesting) +
                          Repeated("</psf:Feature>", DeepNesting);
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_EQ(LoadDocumentFromString(DeviceTicket(shape), document.Put(), &error), E_FAIL);
    EXPECT_FALSE(document);
    EXPECT_EQ(error.line, 1);
    EXPECT_GT(error.column, 0);
    EXPECT_NE(error.message.find("deeper than 256 levels"), std::string::npos) << error.message;
}

TEST_F(HostileDocumentTest, TenThousandLevelsBuiltThroughTheDomAreConverted) {
    // The features the rules move sit at the bottom of the chain; neither the
    // plug-in nor the DOM may recurse once per level.
    TicketShape shape;
    shape.extraFeatures = "<psf:Feature name=\"psk:Level\"/>";
    auto expectConversion = [&](ConversionMethod method, const std::string& input,
                                const std::u16string& sunkInput, HRESULT result,
                                const std::string& expected, const std::u16string& sunkExpected) {
        SCOPED_TRACE(CommandName(method));
        ComPtr<IXMLDOMDocument2> document = LoadWithDeepChain(input, DeepNesting, sunkInput);
        ComPtr<IXMLDOMDocument2> wanted = LoadWithDeepChain(expected, DeepNesting, sunkExpected);
        ASSERT_TRUE(document && wanted);
        Outcome outcome = Convert(method, document.Get());
        EXPECT_EQ(outcome.result, result);
        std::string wantedText;
        ASSERT_EQ(SaveDocumentToString(wanted.Get(), &wantedText), S_OK);
        EXPECT_TRUE(outcome.document == wantedText) << "the deep document differs";
    };
    expectConversion(ConversionMethod::Ticket, DeviceTicket(shape), u"pv:JobPresentationDirection",
                     S_OK, PublishedTicket(shape), u"");
    expectConversion(ConversionMethod::Capabilities, DeviceTicket(shape),
                     u"pv:JobPresentationDirection", S_OK, PublishedTicket(shape, std::nullopt),
                     u"");
    expectConversion(ConversionMethod::Devmode, PublishedTicket(shape),
                     u"psk:JobNUpAllDocumentsContiguously", S_OK, RestoredTicket(shape),
                     u"psk:JobNUpAllDocumentsContiguously");
}

TEST_F(HostileDocumentTest, AMebibyteAttributeValueIsCarriedThroughOrReplaced) {
    const std::string huge(1 << 20, 'x');
    TicketShape shape;
    shape.extraFeatures = "<psf:Feature name=\"psk:" + huge + "\"><psf:Option name=\"psk:" + huge +
                          "\"/></psf:Feature>";
    ExpectCorrectRoundTrip(shape);
    // The chosen bin's name is replaced from its bin type, however long it was.
    Outcome devmode = Convert(ConversionMethod::Devmode,
                              Replaced(PublishedTicket(shape), "<psf:Option name=\"pv:Center\">",
                                       "<psf:Option name=\"pv:" + huge + "\">"));
    EXPECT_EQ(devmode.result, S_OK);
    EXPECT_TRUE(SameDocument(devmode.document, RestoredTicket(shape)));
}

TEST_F(HostileDocumentTest, APrivatePrefixJustUnderTheBoundIsUsedForEveryName) {
    TicketShape shape;
    shape.privatePrefix = "p" + std::string(9998, 'v');
    // The bin type's text does not fit the 256 characters restoring reads, so
    // only the presentation direction is restored.
    ExpectCorrectRoundTrip(shape, false);
}

TEST_F(HostileDocumentTest, PrefixesAtOrOverTheBoundAreRefused) {
    for (size_t length : {10000, 10001, 50000}) {
        SCOPED_TRACE(length);
        TicketShape privateShape;
        privateShape.privatePrefix = "p" + std::string(length - 1, 'v');
        ExpectUnchangedRefusal(privateShape);
        TicketShape keywordsShape;
        keywordsShape.keywordsPrefix = "k" + std::string(length - 1, 'w');
        ExpectUnchangedRefusal(keywordsShape);
    }
}

TEST_F(HostileDocumentTest, LocalNamesAtAndOverTheBoundAreLeftAsTheyAre) {
    TicketShape shape;
    for (size_t length : {9999, 10000, 10001})
        shape.extraFeatures += "<psf:F" + std::string(length - 1, 'f') + " name=\"psk:N" +
                               std::string(length - 1, 'n') + "\"/>";
    ExpectCorrectRoundTrip(shape);
}

TEST_F(HostileDocumentTest, NamesOutsideTheBasicMultilingualPlaneSurviveTheRoundTrip) {
    TicketShape shape;
    shape.privatePrefix = ScriptP + "v";
    shape.extraFeatures = "<psf:Feature name=\"psk:Job" + Printer + "\"><psf:Option name=\"" +
                          ScriptP + "v:" + Printer + "\">" + Printer + ScriptP +
                          "</psf:Option></psf:Feature>";
    ExpectCorrectRoundTrip(shape);
    // The bin type the plug-in wrote is stored as UTF-8 of the surrogate pair.
    Outcome ticket = Convert(ConversionMethod::Ticket, DeviceTicket(shape));
    EXPECT_NE(ticket.document.find(">" + ScriptP + "v:Tray<"), std::string::npos);
}

TEST_F(HostileDocumentTest, AHundredThousandFeaturesAreConverted) {
    TicketShape shape;
    for (int i = 0; i < 100000; ++i)
        shape.extraFeatures += "<psf:Feature name=\"psk:Extra" + std::to_string(i) +
                               "\"><psf:Option name=\"psk:On\"/></psf:Feature>";
    auto start = std::chrono::steady_clock::now();
    ExpectCorrectRoundTrip(shape);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::cout << "three conversions over 100000 features took " << took.count() << " s"
              << std::endl;
}

// The plug-in reads the root's declarations for every name it writes: with
// 50,000 of them each reading must stay linear (comparing each declaration with
// every earlier one took minutes per conversion). Each conversion is timed
// apart from loading and saving, which libxml2's parser and the checks make
// slower than linear: up to about 3 s in a debug build, 8 s under the sanitizers;
// the bound is loose for slow machines. Publishing writes names, restoring
// also resolves them. The converted documents must still carry every
// declaration as written.
TEST_F(HostileDocumentTest, FiftyThousandPrefixesOnTheRootAreConvertedInLinearTime) {
    TicketShape plain;
    TicketShape crowded;
    for (int i = 0; i < 50000; ++i)
        crowded.extraDeclarations +=
            Declaration("x" + std::to_string(i), "urn:extra:" + std::to_string(i));
    struct Case {
        ConversionMethod method;
        std::string input;
        std::string expected; // once the extra declarations are taken out
    };
    const Case cases[] = {
        {ConversionMethod::Ticket, DeviceTicket(crowded), PublishedTicket(plain)},
        {ConversionMethod::Devmode, PublishedTicket(crowded), RestoredTicket(plain)},
    };
    for (const Case& c : cases) {
        auto start = std::chrono::steady_clock::now();
        ComPtr<IXMLDOMDocument2> document;
        XmlLoadError error;
        ASSERT_EQ(LoadDocumentFromString(c.input, document.Put(), &error), S_OK) << error.message;
        auto loaded = std::chrono::steady_clock::now();
        HostDevmode devmode = PluginUnderTest::Devmode(ThreeHoles);
        EXPECT_EQ(::Convert(provider.Get(), c.method, devmode, document.Get()), S_OK);
        std::chrono::duration<double> loading = loaded - start;
        std::chrono::duration<double> converting = std::chrono::steady_clock::now() - loaded;
        std::cout << "under 50000 root declarations, loading took " << loading.count()
                  << " s and converting " << converting.count() << " s" << std::endl;
        EXPECT_LT(converting.count(), 30.0);

        std::string converted;
        EXPECT_EQ(SaveDocumentToString(document.Get(), &converted), S_OK);
        EXPECT_TRUE(SameDocument(Replaced(converted, crowded.extraDeclarations, ""), c.expected));
    }
}

// Windows names a driver's namespace after the driver, spaces and all: such
// names are no URI references, yet the document converts, and they are saved
// as written.
TEST_F(HostileDocumentTest, NamespaceNamesThatAreNoUriReferencesAreKeptAsWritten) {
    TicketShape plain;
    TicketShape windows;
    windows.extraDeclarations =
        Declaration("ns0000", "http://schemas.microsoft.com/windows/2006/06/printing/oemdriverpt/"
                              "Microsoft_Print To PDF/10.0.10240.17797/") +
        Declaration("q", "my namespace");
    Outcome ticket = Convert(ConversionMethod::Ticket, DeviceTicket(windows));
    EXPECT_EQ(ticket.result, S_OK);
    EXPECT_TRUE(SameDocument(Replaced(ticket.document, windows.extraDeclarations, ""),
                             PublishedTicket(plain)));
    Outcome restored = Convert(ConversionMethod::Devmode, ticket.document);
    EXPECT_EQ(restored.result, S_OK);
    EXPECT_TRUE(SameDocument(Replaced(restored.document, windows.extraDeclarations, ""),
                             RestoredTicket(plain)));
}

TEST_F(HostileDocumentTest, APrivateNamespaceDeclaredOnlyBelowTheRootIsNotUsed) {
    TicketShape shape;
    shape.privateDeclaredAtRoot = false;
    ExpectUnchangedRefusal(shape);
}

TEST_F(HostileDocumentTest, ADevmodeTheHostDidNotMakeGivesNoHoles) {
    // The host answers GetOption only from its own DEVMODEs; without an answer
    // the hole count is 0.
    HostDevmode foreignBlock = PluginUnderTest::Devmode(ThreeHoles);
    std::memset(reinterpret_cast<BYTE*>(foreignBlock.Devmode()) + sizeof(DEVMODEW), 0xA5, 4);
    HostDevmode foreignSize = PluginUnderTest::Devmode(ThreeHoles);
    foreignSize.Devmode()->dmSize = sizeof(DEVMODEW) - 2;
    for (HostDevmode* devmode : {&foreignBlock, &foreignSize}) {
        Outcome ticket = Convert(ConversionMethod::Ticket, DeviceTicket(), std::move(*devmode));
        EXPECT_EQ(ticket.result, S_OK);
        EXPECT_TRUE(SameDocument(ticket.document, PublishedTicket({}, 0)));
    }
}
} // namespace
