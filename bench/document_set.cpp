#include "document_set.h"

#include "msxml_standin.h"

namespace ptbridge {

std::string SizeLabel(size_t nominalBytes) {
    if (nominalBytes >= 1024 * KiB)
        return std::to_string(nominalBytes / (1024 * KiB)) + " MB";
    return std::to_string(nominalBytes / KiB) + " KB";
}

DocumentSet::~DocumentSet() {
    for (auto& entry : parsed_)
        if (entry.second)
            entry.second->Release();
}

const std::string& DocumentSet::Text(DocumentKind kind, size_t nominalBytes) {
    Key key{kind, nominalBytes};
    auto found = texts_.find(key);
    if (found == texts_.end())
        found = texts_.emplace(key, GenerateDocumentOfSize(kind, nominalBytes)).first;
    return found->second;
}

IXMLDOMDocument2* DocumentSet::Parsed(DocumentKind kind, size_t nominalBytes) {
    Key key{kind, nominalBytes};
    auto found = parsed_.find(key);
    if (found != parsed_.end())
        return found->second;
    IXMLDOMDocument2* document = nullptr;
    if (LoadDocumentFromString(Text(kind, nominalBytes), &document, nullptr) != S_OK)
        document = nullptr;
    parsed_[key] = document;
    return document;
}

} // namespace ptbridge
