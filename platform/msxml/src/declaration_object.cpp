#include "declaration_object.h"

#include "node_names.h"

namespace ptbridge::standin {

DeclarationObject::DeclarationObject(DocumentOwner* owner, xmlNsPtr declaration, xmlNodePtr element)
    : AttributeObject(owner, nullptr), declaration_(declaration), element_(element) {
    declaration_->_private = static_cast<NodeObject*>(this);
}

DeclarationObject::~DeclarationObject() {
    declaration_->_private = nullptr;
}

std::string DeclarationObject::Name() const {
    return DeclarationName(declaration_);
}

const xmlChar* DeclarationObject::Prefix() const {
    return declaration_->prefix ? BAD_CAST "xmlns" : nullptr;
}

const xmlChar* DeclarationObject::BaseName() const {
    return declaration_->prefix ? declaration_->prefix : BAD_CAST "xmlns";
}

const xmlChar* DeclarationObject::NamespaceUri() const {
    return BAD_CAST XmlnsNamespaceUri;
}

HRESULT DeclarationObject::ReadText(std::string* text) const {
    text->assign(Text(declaration_->href));
    return S_OK;
}

HRESULT DeclarationObject::WriteText(const std::string& text) {
    if (element_)
        return E_FAIL;
    xmlChar* uri = xmlStrdup(XmlText(text));
    if (!uri)
        return E_OUTOFMEMORY;
    xmlFree(const_cast<xmlChar*>(declaration_->href));
    declaration_->href = uri;
    return S_OK;
}

HRESULT DeclarationObject::Markup(std::string* xml) const {
    *xml = Name() + "=\"";
    for (const char* at = Text(declaration_->href); *at; ++at) {
        switch (*at) {
        case '&':
            *xml += "&amp;";
            break;
        case '<':
            *xml += "&lt;";
            break;
        case '"':
            *xml += "&quot;";
            break;
        default:
            *xml += *at;
        }
    }
    *xml += '"';
    return S_OK;
}

} // namespace ptbridge::standin
