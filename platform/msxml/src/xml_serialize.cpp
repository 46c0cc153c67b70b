#include "xml_serialize.h"

#include <libxml/xmlsave.h>

namespace {
HRESULT Save(xmlNodePtr node, int options, std::string* xml) {
    xmlBufferPtr buffer = xmlBufferCreate();
    if (!buffer)
        return E_OUTOFMEMORY;
    xmlSaveCtxtPtr context = xmlSaveToBuffer(buffer, "UTF-8", options);
    if (!context) {
        xmlBufferFree(buffer);
        return E_OUTOFMEMORY;
    }
    long written = node->type == XML_DOCUMENT_NODE
                       ? xmlSaveDoc(context, reinterpret_cast<xmlDocPtr>(node))
                       : xmlSaveTree(context, node);
    xmlSaveClose(context);
    if (written >= 0)
        xml->assign(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                    xmlBufferLength(buffer));
    xmlBufferFree(buffer);
    return written >= 0 ? S_OK : E_FAIL;
}
} // namespace

HRESULT SerializeDocument(xmlDocPtr doc, std::string* xml) {
    return Save(reinterpret_cast<xmlNodePtr>(doc), 0, xml);
}

HRESULT SerializeNode(xmlNodePtr node, std::string* xml) {
    HRESULT hr = Save(node, XML_SAVE_NO_DECL, xml);
    if (hr != S_OK)
        return hr;
    if (node->type == XML_DOCUMENT_NODE)
        xml->insert(0, "<?xml version=\"1.0\"?>\n");
    else if (node->type == XML_ATTRIBUTE_NODE && !xml->empty() && xml->front() == ' ')
        xml->erase(0, 1);
    return S_OK;
}
