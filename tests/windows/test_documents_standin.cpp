#include "test_documents.h"

#include "msxml_standin.h"

#include <gtest/gtest.h>

using namespace ptbridge;

ComPtr<IXMLDOMDocument2> ParseTestDocument(const std::string& xml) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_EQ(LoadDocumentFromString(xml, document.Put(), &error), S_OK) << error.message;
    return document;
}
