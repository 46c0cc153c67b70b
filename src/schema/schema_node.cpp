#include "schema/schema_node.h"

#include "schema/caller_buffer.h"
#include "xml/print_schema_dom_helper.h"

namespace ptbridge {

SchemaNode::SchemaNode(PrintSchemaDomHelper* helper, IXMLDOMElement* element) : helper_(helper) {
    if (element)
        element->AddRef();
    element_.Attach(element);
}

SchemaNode::~SchemaNode() = default;

bool SchemaNode::FormatQName(const WCHAR* namespaceUri, const WCHAR* localName, WCHAR* buffer,
                             ULONG* capacity) {
    PrintSchemaDomHelper* helper = Helper();
    if (!helper)
        return false;
    UniqueBstr qname;
    if (helper->MakeQName(namespaceUri, localName, qname.Put()) != S_OK)
        return false;
    return CopyToCallerBuffer(qname.Get(), buffer, capacity);
}

IXMLDOMElement* SchemaNode::Element() const {
    return element_.Get();
}

PrintSchemaDomHelper* SchemaNode::Helper() const {
    return helper_;
}

void SchemaNode::AdoptElement(IXMLDOMElement* element) {
    element_.Attach(element);
}

void SchemaNode::SetHelper(PrintSchemaDomHelper* helper) {
    helper_ = helper;
}

} // namespace ptbridge
