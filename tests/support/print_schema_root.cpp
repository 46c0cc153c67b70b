#include "print_schema_root.h"

std::string Declaration(const std::string& prefix, const std::string& uri) {
    return " xmlns:" + prefix + "=\"" + uri + "\"";
}

std::string PrintSchemaDeclarations(const std::string& keywordsPrefix) {
    return Declaration("psf", FrameworkUri) + Declaration(keywordsPrefix, KeywordsUri) +
           Declaration("xsi", XsiUri) + Declaration("xsd", XsdUri);
}

std::string PrintSchemaRoot::Document(const std::string& rootName, const std::string& body) const {
    return "<psf:" + rootName + declarations_ + " version=\"1\">" + body + "</psf:" + rootName +
           ">";
}
