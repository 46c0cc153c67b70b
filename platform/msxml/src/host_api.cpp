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
#include <vector>

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

// A file that cannot be read: the result its reason gives, and a message naming it.
HRESULT Unreadable(const std::string& path, int reason, XmlLoadError* error) {
    if (error) {
        *error = XmlLoadError();
        error->message = "cannot read " + path + ": " + std::strerror(reason);
    }
    return OpenFailure(reason);
}

// Reads an open file a piece at a time for a load, so that the whole text is
// never held at once; remembers why reading failed.
class FilePieces {
  public:
    explicit FilePieces(std::FILE* file) : file_(file), buffer_(256 * 1024) {}

    bool Next(const char** data, size_t* length) {
        *data = buffer_.data();
        *length = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        if (*length == 0 && std::ferror(file_)) {
            reason_ = errno ? errno : EIO;
            return false;
        }
        return true;
    }
    // The reason reading failed; 0 while it has not.
    int Failure() const { return reason_; }

  private:
    std::FILE* file_;
    std::vector<char> buffer_;
    int reason_ = 0;
};

HRESULT Load(const TextPieces& pieces, TextEncoding encoding, bool preserveWhiteSpace,
             IXMLDOMDocument2** document, XmlLoadError* error) {
    LoadedXml loaded;
    HRESULT hr = LoadXml(pieces, encoding, preserveWhiteSpace, &loaded, error);
    if (hr != S_OK)
        return hr;
    DocumentOwner* owner = DocumentOwner::Create(loaded.doc, preserveWhiteSpace);
    if (!owner)
        return E_OUTOFMEMORY;
    if (loaded.escapeUris)
        owner->NoteUrisToEscape();
    owner->SetTextSize(loaded.textSize);
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
    return Guarded([&] {
        return Load(PiecesOf(xml), TextEncoding::Declared, preserveWhiteSpace, document, error);
    });
}

HRESULT LoadDocumentFromFile(const std::string& path, IXMLDOMDocument2** document,
                             XmlLoadError* error, bool preserveWhiteSpace) {
    if (!document)
        return E_POINTER;
    *document = nullptr;
    return Guarded([&] {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             std::fclose);
        if (!file)
            return Unreadable(path, errno, error);
        FilePieces reader(file.get());
        HRESULT hr =
            Load([&](const char** data, size_t* length) { return reader.Next(data, length); },
                 TextEncoding::Declared, preserveWhiteSpace, document, error);
        return reader.Failure() ? Unreadable(path, reader.Failure(), error) : hr;
    });
}

HRESULT LoadDocumentFromPieces(const XmlTextPieces& pieces, IXMLDOMDocument2** document,
                               XmlLoadError* error, bool preserveWhiteSpace) {
    if (!document)
        return E_POINTER;
    *document = nullptr;
    return Guarded(
        [&] { return Load(pieces, TextEncoding::Declared, preserveWhiteSpace, document, error); });
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
