#include "schema_reader.h"

#include "platform_seams.h"
#include "print_schema_names.h"
#include "xml_start_tags.h"

#include <string>
#include <vector>

namespace ptbridge {

namespace {
const WCHAR* Wide(const std::u16string& text) {
    return reinterpret_cast<const WCHAR*>(text.c_str());
}

UniqueBstr BstrCopy(const std::u16string& text) {
    return UniqueBstr(SysAllocStringLen(Wide(text), static_cast<UINT>(text.size())));
}

std::u16string FromBstr(const UniqueBstr& text) {
    if (!text.Get())
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text.Get()), text.Length());
}

bool SameObject(IUnknown* a, IUnknown* b) {
    ComPtr<IUnknown> first;
    ComPtr<IUnknown> second;
    return a->QueryInterface(IID_IUnknown, first.PutVoid()) == S_OK &&
           b->QueryInterface(IID_IUnknown, second.PutVoid()) == S_OK && first.Get() == second.Get();
}

ComPtr<IXMLDOMNode> Held(IXMLDOMNode* node) {
    ComPtr<IXMLDOMNode> held;
    if (node) {
        node->AddRef();
        held.Attach(node);
    }
    return held;
}

} // namespace

SchemaReader::SchemaReader(IXMLDOMDocument2* document, const std::string* text)
    : document_(document), text_(text) {}

bool SchemaReader::Open() {
    if (document_->get_documentElement(root_.Put()) != S_OK || !root_)
        return false;
    return CreateHostNamespaceManager(IID_IMXNamespaceManager, manager_.PutVoid()) == S_OK &&
           manager_->pushNodeContext(root_.Get(), VARIANT_TRUE) == S_OK;
}

IXMLDOMNode* SchemaReader::Root() const {
    return root_.Get();
}

bool SchemaReader::MakeQName(const std::u16string& uri, const std::u16string& local,
                             std::u16string* qName, std::string* why) {
    auto fail = [&](const std::string& reason) {
        if (why)
            *why = reason;
        return false;
    };
    int count = 0;
    if (manager_->getPrefix(Wide(uri), 0, nullptr, &count) != S_OK || count < 0)
        return fail("the root element declares no prefix for that namespace");
    std::vector<WCHAR> prefix(static_cast<size_t>(count) + 1);
    ++count;
    if (manager_->getPrefix(Wide(uri), 0, prefix.data(), &count) != S_OK)
        return fail("the root element's prefix for that namespace could not be read");
    std::u16string text(reinterpret_cast<const char16_t*>(prefix.data()));
    if (text.size() >= MaxQNamePartLength)
        return fail("the root element's prefix for that namespace has " +
                    std::to_string(text.size()) + " characters; the plug-in refuses a prefix of " +
                    std::to_string(MaxQNamePartLength) + " or more (E_INVALIDARG)");
    *qName = text.empty() ? local : text + u":" + local;
    return true;
}

bool SchemaReader::ListBelow(IXMLDOMNode* parent, const std::u16string& elementName,
                             ComPtr<IXMLDOMNodeList>* list) {
    ComPtr<IXMLDOMElement> element;
    if (!parent)
        parent = root_.Get();
    UniqueBstr tagName = BstrCopy(elementName);
    return parent->QueryInterface(IID_IXMLDOMElement, element.PutVoid()) == S_OK &&
           element->getElementsByTagName(tagName.Get(), list->Put()) == S_OK && *list;
}

bool SchemaReader::ListNamed(IXMLDOMNode* parent, const std::u16string& elementName,
                             const std::u16string& wanted,
                             std::vector<ComPtr<IXMLDOMNode>>* found) {
    ComPtr<IXMLDOMNodeList> list;
    if (!ListBelow(parent, elementName, &list))
        return false;
    UniqueBstr attributeName = BstrCopy(u"name");
    for (;;) {
        ComPtr<IXMLDOMNode> node;
        if (list->nextNode(node.Put()) != S_OK || !node)
            return true;
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        ComPtr<IXMLDOMNode> attribute;
        std::u16string text;
        if (node->get_attributes(attributes.Put()) != S_OK)
            return false;
        // An element without the attribute is passed over, as the rules do.
        if (attributes->getNamedItem(attributeName.Get(), attribute.Put()) != S_OK || !attribute)
            continue;
        if (!Text(attribute.Get(), &text))
            return false;
        if (text == wanted)
            found->push_back(std::move(node));
    }
}

Search SchemaReader::FindNamed(IXMLDOMNode* parent, const std::u16string& elementName,
                               const std::u16string& wanted, ComPtr<IXMLDOMNode>* found) {
    std::vector<ComPtr<IXMLDOMNode>> all;
    if (!ListNamed(parent, elementName, wanted, &all))
        return Search::Failed;
    if (all.empty())
        return Search::NotFound;
    *found = std::move(all.front());
    return Search::Found;
}

Search SchemaReader::FindOption(IXMLDOMNode* feature, const std::u16string& wanted,
                                ComPtr<IXMLDOMNode>* found) {
    std::u16string optionElement;
    std::u16string optionName;
    std::u16string valueElement;
    std::u16string propertyElement;
    if (!MakeQName(FrameworkNamespace, u"Option", &optionElement) ||
        !MakeQName(FrameworkNamespace, u"OptionName", &optionName) ||
        !MakeQName(FrameworkNamespace, u"Value", &valueElement) ||
        !MakeQName(FrameworkNamespace, u"ScoredProperty", &propertyElement))
        return Search::NotFound;
    Search byName = FindNamed(feature, optionElement, wanted, found);
    if (byName != Search::NotFound)
        return byName;
    ComPtr<IXMLDOMNodeList> options;
    if (!ListBelow(feature, optionElement, &options))
        return Search::Failed;
    for (;;) {
        ComPtr<IXMLDOMNode> option;
        if (options->nextNode(option.Put()) != S_OK || !option)
            return Search::NotFound;
        ComPtr<IXMLDOMNode> property;
        ComPtr<IXMLDOMNode> value;
        std::u16string text;
        if (FindNamed(option.Get(), propertyElement, optionName, &property) == Search::Found &&
            FirstBelow(property.Get(), valueElement, &value) && Text(value.Get(), &text) &&
            text == wanted) {
            *found = std::move(option);
            return Search::Found;
        }
    }
}

bool SchemaReader::FirstBelow(IXMLDOMNode* parent, const std::u16string& elementName,
                              ComPtr<IXMLDOMNode>* found) {
    ComPtr<IXMLDOMNodeList> list;
    return ListBelow(parent, elementName, &list) && list->get_item(0, found->Put()) == S_OK &&
           *found;
}

bool SchemaReader::Text(IXMLDOMNode* node, std::u16string* text) {
    UniqueBstr value;
    HRESULT hr = node->get_text(value.Put());
    if (hr == S_OK)
        *text = FromBstr(value);
    return hr == S_OK;
}

bool SchemaReader::Contains(IXMLDOMNode* ancestor, IXMLDOMNode* node) {
    for (ComPtr<IXMLDOMNode> current = Held(node); current;) {
        if (SameObject(current.Get(), ancestor))
            return true;
        ComPtr<IXMLDOMNode> parent;
        if (current->get_parentNode(parent.Put()) != S_OK)
            return false;
        current = std::move(parent);
    }
    return false;
}

std::vector<NamespaceDeclaration> SchemaReader::Declarations(IXMLDOMNode* element) {
    std::vector<NamespaceDeclaration> declarations;
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    LONG count = 0;
    if (element->get_attributes(attributes.Put()) != S_OK || !attributes ||
        attributes->get_length(&count) != S_OK)
        return declarations;
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> attribute;
        UniqueBstr name;
        std::u16string uri;
        if (attributes->get_item(i, attribute.Put()) != S_OK || !attribute ||
            attribute->get_nodeName(name.Put()) != S_OK || !Text(attribute.Get(), &uri))
            continue;
        std::u16string attributeName = FromBstr(name);
        if (attributeName == u"xmlns")
            declarations.push_back({u"", uri});
        else if (attributeName.compare(0, 6, u"xmlns:") == 0)
            declarations.push_back({attributeName.substr(6), uri});
    }
    return declarations;
}

std::vector<ComPtr<IXMLDOMNode>> SchemaReader::AllElements() {
    std::vector<ComPtr<IXMLDOMNode>> elements;
    elements.push_back(Held(root_.Get()));
    ComPtr<IXMLDOMNodeList> list;
    if (!ListBelow(root_.Get(), u"*", &list))
        return elements;
    for (;;) {
        ComPtr<IXMLDOMNode> node;
        if (list->nextNode(node.Put()) != S_OK || !node)
            return elements;
        elements.push_back(std::move(node));
    }
}

int SchemaReader::LineOf(IXMLDOMNode* element) {
    if (!text_ || !element)
        return 0;
    if (!linesRead_) {
        // The element's place in document order is its start tag's place in
        // the text. The elements are held, so that their identities stay.
        std::vector<StartTag> tags = StartTags(*text_);
        elements_ = AllElements();
        for (size_t i = 0; i < elements_.size() && i < tags.size(); ++i) {
            ComPtr<IUnknown> identity;
            if (elements_[i]->QueryInterface(IID_IUnknown, identity.PutVoid()) == S_OK)
                lines_[identity.Get()] = tags[i].line;
        }
        linesRead_ = true;
    }
    ComPtr<IUnknown> identity;
    if (element->QueryInterface(IID_IUnknown, identity.PutVoid()) != S_OK)
        return 0;
    auto found = lines_.find(identity.Get());
    return found == lines_.end() ? 0 : found->second;
}

} // namespace ptbridge
