// What the DOM-based test programs share: parsing a document from text,
// reading names, text and attributes through the DOM, ASCII conversions for
// BSTRs, and proof that a test gave back every object it took.
#pragma once

#include "common/com_ptr.h"
#include "msxml_standin.h"

#include <gtest/gtest.h>

#include <string>

// ASCII wide text as narrow text; a null pointer is the empty text.
std::string Utf8(const WCHAR* text);
std::u16string Wide(const std::string& ascii);
// A BSTR holding `text`, null characters included.
ptbridge::UniqueBstr MakeBstr(const std::u16string& text);

// Parses `xml` into `document`; the failure names the parse error's place.
::testing::AssertionResult ParseDocument(const std::string& xml, IXMLDOMDocument2** document,
                                         bool preserveWhiteSpace = false);

std::string NodeName(IXMLDOMNode* node);
std::string NodeText(IXMLDOMNode* node);
inline const std::string AbsentAttribute = "<absent>";
// The text of the element's attribute written `name`, or AbsentAttribute.
std::string AttributeText(IXMLDOMNode* element, const std::string& name);

// The live DOM objects, BSTRs and task memory blocks when it was made; ExpectUnchanged
// checks that the counts are back to those.
class LiveObjectCounts {
  public:
    LiveObjectCounts();
    void ExpectUnchanged(const std::string& when) const;

  private:
    LONG domObjects_;
    LONG bstrs_;
    LONG taskMemory_;
};
