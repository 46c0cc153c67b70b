#include "dom_text.h"

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

std::u16string Utf16(const WCHAR* text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

UniqueBstr MakeBstr(const std::u16string& text) {
    return UniqueBstr(SysAllocStringLen(AsWchar(text.data()), static_cast<UINT>(text.size())));
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
