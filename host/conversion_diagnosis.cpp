#include "conversion_diagnosis.h"

#include "common/com_ptr.h"
#include "platform_seams.h"
#include "print_schema_names.h"
#include "text_encoding.h"

#include <utility>
#include <vector>

namespace ptbridge {

namespace {
const WCHAR* Wide(const std::u16string& text) {
    return reinterpret_cast<const WCHAR*>(text.c_str());
}

UniqueBstr BstrCopy(const std::u16string& text) {
    return UniqueBstr(SysAllocStringLen(Wide(text), static_cast<UINT>(text.size())));
}

// The text of a node, or false when the DOM gives none.
bool ReadText(IXMLDOMNode* node, std::u16string* text) {
    UniqueBstr value;
    HRESULT hr = node->get_text(value.Put());
    if (hr == S_OK && value.Get())
        *text = std::u16string(reinterpret_cast<const char16_t*>(value.Get()), value.Length());
    return hr == S_OK;
}

enum class Search { Found, NotFound, Failed };

// Reads one document the way the plug-in's rules do.
class SchemaReader {
  public:
    explicit SchemaReader(IXMLDOMDocument2* document) : document_(document) {}

    // Takes the root element and its namespace declarations.

    bool Open() {
        if (document_->get_documentElement(root_.Put()) != S_OK || !root_)
            return false;
        return CreateHostNamespaceManager(IID_IMXNamespaceManager, manager_.PutVoid()) == S_OK &&
               manager_->pushNodeContext(root_.Get(), VARIANT_TRUE) == S_OK;
    }

    // The QName the rules write for a name: the prefix the root element binds
    // to the namespace, a colon and the local name, or the bare local name for
    // the default namespace. False when the root binds no prefix to it.
    bool MakeQName(const std::u16string& uri, const std::u16string& local, std::u16string* qName) {
        int count = 0;
        if (manager_->getPrefix(Wide(uri), 0, nullptr, &count) != S_OK || count < 0)
            return false;
        std::vector<WCHAR> prefix(static_cast<size_t>(count) + 1);
        ++count;
        if (manager_->getPrefix(Wide(uri), 0, prefix.data(), &count) != S_OK)
            return false;
        std::u16string text(reinterpret_cast<const char16_t*>(prefix.data()));
        *qName = text.empty() ? local : text + u":" + local;
        return true;
    }

    // Looks for the first element named `elementName` below the root element
    // whose "name" attribute is `wanted`, as the rules' finds do.
    Search FindNamed(const std::u16string& elementName, const std::u16string& wanted,
                     ComPtr<IXMLDOMNode>* found) {
        ComPtr<IXMLDOMNodeList> list;
        if (!ListBelow(root_.Get(), elementName, &list))
            return Search::Failed;
        UniqueBstr attributeName = BstrCopy(u"name");
        for (;;) {
            ComPtr<IXMLDOMNode> node;
            if (list->nextNode(node.Put()) != S_OK || !node)
                return Search::NotFound;
            ComPtr<IXMLDOMNamedNodeMap> attributes;
            ComPtr<IXMLDOMNode> attribute;
            std::u16string text;
            if (node->get_attributes(attributes.Put()) != S_OK)
                return Search::Failed;
            // An element without the attribute is passed over, as the rules do.
            if (attributes->getNamedItem(attributeName.Get(), attribute.Put()) != S_OK ||
                !attribute)
                continue;
            if (!ReadText(attribute.Get(), &text))
                return Search::Failed;
            if (text == wanted) {
                *found = std::move(node);
                return Search::Found;
            }
        }
    }

    // The first element named `elementName` below `parent`, at any depth.
    bool FirstBelow(IXMLDOMNode* parent, const std::u16string& elementName,
                    ComPtr<IXMLDOMNode>* found) {
        ComPtr<IXMLDOMElement> element;
        ComPtr<IXMLDOMNodeList> list;
        return parent->QueryInterface(IID_IXMLDOMElement, element.PutVoid()) == S_OK &&
               ListBelow(element.Get(), elementName, &list) &&
               list->get_item(0, found->Put()) == S_OK && *found;
    }

    // Whether `node` is `ancestor` or lies inside it. Nodes are compared as
    // COM objects, through their IUnknown.
    static bool Contains(IXMLDOMNode* ancestor, IXMLDOMNode* node) {
        ComPtr<IUnknown> wanted;
        if (ancestor->QueryInterface(IID_IUnknown, wanted.PutVoid()) != S_OK)
            return false;
        ComPtr<IXMLDOMNode> current;
        node->AddRef();
        current.Attach(node);
        while (current) {
            ComPtr<IUnknown> identity;
            if (current->QueryInterface(IID_IUnknown, identity.PutVoid()) == S_OK &&
                identity.Get() == wanted.Get())
                return true;
            ComPtr<IXMLDOMNode> parent;
            if (current->get_parentNode(parent.Put()) != S_OK)
                return false;
            current = std::move(parent);
        }
        return false;
    }

  private:
    bool ListBelow(IXMLDOMElement* parent, const std::u16string& elementName,
                   ComPtr<IXMLDOMNodeList>* list) {
        UniqueBstr tagName = BstrCopy(elementName);
        return parent->getElementsByTagName(tagName.Get(), list->Put()) == S_OK && *list;
    }

    IXMLDOMDocument2* document_;
    ComPtr<IXMLDOMElement> root_;
    ComPtr<IMXNamespaceManager> manager_;
};

// The names the rules use, and the messages that say what they did not find.
class RuleChecks {
  public:
    RuleChecks(SchemaReader& reader, const std::u16string& privateNamespace)
        : reader_(reader), private_(privateNamespace) {}

    std::string PublishPresentationDirection() {
        ComPtr<IXMLDOMNode> feature;
        std::string missing = FindFeature(private_, u"JobPresentationDirection", &feature);
        if (!missing.empty())
            return missing;
        std::u16string publicName;
        if (!reader_.MakeQName(KeywordsNamespace, u"PresentationDirection", &publicName))
            return Shown(private_, u"JobPresentationDirection") +
                   " cannot be renamed PresentationDirection in namespace " +
                   Utf8FromUtf16(KeywordsNamespace) + NoPrefix();
        ComPtr<IXMLDOMNode> parent;
        const std::string leftInPlace =
            " (it was left in place, renamed " + Utf8FromUtf16(publicName) + ")";
        missing = FindFeature(KeywordsNamespace, u"JobNUpAllDocumentsContiguously", &parent);
        if (!missing.empty())
            return missing + " to move " + Shown(private_, u"JobPresentationDirection") + " into" +
                   leftInPlace;
        if (SchemaReader::Contains(feature.Get(), parent.Get()))
            return Shown(KeywordsNamespace, u"JobNUpAllDocumentsContiguously") + " lies inside " +
                   Shown(private_, u"JobPresentationDirection") +
                   ", which cannot be moved into it" + leftInPlace;
        return {};
    }

    std::string PublishOutputBinTypes() {
        ComPtr<IXMLDOMNode> feature;
        return FindFeature(KeywordsNamespace, u"JobOutputBin", &feature);
    }

    std::string PublishHoleCount() {
        ComPtr<IXMLDOMNode> feature;
        std::string missing = FindFeature(KeywordsNamespace, u"JobHolePunch", &feature);
        if (!missing.empty())
            return missing;
        ComPtr<IXMLDOMNode> option;
        std::u16string optionElement;
        if (!reader_.MakeQName(FrameworkNamespace, u"Option", &optionElement) ||
            !reader_.FirstBelow(feature.Get(), optionElement, &option))
            return Shown(KeywordsNamespace, u"JobHolePunch") + " has no option";
        return {};
    }

  private:
    // Finds a feature as the rules do; on failure says what is missing.
    std::string FindFeature(const std::u16string& uri, const std::u16string& local,
                            ComPtr<IXMLDOMNode>* found) {
        std::u16string wanted;
        if (!reader_.MakeQName(uri, local, &wanted))
            return "no feature " + Utf8FromUtf16(local) + " in namespace " + Utf8FromUtf16(uri) +
                   NoPrefix();
        std::u16string featureElement;
        if (!reader_.MakeQName(FrameworkNamespace, u"Feature", &featureElement))
            return "no Feature element in namespace " + Utf8FromUtf16(FrameworkNamespace) +
                   " can be found" + NoPrefix();
        switch (reader_.FindNamed(featureElement, wanted, found)) {
        case Search::Found:
            return {};
        case Search::NotFound:
            return "no feature " + Utf8FromUtf16(wanted) + " in namespace " + Utf8FromUtf16(uri) +
                   " at any depth";
        case Search::Failed:
            break;
        }
        return "the document could not be searched for feature " + Utf8FromUtf16(wanted);
    }

    // A name as the rules write it, or as {namespace}local when they cannot.
    std::string Shown(const std::u16string& uri, const std::u16string& local) {
        std::u16string qName;
        if (reader_.MakeQName(uri, local, &qName))
            return Utf8FromUtf16(qName);
        return "{" + Utf8FromUtf16(uri) + "}" + Utf8FromUtf16(local);
    }

    static std::string NoPrefix() {
        return ": the root element declares no prefix for that namespace";
    }

    SchemaReader& reader_;
    const std::u16string& private_;
};
} // namespace

std::string FindMissingPart(Conversion conversion, IXMLDOMDocument2* document,
                            const std::u16string& privateNamespace) {
    SchemaReader reader(document);
    if (!reader.Open())
        return "the document's root element and namespaces could not be read";
    RuleChecks checks(reader, privateNamespace);
    std::string missing;
    switch (conversion) {
    case Conversion::DevModeToPrintTicket:
        missing = checks.PublishPresentationDirection();
        if (missing.empty())
            missing = checks.PublishOutputBinTypes();
        if (missing.empty())
            missing = checks.PublishHoleCount();
        break;
    case Conversion::CompleteCapabilities:
        missing = checks.PublishPresentationDirection();
        if (missing.empty())
            missing = checks.PublishOutputBinTypes();
        break;
    case Conversion::PrintTicketToDevMode:
        break;
    }
    return missing;
}

} // namespace ptbridge
