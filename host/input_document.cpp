#include "input_document.h"

#include "platform_seams.h"
#include "private_namespace.h"

namespace ptbridge {

namespace {
bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}
} // namespace

bool LoadInputFile(const std::string& file, const std::string& label, bool preserveWhiteSpace,
                   ComPtr<IXMLDOMDocument2>* document, std::string* text, std::string* error) {
    InputLoad load = LoadInputDocument(file, label, preserveWhiteSpace, document, text, error);
    if (load == InputLoad::NotADocument && IsBlank(*text))
        *error = label + " is empty: there is no document to convert";
    return load == InputLoad::Loaded;
}

bool DeclarePluginNamespace(const std::string& theirs, const std::string& plugins,
                            const std::string& label, bool preserveWhiteSpace,
                            ComPtr<IXMLDOMDocument2>* document, std::string* text,
                            std::string* error) {
    if (theirs.empty())
        return true;
    document->Reset();
    return UsePluginNamespace(theirs, plugins, label, text, error) &&
           ParseDocument(*text, label, preserveWhiteSpace, document, error);
}

} // namespace ptbridge
