// The host-side operations declared in msxml_standin.h.
#include "msxml_standin.h"

#include "document_object.h"
#include "namespace_manager.h"
#include "xml_parse.h"
#include "xml_serialize.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace ptbridge {

using namespace standin;

namespace {
HRESULT OpenFailure(int error) {
    if (error == ENOENT || error == ENOTDIR)
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (error == EACCES)
        return E_ACCESSDENIED;
    return E_FAIL;
}

HRESULT ReadFile(const std::string& path, std::string* text, XmlLoadError* error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    int reason = errno;
    bool failed = !file;
    if (file) {
        char chunk[65536];
        size_t read;
        while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            text->append(chunk, read);
        failed = std::ferror(file) != 0;
        reason = errno;
        std::fclose(file);
    }
    if (!failed)
        return S_OK;
    if (error) {
        *error = XmlLoadError();
        error->message = "cannot read " + path + ": " + std::strerror(reason);
    }
    return OpenFailure(reason);
}
} // namespace

namespace {
// A new empty document: its store and its document node.
HRESULT NewDocument(std::unique_ptr<NodeStore>* store, DocumentNode** doc) {
    store->reset(new (std::nothrow) NodeStore());
    if (!*store || !(*store)->Usable())
        return E_OUTOFMEMORY;
    *doc = NewDocumentNode(**store);
    return *doc ? S_OK : E_OUTOFMEMORY;
}

HRESULT Load(const std::string& xml, IXMLDOMDocument2** document, XmlLoadError* error,
             bool preserveWhiteSpace) {
    std::unique_ptr<NodeStore> store;
    DocumentNode* doc;
    HRESULT hr = NewDocument(&store, &doc);
    if (hr != S_OK)
        return hr;
    doc->preserveWhiteSpace = preserveWhiteSpace;
    if (!ParseXml(xml, TextEncoding::Declared, *store, doc, error))
        return E_FAIL;
    return DocumentObject::Wrap(std::move(store), doc, document);
}
} // namespace

HRESULT CreateDomDocument(IXMLDOMDocument2** document) {
    if (!document)
        return E_POINTER;
    *document = nullptr;
    std::unique_ptr<NodeStore> store;
    DocumentNode* doc;
    HRESULT hr = NewDocument(&store, &doc);
    if (hr != S_OK)
        return hr;
    return DocumentObject::Wrap(std::move(store), doc, document);
}

HRESULT LoadDocumentFromString(const std::string& xml, IXMLDOMDocument2** document,
                               XmlLoadError* error, bool preserveWhiteSpace) {
    if (!document)
        return E_POINTER;
    *document = nullptr;
    return Load(xml, document, error, preserveWhiteSpace);
}

HRESULT LoadDocumentFromFile(const std::string& path, IXMLDOMDocument2** document,
                             XmlLoadError* error, bool preserveWhiteSpace) {
    if (!document)
        return E_POINTER;
    *document = nullptr;
    std::string text;
    HRESULT hr = ReadFile(path, &text, error);
    if (hr != S_OK)
        return hr;
    return LoadDocumentFromString(text, document, error, preserveWhiteSpace);
}

HRESULT CopyDocument(IXMLDOMDocument2* source, IXMLDOMDocument2** copy) {
    if (!source || !copy)
        return E_POINTER;
    *copy = nullptr;
    NodeObject* node = NodeObject::From(source);
    if (!node)
        return E_INVALIDARG;
    // Through the saved form, so that the copy is laid out as a parsed
    // document is.
    std::string xml;
    HRESULT hr = SerializeDocument(node->Tree()->Doc(), &xml);
    if (hr != S_OK)
        return hr;
    return Load(xml, copy, nullptr, node->Tree()->Doc()->preserveWhiteSpace);
}

HRESULT SaveDocumentToString(IXMLDOMDocument2* document, std::string* xml) {
    if (!document || !xml)
        return E_POINTER;
    NodeObject* node = NodeObject::From(document);
    if (!node)
        return E_INVALIDARG;
    return SerializeDocument(node->Tree()->Doc(), xml);
}

HRESULT CreateNamespaceManager(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    auto manager = new (std::nothrow) NamespaceManager();
    if (!manager)
        return E_OUTOFMEMORY;
    HRESULT hr = manager->QueryInterface(riid, object);
    manager->Release();
    return hr;
}

} // namespace ptbridge
