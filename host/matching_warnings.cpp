#include "matching_warnings.h"

#include "print_schema_names.h"
#include "text_encoding.h"

#include <string>
#include <vector>

namespace ptbridge {

namespace {
std::string Utf8(const std::u16string& text) {
    return Utf8FromUtf16(text);
}

// Warns when the root binds `uri` to more than one prefix: the rules use one.
void SeveralPrefixes(SchemaReader& reader, const std::u16string& uri, const char* what,
                     std::vector<Finding>* findings) {
    std::u16string prefixes;
    int count = 0;
    for (const NamespaceDeclaration& declaration : SchemaReader::Declarations(reader.Root())) {
        if (declaration.uri != uri)
            continue;
        prefixes += (prefixes.empty() ? u"" : u", ") +
                    (declaration.prefix.empty() ? u"the default namespace" : declaration.prefix);
        ++count;
    }
    std::u16string used;
    if (count < 2 || !reader.MakeQName(uri, u"x", &used))
        return;
    used.resize(used.size() > 1 ? used.size() - 2 : 0);
    findings->push_back({reader.LineOf(reader.Root()),
                         std::string("the root binds the ") + what + " namespace to " +
                             Utf8(prefixes) + ": the rules match and write names with " +
                             (used.empty() ? "the default namespace" : Utf8(used) + ":") +
                             " only, so a name written with another of them is not found"});
}

// Warns for each element below the root that binds a prefix the rules use to
// another namespace: inside it, a name the rules read or write with that
// prefix means something else.
void ReboundPrefixes(SchemaReader& reader, const std::vector<std::u16string>& uris,
                     std::vector<Finding>* findings) {
    std::vector<NamespaceDeclaration> used;
    for (const std::u16string& uri : uris) {
        std::u16string qName;
        if (reader.MakeQName(uri, u"x", &qName) && qName.size() > 2)
            used.push_back({qName.substr(0, qName.size() - 2), uri});
    }
    std::vector<ComPtr<IXMLDOMNode>> elements = reader.AllElements();
    for (size_t i = 1; i < elements.size(); ++i) {
        for (const NamespaceDeclaration& declaration :
             SchemaReader::Declarations(elements[i].Get())) {
            for (const NamespaceDeclaration& rule : used) {
                if (declaration.prefix == rule.prefix && declaration.uri != rule.uri)
                    findings->push_back({reader.LineOf(elements[i].Get()),
                                         "the prefix " + Utf8(rule.prefix) +
                                             ", which the rules use for " + Utf8(rule.uri) +
                                             ", is bound to " + Utf8(declaration.uri) +
                                             " here: the rules still read and write " +
                                             Utf8(rule.prefix) + ": names inside this element"});
            }
        }
    }
}

std::u16string Name(SchemaReader& reader, const std::u16string& uri, const std::u16string& local) {
    std::u16string qName;
    return reader.MakeQName(uri, local, &qName) ? qName : u"";
}

// Every feature named `local` in `uri`, below `parent` or in the whole document.
std::vector<ComPtr<IXMLDOMNode>> Features(SchemaReader& reader, const std::u16string& uri,
                                          const std::u16string& local,
                                          IXMLDOMNode* parent = nullptr) {
    std::vector<ComPtr<IXMLDOMNode>> found;
    std::u16string feature = Name(reader, FrameworkNamespace, u"Feature");
    std::u16string name = Name(reader, uri, local);
    if (!feature.empty() && !name.empty())
        reader.ListNamed(parent, feature, name, &found);
    return found;
}

void SeveralFeatures(SchemaReader& reader, const std::u16string& local, const char* edit,
                     std::vector<Finding>* findings) {
    std::vector<ComPtr<IXMLDOMNode>> features = Features(reader, KeywordsNamespace, local);
    for (size_t i = 1; i < features.size(); ++i)
        findings->push_back({reader.LineOf(features[i].Get()),
                             "a second " + Utf8(Name(reader, KeywordsNamespace, local)) +
                                 ": the rules " + edit + " only the first, on line " +
                                 std::to_string(reader.LineOf(features[0].Get()))});
}

void PresentHoleCount(SchemaReader& reader, std::vector<Finding>* findings) {
    std::vector<ComPtr<IXMLDOMNode>> features =
        Features(reader, KeywordsNamespace, u"JobHolePunch");
    std::u16string optionElement = Name(reader, FrameworkNamespace, u"Option");
    std::u16string propertyElement = Name(reader, FrameworkNamespace, u"ScoredProperty");
    std::u16string holeCount = Name(reader, KeywordsNamespace, u"HoleCount");
    ComPtr<IXMLDOMNode> option;
    ComPtr<IXMLDOMNode> property;
    if (features.empty() || optionElement.empty() || propertyElement.empty() || holeCount.empty() ||
        !reader.FirstBelow(features[0].Get(), optionElement, &option) ||
        reader.FindNamed(option.Get(), propertyElement, holeCount, &property) != Search::Found)
        return;
    findings->push_back({reader.LineOf(property.Get()),
                         Utf8(holeCount) +
                             " is already present: the ticket command appends the new value "
                             "after the values it holds, and a reader of the first value sees "
                             "the old one"});
}

void PresentPresentationDirection(SchemaReader& reader, std::vector<Finding>* findings) {
    std::vector<ComPtr<IXMLDOMNode>> parents =
        Features(reader, KeywordsNamespace, u"JobNUpAllDocumentsContiguously");
    if (parents.empty())
        return;
    for (const ComPtr<IXMLDOMNode>& inside :
         Features(reader, KeywordsNamespace, u"PresentationDirection", parents[0].Get()))
        findings->push_back(
            {reader.LineOf(inside.Get()),
             Utf8(Name(reader, KeywordsNamespace, u"PresentationDirection")) +
                 " is already inside " +
                 Utf8(Name(reader, KeywordsNamespace, u"JobNUpAllDocumentsContiguously")) +
                 ": publishing appends a second one"});
}

bool IsPublicNamespace(const std::u16string& uri) {
    for (const char16_t* known :
         {u"http://schemas.microsoft.com/windows/", u"http://www.w3.org/", u"urn:"}) {
        if (uri.compare(0, std::char_traits<char16_t>::length(known), known) == 0)
            return true;
    }
    return false;
}
} // namespace

std::vector<Finding> ReadMatchingWarnings(SchemaReader& reader,
                                          const std::u16string& privateNamespace, bool publishing,
                                          bool ticket) {
    std::vector<Finding> findings;
    SeveralPrefixes(reader, KeywordsNamespace, "keywords", &findings);
    SeveralPrefixes(reader, FrameworkNamespace, "framework", &findings);
    ReboundPrefixes(
        reader,
        {FrameworkNamespace, KeywordsNamespace, privateNamespace, XsiNamespace, XsdNamespace},
        &findings);
    SeveralFeatures(reader, u"JobOutputBin", "edit", &findings);
    if (ticket)
        SeveralFeatures(reader, u"JobHolePunch", "edit", &findings);
    // A document the core driver wrote holds the private feature; one an
    // application hands back holds the public names already, as it should.
    if (!publishing || Features(reader, privateNamespace, u"JobPresentationDirection").empty())
        return findings;
    PresentPresentationDirection(reader, &findings);
    if (ticket)
        PresentHoleCount(reader, &findings);
    return findings;
}

std::vector<Finding> SuggestPrivateNamespace(SchemaReader& reader,
                                             const std::u16string& privateNamespace) {
    std::vector<Finding> suggestions;
    const std::vector<NamespaceDeclaration> declarations =
        SchemaReader::Declarations(reader.Root());
    for (const NamespaceDeclaration& declaration : declarations) {
        if (declaration.uri == privateNamespace)
            return {};
    }
    for (const NamespaceDeclaration& declaration : declarations) {
        if (declaration.uri.empty() || IsPublicNamespace(declaration.uri))
            continue;
        suggestions.push_back(
            {reader.LineOf(reader.Root()),
             "the document declares " + Utf8(declaration.uri) +
                 ", which looks like a driver's private namespace, and not the plug-in's " +
                 Utf8(privateNamespace) +
                 ": to read it as the plug-in's, add --private-namespace " +
                 Utf8(declaration.uri)});
    }
    return suggestions;
}

} // namespace ptbridge
