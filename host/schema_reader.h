// Reads a Print Schema document the way the plug-in's rules do: names are
// QNames made with the prefixes the root element declares; features, options
// and scored properties are found among the elements of that name at any depth
// through getElementsByTagName, by their "name" attribute (elements without
// one are passed over); the first option or value is the first such element
// below, at any depth. Given the document's text, it also tells the line each
// element starts on.
#pragma once

#include "common/com_ptr.h"
#include "common/platform.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace ptbridge {

enum class Search { Found, NotFound, Failed };

// A namespace declaration: the prefix (empty for a default namespace) and URI.
struct NamespaceDeclaration {
    std::u16string prefix;
    std::u16string uri;
};

// A prefix or local name of this many characters or more the plug-in refuses
// to join into a QName (E_INVALIDARG).
constexpr size_t MaxQNamePartLength = 10000;

class SchemaReader {
  public:
    // `text`, when given, is the text the document was parsed from; it must
    // outlive the reader.
    SchemaReader(IXMLDOMDocument2* document, const std::string* text);

    // Takes the root element and its namespace declarations.
    bool Open();

    // The QName the rules write for a name: the prefix the root element binds
    // to the namespace, a colon and the local name, or the bare local name for
    // the default namespace. False, with *why saying so, when the root binds
    // no prefix to it or the prefix is too long for the plug-in.
    bool MakeQName(const std::u16string& uri, const std::u16string& local, std::u16string* qName,
                   std::string* why = nullptr);

    // The first element named `elementName` below `parent` (the root element
    // when null) whose "name" attribute is `wanted`.
    Search FindNamed(IXMLDOMNode* parent, const std::u16string& elementName,
                     const std::u16string& wanted, ComPtr<IXMLDOMNode>* found);
    // Every element named `elementName` below `parent` (the root when null).
    bool ListNamed(IXMLDOMNode* parent, const std::u16string& elementName,
                   const std::u16string& wanted, std::vector<ComPtr<IXMLDOMNode>>* found);
    // The first option below `feature` named `wanted`, by its "name" attribute
    // or else by the value of its "OptionName" scored property, as the rules
    // look for an option.
    Search FindOption(IXMLDOMNode* feature, const std::u16string& wanted,
                      ComPtr<IXMLDOMNode>* found);
    // The first element named `elementName` below `parent`, at any depth.
    bool FirstBelow(IXMLDOMNode* parent, const std::u16string& elementName,
                    ComPtr<IXMLDOMNode>* found);
    // The text of an element as the rules read it.
    static bool Text(IXMLDOMNode* node, std::u16string* text);

    // Whether `node` is `ancestor` or lies inside it.
    static bool Contains(IXMLDOMNode* ancestor, IXMLDOMNode* node);

    // The namespace declarations an element makes itself, in document order.
    static std::vector<NamespaceDeclaration> Declarations(IXMLDOMNode* element);

    IXMLDOMNode* Root() const;
    // The line `element` starts on; 0 without the document's text.
    int LineOf(IXMLDOMNode* element);
    // Every element of the document in document order, the root first.
    std::vector<ComPtr<IXMLDOMNode>> AllElements();

  private:
    bool ListBelow(IXMLDOMNode* parent, const std::u16string& elementName,
                   ComPtr<IXMLDOMNodeList>* list);

    IXMLDOMDocument2* document_;
    const std::string* text_;
    ComPtr<IXMLDOMElement> root_;
    ComPtr<IMXNamespaceManager> manager_;
    // Read when a line is first asked for.
    std::vector<ComPtr<IXMLDOMNode>> elements_;
    std::unordered_map<IUnknown*, int> lines_; // by each element's identity
    bool linesRead_ = false;
};

} // namespace ptbridge
