// The DOM behaviour cases over MSXML 6: documents and namespace managers made
// through COM, documents loaded with loadXML and saved with save. Live-object counts exist only
// on the stand-in, so no leak check runs here; a case listed among the known
// differences of the MSXML under test is skipped with its reason.
#include "dom_test_support.h"
#include "text_encoding.h"
#include "windows/msxml_document_class.h"
#include "wine_differences.h"

using namespace ptbridge;

void DomTest::SetUp() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (const KnownDifference* difference =
            FindKnownDifference(std::string(test->test_suite_name()) + "." + test->name()))
        GTEST_SKIP() << DescribeKnownDifference(*difference);
}

void DomTest::TearDown() {}

ComPtr<IXMLDOMDocument2> DomTest::NewDocument() {
    ComPtr<IXMLDOMDocument2> document;
    EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IXMLDOMDocument2, document.PutVoid()),
              S_OK);
    if (document) {
        EXPECT_EQ(document->put_async(VARIANT_FALSE), S_OK);
    }
    return document;
}

ComPtr<IXMLDOMDocument2> DomTest::Load(const std::string& xml, bool preserveWhiteSpace) {
    ComPtr<IXMLDOMDocument2> document = NewDocument();
    std::u16string text;
    if (!document || !Utf16FromUtf8(xml, &text)) {
        ADD_FAILURE() << "no document, or the text is not UTF-8";
        return ComPtr<IXMLDOMDocument2>();
    }
    EXPECT_EQ(document->put_preserveWhiteSpace(preserveWhiteSpace ? VARIANT_TRUE : VARIANT_FALSE),
              S_OK);
    UniqueBstr source = MakeBstr(text);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    HRESULT hr = document->loadXML(source.Get(), &loaded);
    if (hr == S_OK && loaded == VARIANT_TRUE)
        return document;
    ComPtr<IXMLDOMParseError> error;
    UniqueBstr reason;
    long line = 0, column = 0;
    if (document->get_parseError(error.Put()) == S_OK && error) {
        error->get_reason(reason.Put());
        error->get_line(&line);
        error->get_linepos(&column);
    }
    ADD_FAILURE() << "loadXML failed (0x" << std::hex << hr << std::dec
                  << "): " << Utf8FromUtf16(Utf16(reason.Get())) << " at " << line << ":" << column;
    return ComPtr<IXMLDOMDocument2>();
}

// What MSXML's save writes into a stream: the bytes a saved file would hold.
// (The xml property is not used: Wine's re-indents the tree with tabs and
// "\r\n" wherever an element holds no text, which no normalising can undo.)
std::string DomTest::Save(IXMLDOMDocument2* document) {
    ComPtr<IStream> stream;
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
    if (!stream)
        return std::string();
    UniqueVariant destination;
    V_VT(destination.Get()) = VT_UNKNOWN;
    V_UNKNOWN(destination.Get()) = stream.Get();
    stream->AddRef();
    EXPECT_EQ(document->save(*destination.Get()), S_OK);
    HGLOBAL memory = nullptr;
    STATSTG status = {};
    if (GetHGlobalFromStream(stream.Get(), &memory) != S_OK ||
        stream->Stat(&status, STATFLAG_NONAME) != S_OK) {
        ADD_FAILURE() << "the saved stream cannot be read";
        return std::string();
    }
    const char* bytes = static_cast<const char*>(GlobalLock(memory));
    std::string text(bytes, static_cast<size_t>(status.cbSize.QuadPart));
    GlobalUnlock(memory);
    return text;
}

HRESULT DomTest::NewNamespaceManager(REFIID iid, void** manager) {
    return CoCreateInstance(CLSID_MXNamespaceManager60, nullptr, CLSCTX_INPROC_SERVER, iid,
                            manager);
}
