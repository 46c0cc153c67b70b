#include "dom_reading.h"

#include "platform_testing.h"

using namespace ptbridge;

std::string Utf8(const WCHAR* text) {
    std::string narrow;
    for (; text && *text; ++text) {
        EXPECT_LT(*text, 0x80) << "Utf8() is meant for ASCII text";
        narrow += static_cast<char>(*text);
    }
    return narrow;
}

std::u16string Wide(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

UniqueBstr MakeBstr(const std::u16string& text) {
    return UniqueBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

::testing::AssertionResult ParseDocument(const std::string& xml, IXMLDOMDocument2** document,
                                         bool preserveWhiteSpace) {
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromString(xml, document, &error, preserveWhiteSpace);
    if (hr == S_OK)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "parse failed (0x" << std::hex << hr << std::dec << "): " << error.message << " at "
           << error.line << ":" << error.column;
}

std::string NodeName(IXMLDOMNode* node) {
    UniqueBstr name;
    EXPECT_EQ(node->get_nodeName(name.Put()), S_OK);
    return Utf8(name.Get());
}

std::string NodeText(IXMLDOMNode* node) {
    UniqueBstr text;
    EXPECT_EQ(node->get_text(text.Put()), S_OK);
    return Utf8(text.Get());
}

std::string AttributeText(IXMLDOMNode* element, const std::string& name) {
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ComPtr<IXMLDOMNode> attribute;
    UniqueBstr wanted = MakeBstr(Wide(name));
    if (element->get_attributes(attributes.Put()) != S_OK || !attributes ||
        attributes->getNamedItem(wanted.Get(), attribute.Put()) != S_OK)
        return AbsentAttribute;
    return NodeText(attribute.Get());
}

LiveObjectCounts::LiveObjectCounts()
    : domObjects_(LiveDomObjectCount()), bstrs_(PlatformLiveBstrCount()),
      taskMemory_(PlatformLiveTaskMemCount()) {}

void LiveObjectCounts::ExpectUnchanged(const std::string& when) const {
    EXPECT_EQ(LiveDomObjectCount(), domObjects_) << "DOM objects left alive " << when;
    EXPECT_EQ(PlatformLiveBstrCount(), bstrs_) << "BSTRs left alive " << when;
    EXPECT_EQ(PlatformLiveTaskMemCount(), taskMemory_) << "task memory left alive " << when;
}
