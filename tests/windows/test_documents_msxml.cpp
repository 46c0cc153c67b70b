#include "test_documents.h"

#include "platform_seams.h"

#include <gtest/gtest.h>

using namespace ptbridge;

ComPtr<IXMLDOMDocument2> ParseTestDocument(const std::string& xml) {
    ComPtr<IXMLDOMDocument2> document;
    std::string error;
    EXPECT_TRUE(ParseDocument(xml, "test document", false, &document, &error)) << error;
    return document;
}
