// The stand-in DOM's host functions, which only the stand-in has: loading
// from text and files with a located error, copying a document, and their
// refusal of null pointers.
#include "dom_reading.h"
#include "dom_test_support.h"

#include <cstdio>
#include <fstream>

using namespace ptbridge;

namespace {
class HostApiTest : public DomTest {};

// A file in the temporary directory, removed again at the end of the test.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& content)
        : path_(::testing::TempDir() + "msxml_load_test.xml") {
        std::ofstream(path_, std::ios::binary) << content;
    }
    ~TemporaryFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

std::string Repeated(const std::string& part, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += part;
    return text;
}

std::string Utf16LittleEndian(const std::string& ascii) {
    std::string text = "\xFF\xFE";
    for (char c : ascii)
        text += std::string{c, '\0'};
    return text;
}

// Each refusal is worded for the person who edits the document and placed
// where the fault is, whatever the parser calls it.
TEST_F(HostApiTest, LoadErrorsNameTheFaultAndItsPlace) {
    const std::string Huge(10000001, 'x');
    struct Case {
        std::string xml;
        int line, column;
        const char* message; // the start of the message
    } const cases[] = {
        {"<a>\n  <b></c>\n</a>", 2, 10,
         "an end tag for 'c' where </b> was expected (<b> opened at line 2)"},
        {"<a>\n\n   <psf:Feature/></a>", 3, 16,
         "the prefix 'psf' of <psf:Feature> is not declared"},
        {"<psf:P xmlns:psf=\"u\">\n <psf:Feature name=\"f\">\n  <psf:Option/>\n", 3, 16,
         "the document ends early, inside <psf:Feature> (opened at line 2)"},
        {"<a>\n" + Repeated("<b>", 300), 2, 771, "elements nest deeper than 256 levels"},
        {"<a>\n<b>" + Huge + "</b></a>", 2, 10000005,
         "a text in <b> longer than 10,000,000 bytes (10 MB)"},
        {"<a>\n<b c=\"" + Huge + "\"/></a>", 2, 6,
         "an attribute value longer than 10,000,000 bytes (10 MB)"},
        {"<a>\n<" + std::string(50001, 'n') + "/></a>", 2, 2, "a name longer than 50,000 bytes"},
        {std::string("\xFF\xFE\0\0<\0\0\0", 8), 1, 1, "UTF-32 is not supported"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF<a/>", 1, 1, "the document starts with two byte-order marks"},
        {std::string("<a>\n<b>x\0</b></a>", 16), 2, 5, "a NUL character"},
        {std::string(256 * 1024, '\0'), 1, 1, "a NUL character"},
        {Utf16LittleEndian("<a>\n\n\n\n\n\n<b>x") + std::string("\0\xD8", 2) +
             Utf16LittleEndian("</b></a>").substr(2),
         7, 5, "an unpaired UTF-16 surrogate"},
        {"", 1, 1, "the document is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ComPtr<IXMLDOMDocument2> document;
        XmlLoadError error;
        EXPECT_EQ(LoadDocumentFromString(c.xml, document.Put(), &error), E_FAIL);
        EXPECT_FALSE(document);
        EXPECT_EQ(error.message.rfind(c.message, 0), 0u) << error.message;
        EXPECT_EQ(error.line, c.line);
        EXPECT_EQ(error.column, c.column);
    }
}

TEST_F(HostApiTest, DocumentTypeDeclarationsAreRefusedSoNoEntityIsRead) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromString(
        "<!DOCTYPE a [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>\n<a>&e;</a>", document.Put(),
        &error);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_FALSE(document);
    EXPECT_NE(error.message.find("document type"), std::string::npos) << error.message;
    EXPECT_EQ(error.line, 1);
}

TEST_F(HostApiTest, MissingFileNamesThePath) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromFile("/nonexistent/ticket.xml", document.Put(), &error);
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(document);
    EXPECT_NE(error.message.find("/nonexistent/ticket.xml"), std::string::npos);
}

TEST_F(HostApiTest, UnreadablePathAndEmptyFileAreToldApart) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_TRUE(FAILED(LoadDocumentFromFile(::testing::TempDir(), document.Put(), &error)));
    EXPECT_NE(error.message.find("cannot read"), std::string::npos) << error.message;

    TemporaryFile empty("");
    EXPECT_TRUE(FAILED(LoadDocumentFromFile(empty.Path(), document.Put(), &error)));
    EXPECT_EQ(error.message.find("cannot read"), std::string::npos) << error.message;
    EXPECT_FALSE(document);
}

TEST_F(HostApiTest, LoadsFilesInTheirDeclaredEncoding) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>x</a>")) {
        utf16 += c;
        utf16 += '\0';
    }
    TemporaryFile file(utf16);
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    ASSERT_EQ(LoadDocumentFromFile(file.Path(), document.Put(), &error), S_OK) << error.message;
    EXPECT_EQ(NodeText(Root(document.Get()).Get()), "x");
    EXPECT_NE(Save(document.Get()).find("encoding=\"UTF-8\""), std::string::npos);
}

TEST_F(HostApiTest, MalformedFileReportsTheParserError) {
    TemporaryFile file("<a>");
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_TRUE(FAILED(LoadDocumentFromFile(file.Path(), document.Put(), &error)));
    EXPECT_EQ(error.line, 1);
}

TEST_F(HostApiTest, CopyIsADocumentOfItsOwnThatSharesNoNodeWithTheSource) {
    auto source = Load(TicketXml);
    auto sourceRoot = Root(source.Get());
    ComPtr<IXMLDOMDocument2> copy;
    ASSERT_EQ(CopyDocument(source.Get(), copy.Put()), S_OK);
    EXPECT_EQ(Save(copy.Get()), Save(source.Get()));
    auto copyRoot = Root(copy.Get());
    EXPECT_NE(static_cast<IUnknown*>(copyRoot.Get()), static_cast<IUnknown*>(sourceRoot.Get()));
    // An edit of the copy leaves the source as it was.
    std::string before = Save(source.Get());
    auto feature = Find(copy.Get(), "psf:Feature");
    ComPtr<IXMLDOMNode> removed;
    ASSERT_EQ(copyRoot->removeChild(feature.Get(), removed.Put()), S_OK);
    EXPECT_EQ(Save(source.Get()), before);
    EXPECT_NE(Save(copy.Get()), before);
    EXPECT_EQ(CopyDocument(nullptr, copy.Put()), E_POINTER);
}

// Loading the copy again would drop white space the source holds: a text
// set to white space only, or everything when the source keeps it.
TEST_F(HostApiTest, CopyKeepsTheExactContentAndPreserveWhiteSpace) {
    for (bool preserve : {false, true}) {
        SCOPED_TRACE(preserve ? "preserving" : "not preserving");
        auto source = Load("<a>\n  <b/>\n  <c/>\n</a>", preserve);
        UniqueBstr blank = MakeBstr(u"   ");
        ASSERT_EQ(Find(source.Get(), "c")->put_text(blank.Get()), S_OK);
        ComPtr<IXMLDOMDocument2> copy;
        ASSERT_EQ(CopyDocument(source.Get(), copy.Put()), S_OK);
        EXPECT_EQ(Save(copy.Get()), Save(source.Get()));
        VARIANT_BOOL preserving = VARIANT_FALSE;
        ASSERT_EQ(copy->get_preserveWhiteSpace(&preserving), S_OK);
        EXPECT_EQ(preserving, preserve ? VARIANT_TRUE : VARIANT_FALSE);
    }
}

TEST_F(HostApiTest, HostFunctionsRefuseNullPointers) {
    XmlLoadError error;
    EXPECT_EQ(LoadDocumentFromString("<a/>", nullptr, &error), E_POINTER);
    EXPECT_EQ(CreateDomDocument(nullptr), E_POINTER);
    EXPECT_EQ(SaveDocumentToString(nullptr, nullptr), E_POINTER);
    ComPtr<IXMLDOMDocument2> document;
    EXPECT_EQ(LoadDocumentFromString("<a/>", document.Put(), nullptr), S_OK);
    EXPECT_EQ(SaveDocumentToString(document.Get(), nullptr), E_POINTER);
}
} // namespace
