#include "schema/schema_node.h"

#include "schema/caller_buffer.h"
#include "xml/print_schema_dom_helper.h"

SchemaNode::SchemaNode(PrintSchemaDomHelper* helper, IXMLDOMElement* element)
    : helper_(helper), element_(element) {
    if (element_ != nullptr) {
        element_->AddRef();
    }
}

SchemaNode::~SchemaNode() {
    if (element_ != nullptr) {
        element_->Release();
    }
}

bool SchemaNode::FormatQName(const WCHAR* namespaceUri, const WCHAR* localName, WCHAR* buffer,
                             ULONG* capacity) {
    PrintSchemaDomHelper* helper = Helper();
    if (helper == nullptr) {
        return false;
    }
    BSTR qname = nullptr;
    if (helper->MakeQName(namespaceUri, localName, &qname) != S_OK) {
        return false;
    }
    const bool copied = CopyToCallerBuffer(qname, buffer, capacity);
    SysFreeString(qname);
    return copied;
}

IXMLDOMElement* SchemaNode::Element() const {
    return element_;
}

PrintSchemaDomHelper* SchemaNode::Helper() const {
    return helper_;
}

void SchemaNode::AdoptElement(IXMLDOMElement* element) {
    element_ = element;
}

void SchemaNode::SetHelper(PrintSchemaDomHelper* helper) {
    helper_ = helper;
}
