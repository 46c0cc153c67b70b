// A parsed document wrapped in a SchemaDocument, with the reference, string
// and DOM-object counts checked after every test, and small DOM readers that
// let the tests look at the document without going through the wrappers.
#pragma once

#include "dom_reading.h"
#include "fake_core_helper.h"
#include "print_schema_root.h"
#include "schema/schema_document.h"

#include <gtest/gtest.h>

#include <string>

// Roots declaring psf, psk, xsi, xsd and ns0000 (the private namespace).
inline const PrintSchemaRoot Documents{PrintSchemaDeclarations() +
                                       Declaration("ns0000", PrivateUri)};

class SchemaTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Parses `xml` and wraps it in `document`.
    void Load(const std::string& xml);
    static std::string NameOf(IXMLDOMElement* element) { return AttributeText(element, "name"); }
    // The tag name of the element's parent, or "<detached>".
    static std::string ParentTagOf(IXMLDOMElement* element);
    // The name of the parent element (as NameOf), or "<detached>".
    static std::string ParentNameOf(IXMLDOMElement* element);
    // Whether the two pointers are the same DOM node.
    static bool SameNode(IXMLDOMNode* first, IXMLDOMNode* second);
    // The last child element of `element`; null when there is none.
    static ptbridge::ComPtr<IXMLDOMElement> LastChild(IXMLDOMNode* element);
    // Whether `child` is the last child element of `element`.
    static bool IsLastChild(IXMLDOMNode* element, IXMLDOMNode* child);
    // Number of element children of `element` with that tag name.
    static int ChildCount(IXMLDOMNode* element, const std::string& tagName);
    // The whole document as text.
    std::string Saved() const;

    FakeCoreHelper host;
    IXMLDOMDocument2* dom = nullptr;
    ptbridge::SchemaDocument* document = nullptr;

  private:
    LiveObjectCounts atStart_;
};
