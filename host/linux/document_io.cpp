#include "platform_seams.h"

#include "hresult_names.h"

#include "msxml_standin.h"

namespace ptbridge {

bool ParseDocument(const std::string& text, const std::string& label, bool preserveWhiteSpace,
                   ComPtr<IXMLDOMDocument2>* document, std::string* error) {
    XmlLoadError loadError;
    HRESULT hr = LoadDocumentFromString(text, document->Put(), &loadError, preserveWhiteSpace);
    if (hr == S_OK && *document)
        return true;
    document->Reset();
    std::string where = label;
    if (loadError.line > 0) {
        where += ":" + std::to_string(loadError.line);
        if (loadError.column > 0)
            where += ":" + std::to_string(loadError.column);
    }
    std::string reason = loadError.message.empty() ? DescribeHResult(hr) : loadError.message;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    *error = where + ": XML error: " + reason;
    return false;
}

bool ParseDocumentFile(const std::string& path, bool preserveWhiteSpace,
                       ComPtr<IXMLDOMDocument2>* document) {
    if (LoadDocumentFromFile(path, document->Put(), nullptr, preserveWhiteSpace) == S_OK)
        return true;
    document->Reset();
    return false;
}

bool SerializeDocument(IXMLDOMDocument2* document, std::string* text, std::string* error) {
    HRESULT hr = SaveDocumentToString(document, text);
    if (hr != S_OK) {
        *error = "cannot serialise the document: " + DescribeHResult(hr);
        return false;
    }
    if (text->empty() || text->back() != '\n')
        text->push_back('\n');
    return true;
}

} // namespace ptbridge
