// The stylesheet the benchmark report runs with xsltproc makes the same edits
// as CompletePrintCapabilities, whatever prefixes the document uses, so that
// the report compares like with like.
#include "child_process.h"
#include "conversion_driver.h"
#include "document_generator.h"
#include "scratch_directory.h"

#include "msxml_standin.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace ptbridge;

namespace {
std::string ReadFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The document as the stand-in DOM saves it, after the conversion when given.
std::string Saved(const std::string& xml, ConversionDriver* driver = nullptr) {
    IXMLDOMDocument2* document = nullptr;
    EXPECT_EQ(LoadDocumentFromString(xml, &document, nullptr), S_OK);
    if (!document)
        return {};
    if (driver) {
        EXPECT_EQ(driver->Run(Conversion::CompleteCapabilities, document), S_OK);
    }
    std::string saved;
    EXPECT_EQ(SaveDocumentToString(document, &saved), S_OK);
    document->Release();
    return saved;
}

TEST(ReferenceStylesheetTest, MakesTheEditsOfCompletePrintCapabilities) {
    std::string xsltproc = FindProgram("xsltproc");
    if (xsltproc.empty())
        GTEST_SKIP() << "xsltproc is not installed";
    ConversionDriver driver;
    std::string error;
    ASSERT_TRUE(driver.Open(PTBRIDGE_MODULE_PATH, &error)) << error;

    std::string generated = GenerateDocument(DocumentKind::Capabilities, 3, 2);
    std::string otherPrefixes =
        Replaced(Replaced(Replaced(Replaced(generated, "xmlns:psk=", "xmlns:kw="), "psk:", "kw:"),
                          "xmlns:pv=", "xmlns:dev="),
                 "pv:", "dev:");
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"generated", generated},
        {"other prefixes", otherPrefixes},
        {"no finisher bin",
         Replaced(generated, "<psf:Option name=\"pv:Finisher\" constrained=\"psk:None\"/>", "")},
        {"bundled sample", ReadFile(PTBRIDGE_EXAMPLES_DIR "/capabilities.xml")},
    };
    ScratchDirectory scratch;
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        ASSERT_FALSE(testCase.text.empty());
        std::string input = scratch.Write(std::string(testCase.name) + ".xml", testCase.text);
        std::string output = scratch.Path(std::string(testCase.name) + "-transformed.xml");
        ChildRun run = RunChild({xsltproc, "-o", output, PTBRIDGE_STYLESHEET_PATH, input});
        ASSERT_TRUE(run.started);
        ASSERT_EQ(run.exitCode, 0);
        EXPECT_EQ(Saved(ReadFile(output)), Saved(testCase.text, &driver));
    }
}
} // namespace
