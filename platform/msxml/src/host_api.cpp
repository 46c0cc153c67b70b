// The host-side operations declared in msxml_standin.h.
#include "msxml_standin.h"

#include "document_object.h"
#include "namespace_manager.h"
#include "tree_edit.h"
#include "xml_load.h"
#include "xml_save.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    int reason = errno;
    bool failed = !file;
    if (file) {
        char chunk[65536];
        size_t read;
        while ((read = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
            text->append(chunk, read);
        failed = std::ferror(file.get()) != 0;
        reason = errno;
    }
    if (!failed)
        return S_OK;
    if (error) {
        *error = XmlLoadError();
        error->message = "cannot read " + path + ": " + std::strerror(reason);
    }
    return OpenFailure(reason);
}

HRESULT Load(const std::string& xml, TextEncoding encoding, bool preserveWhiteSpace,
             IXMLDOMDocument2** document, XmlLoadError* error) {
    LoadedXml loaded;
    HRESULT hr = LoadXml(xml, encoding, preserveWhiteSpace, &loaded, error);
    if (hr != S_OK)
        return hr;
    DocumentOwner* owner = DocumentOwner::Create(loaded.doc, preserveWhiteSpace);
    if (!owner)
        return E_OUTOFMEMORY;
    if (loaded.escapeUris)
        owner->NoteUrisToEscape();
    owner->SetTextSize(xml.size());
    return DocumentObject::Wrap(owner, document);
}

// The document object behind a stand-in document; null for anything else.
NodeObject* DocumentNodeObject(IXMLDOMDocument2* document) {
    NodeObject* object = NodeObject::From(document);
    return object && object->TreeNode() && object->TreeNode()->type == XML_DOCUMENT_NODE ? object
                                                                                         : nullptr;
}
} // namespace

HRESULT CreateDomDocument(IXMLDOMDocument2** document) {
    if (!document)
        return E_POINTER;
    *document = nullptr;
    xmlDocPtr doc = NewDocument();
    DocumentOwner* owner = doc ? DocumentOwner::Create(doc, false) : nullptr;
    return owner ? DocumentObject::Wrap(owner, document) : E_OUTOFMEMORY;
}

HRESULT LoadDocumentFromString(const std::string& xml, IXMLDOMDocument2** document,
                               XmlLoadError* error, bool preserveWhiteSpace) {
    if (!document)
        return E_POINTER;
    *document = nullptr;
    return Guarded(
        [&] { return Load(xml, TextEncoding::Declared, preserveWhiteSpace, document, error); });
}

HRESULT LoadDocumentFromFile(const std::string& path, IXMLDOMDocument2** document,
                             XmlLoadError* error, bool preserveWhiteSpace) {
    if (!document)
        return E_POINTER;
    *document = nullptr;
    return Guarded([&] {
        std::string text;
        HRESULT hr = ReadFile(path, &text, error);
        return hr == S_OK ? Load(text, TextEncoding::Declared, preserveWhiteSpace, document, error)
                          : hr;
    });
}

HRESULT CopyDocument(IXMLDOMDocument2* source, IXMLDOMDocument2** copy) {
    if (!source || !copy)
        return E_POINTER;
    *copy = nullptr;
    NodeObject* original = DocumentNodeObject(source);
    if (!original)
        return E_INVALIDARG;
    DocumentOwner& from = *original->Owner();
    xmlDocPtr doc = NewDocument();
    DocumentOwner* owner = doc ? DocumentOwner::Create(doc, from.PreserveWhiteSpace()) : nullptr;
    if (!owner)
        return E_OUTOFMEMORY;
    if (from.EscapeUris())
        owner->NoteUrisToEscape();
    owner->SetTextSize(from.TextSize());
    HRESULT hr = Guarded([&] { return ReplaceContent(*owner, from.Doc()); });
    if (hr != S_OK) {
        owner->Release();
        return hr;
    }
    return DocumentObject::Wrap(owner, copy);
}

HRESULT SaveDocumentToString(IXMLDOMDocument2* document, std::string* xml) {
    if (!document || !xml)
        return E_POINTER;
    NodeObject* object = DocumentNodeObject(document);
    if (!object)
        return E_INVALIDARG;
    DocumentOwner& owner = *object->Owner();
    HRESULT hr = Guarded(
        [&] { return SaveDocument(owner.Doc(), owner.EscapeUris(), owner.TextSize(), xml); });
    if (hr == S_OK)
        owner.SetTextSize(xml->size());
    return hr;
}

HRESULT CreateNamespaceManager(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    auto manager = NewObject<NamespaceManager>();
    if (!manager)
        return E_OUTOFMEMORY;
    HRESULT hr = manager->QueryInterface(riid, object);
    manager->Release();
    return hr;
}

} // namespace ptbridge
