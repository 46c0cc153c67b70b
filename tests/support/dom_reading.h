// What the DOM-based test programs over the stand-in DOM share: the portable
// reading helpers of dom_text.h, parsing a document from text, and proof that
// a test gave back every object it took.
#pragma once

#include "dom_text.h"
#include "msxml_standin.h"

#include <gtest/gtest.h>

#include <string>

// Parses `xml` into `document`; the failure names the parse error's place.
::testing::AssertionResult ParseDocument(const std::string& xml, IXMLDOMDocument2** document,
                                         bool preserveWhiteSpace = false);

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
