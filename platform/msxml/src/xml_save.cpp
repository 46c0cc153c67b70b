#include "xml_save.h"

#include <libxml/entities.h>
#include <libxml/xmlsave.h>

#include <cstring>
#include <utility>
#include <vector>

namespace ptbridge::standin {

namespace {
// While an object of this class lives, the declarations below `top` hold
// their URIs escaped.
class DeclarationsEscaped {
  public:
    DeclarationsEscaped(xmlNodePtr top, bool needed) {
        xmlNodePtr node = needed ? top : nullptr;
        while (node) {
            if (node->type == XML_ELEMENT_NODE)
                for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
                    Escape(ns);
            bool descend = node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE;
            if (descend && node->children) {
                node = node->children;
                continue;
            }
            while (node != top && !node->next)
                node = node->parent;
            node = node == top ? nullptr : node->next;
        }
    }
    ~DeclarationsEscaped() {
        for (auto& [ns, uri] : escaped_) {
            xmlFree(const_cast<xmlChar*>(ns->href));
            ns->href = uri;
        }
    }
    DeclarationsEscaped(const DeclarationsEscaped&) = delete;
    DeclarationsEscaped& operator=(const DeclarationsEscaped&) = delete;

    // False when memory ran out and some URI could not be escaped.
    bool Complete() const { return complete_; }

  private:
    void Escape(xmlNsPtr ns) {
        if (!UriNeedsEscaping(ns->href))
            return;
        escaped_.emplace_back(ns, ns->href);
        xmlChar* escaped = xmlEncodeSpecialChars(nullptr, ns->href);
        if (escaped)
            ns->href = escaped;
        else
            escaped_.pop_back();
        complete_ = complete_ && escaped;
    }

    std::vector<std::pair<xmlNsPtr, const xmlChar*>> escaped_;
    bool complete_ = true;
};

// Appends what the serialiser writes; a failed append is reported to the
// serialiser rather than thrown through it.
int Append(void* xml, const char* data, int length) {
    try {
        static_cast<std::string*>(xml)->append(data, static_cast<size_t>(length));
        return length;
    } catch (...) {
        return -1;
    }
}

template <class Write>
HRESULT Serialize(xmlNodePtr top, bool escapeUris, size_t expectedSize, std::string* xml,
                  int options, Write write) {
    DeclarationsEscaped declarations(top, escapeUris);
    if (!declarations.Complete())
        return E_OUTOFMEMORY;
    std::string text;
    text.reserve(expectedSize);
    xmlSaveCtxtPtr saver = xmlSaveToIO(Append, nullptr, &text, "UTF-8", options);
    if (!saver)
        return E_OUTOFMEMORY;
    bool written = write(saver) >= 0;
    if (xmlSaveClose(saver) < 0 || !written)
        return E_OUTOFMEMORY;
    xml->swap(text);
    return S_OK;
}
} // namespace

bool UriNeedsEscaping(const xmlChar* uri) {
    return uri && std::strpbrk(reinterpret_cast<const char*>(uri), "&<");
}

HRESULT SaveDocument(xmlDocPtr doc, bool escapeUris, size_t expectedSize, std::string* xml) {
    return Serialize(reinterpret_cast<xmlNodePtr>(doc), escapeUris, expectedSize, xml, 0,
                     [doc](xmlSaveCtxtPtr saver) { return xmlSaveDoc(saver, doc); });
}

HRESULT NodeMarkup(xmlNodePtr node, bool escapeUris, std::string* xml) {
    if (node->type == XML_DOCUMENT_NODE) {
        auto doc = reinterpret_cast<xmlDocPtr>(node);
        HRESULT hr = Serialize(node, escapeUris, 0, xml, XML_SAVE_NO_DECL,
                               [doc](xmlSaveCtxtPtr saver) { return xmlSaveDoc(saver, doc); });
        if (hr == S_OK)
            xml->insert(0, "<?xml version=\"1.0\"?>\n");
        return hr;
    }
    HRESULT hr = Serialize(node, escapeUris, 0, xml, 0,
                           [node](xmlSaveCtxtPtr saver) { return xmlSaveTree(saver, node); });
    // An attribute is written as it stands in a start tag, after a space.
    if (hr == S_OK && node->type == XML_ATTRIBUTE_NODE && !xml->empty())
        xml->erase(0, 1);
    return hr;
}

} // namespace ptbridge::standin
