#include "test_documents.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace ptbridge;

ComPtr<IXMLDOMNode> FindElement(IXMLDOMDocument2* document, const char16_t* name) {
    ComPtr<IXMLDOMNode> found;
    ComPtr<IXMLDOMElement> root;
    if (!document || document->get_documentElement(root.Put()) != S_OK) {
        ADD_FAILURE() << "no root element";
        return found;
    }
    // The stand-in DOM matches tag names as written, MSXML under Wine local
    // names only: asking for the bare name and for "r:name" finds the element
    // on both.
    for (const char16_t* prefix : {u"", u"r:"}) {
        std::u16string tag = std::u16string(prefix) + name;
        UniqueBstr tagName(SysAllocString(reinterpret_cast<const WCHAR*>(tag.c_str())));
        ComPtr<IXMLDOMNodeList> list;
        HRESULT hr = root->getElementsByTagName(tagName.Get(), list.Put());
        if (hr == S_OK && list && list->get_item(0, found.Put()) == S_OK && found)
            return found;
    }
    ADD_FAILURE() << "no element of the local name asked for";
    return found;
}

ComPtr<IXMLDOMNode> RootElement(IXMLDOMDocument2* document) {
    ComPtr<IXMLDOMElement> root;
    ComPtr<IXMLDOMNode> node;
    if (document && document->get_documentElement(root.Put()) == S_OK)
        root->QueryInterface(IID_IXMLDOMNode, node.PutVoid());
    EXPECT_TRUE(node) << "no root element";
    return node;
}
