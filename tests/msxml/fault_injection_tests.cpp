// Every DOM and namespace-manager method can be made to fail by fault
// injection: it then returns the injected result, clears its out-pointers and
// changes nothing. IUnknown methods are never failed.
#include "dom_test_support.h"

#include <functional>
#include <vector>

namespace {
constexpr HRESULT Injected = E_ABORT;

class FaultInjectionTest : public DomTest {};

struct Outcome {
    HRESULT hr;
    bool cleared;
};

struct Case {
    const char* method;
    std::function<Outcome()> call;
};

// Calls `method` with an out-pointer primed with garbage and reports whether
// the call cleared it.
template <class T, class Method> Outcome WithOut(Method method) {
    T out = reinterpret_cast<T>(uintptr_t(0x10));
    HRESULT hr = method(&out);
    return {hr, out == nullptr};
}

TEST_F(FaultInjectionTest, EveryMethodFailsCleanlyWhenInjected) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto option = Find(root.get(), "psf:Option", 1);
    auto loose = Create(document.get(), NODE_ELEMENT, "psf:Loose", FrameworkUri);
    auto attribute = CreateAttribute(document.get(), "constrained", nullptr, "psk:None");
    Ref<IXMLDOMNodeList> list;
    Bstr tag(u"psf:Option");
    ASSERT_EQ(root->getElementsByTagName(tag.get(), list.out()), S_OK);
    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(option->get_attributes(attributes.out()), S_OK);
    Ref<IMXNamespaceManager> manager;
    ASSERT_EQ(
        CreateNamespaceManager(IID_IMXNamespaceManager, reinterpret_cast<void**>(manager.out())),
        S_OK);
    ASSERT_EQ(manager->pushNodeContext(root.get(), VARIANT_TRUE), S_OK);
    Bstr text(u"changed"), name(u"name"), xml(u"<other/>");
    VARIANT elementKind, textValue;
    elementKind.vt = VT_I4;
    elementKind.lVal = NODE_ELEMENT;
    textValue.vt = VT_BSTR;
    textValue.bstrVal = text.get();
    const std::string before = Save(document.get());
    auto unchanged = [](HRESULT hr) { return Outcome{hr, true}; };

    std::vector<Case> cases = {
        {"get_nodeName",
         [&] { return WithOut<BSTR>([&](BSTR* o) { return root->get_nodeName(o); }); }},
        {"get_nodeType",
         [&] {
             DOMNodeType t;
             return unchanged(root->get_nodeType(&t));
         }},
        {"get_parentNode",
         [&] {
             return WithOut<IXMLDOMNode*>(
                 [&](IXMLDOMNode** o) { return option->get_parentNode(o); });
         }},
        {"get_childNodes",
         [&] {
             return WithOut<IXMLDOMNodeList*>(
                 [&](IXMLDOMNodeList** o) { return root->get_childNodes(o); });
         }},
        {"get_attributes",
         [&] {
             return WithOut<IXMLDOMNamedNodeMap*>(
                 [&](IXMLDOMNamedNodeMap** o) { return root->get_attributes(o); });
         }},
        {"removeChild",
         [&] {
             return WithOut<IXMLDOMNode*>(
                 [&](IXMLDOMNode** o) { return option->removeChild(nullptr, o); });
         }},
        {"appendChild",
         [&] {
             return WithOut<IXMLDOMNode*>(
                 [&](IXMLDOMNode** o) { return option->appendChild(loose.get(), o); });
         }},
        {"get_ownerDocument",
         [&] {
             return WithOut<IXMLDOMDocument*>(
                 [&](IXMLDOMDocument** o) { return root->get_ownerDocument(o); });
         }},
        {"get_text", [&] { return WithOut<BSTR>([&](BSTR* o) { return root->get_text(o); }); }},
        {"put_text", [&] { return unchanged(option->put_text(text.get())); }},
        {"get_xml", [&] { return WithOut<BSTR>([&](BSTR* o) { return root->get_xml(o); }); }},
        {"get_namespaceURI",
         [&] { return WithOut<BSTR>([&](BSTR* o) { return root->get_namespaceURI(o); }); }},
        {"get_prefix", [&] { return WithOut<BSTR>([&](BSTR* o) { return root->get_prefix(o); }); }},
        {"get_baseName",
         [&] { return WithOut<BSTR>([&](BSTR* o) { return root->get_baseName(o); }); }},
        {"get_tagName",
         [&] { return WithOut<BSTR>([&](BSTR* o) { return root->get_tagName(o); }); }},
        {"setAttributeNode",
         [&] {
             return WithOut<IXMLDOMAttribute*>([&](IXMLDOMAttribute** o) {
                 return option->setAttributeNode(attribute.get(), o);
             });
         }},
        {"element getElementsByTagName",
         [&] {
             return WithOut<IXMLDOMNodeList*>(
                 [&](IXMLDOMNodeList** o) { return root->getElementsByTagName(tag.get(), o); });
         }},
        {"get_name",
         [&] { return WithOut<BSTR>([&](BSTR* o) { return attribute->get_name(o); }); }},
        {"get_value",
         [&] {
             VARIANT v;
             v.vt = VT_I4;
             HRESULT hr = attribute->get_value(&v);
             return Outcome{hr, v.vt == VT_EMPTY};
         }},
        {"put_value", [&] { return unchanged(attribute->put_value(textValue)); }},
        {"get_documentElement",
         [&] {
             return WithOut<IXMLDOMElement*>(
                 [&](IXMLDOMElement** o) { return document->get_documentElement(o); });
         }},
        {"document getElementsByTagName",
         [&] {
             return WithOut<IXMLDOMNodeList*>(
                 [&](IXMLDOMNodeList** o) { return document->getElementsByTagName(tag.get(), o); });
         }},
        {"createNode",
         [&] {
             return WithOut<IXMLDOMNode*>([&](IXMLDOMNode** o) {
                 return document->createNode(elementKind, name.get(), nullptr, o);
             });
         }},
        {"loadXML",
         [&] {
             VARIANT_BOOL ok;
             return unchanged(document->loadXML(xml.get(), &ok));
         }},
        {"list get_item",
         [&] {
             return WithOut<IXMLDOMNode*>([&](IXMLDOMNode** o) { return list->get_item(0, o); });
         }},
        {"list get_length",
         [&] {
             LONG n;
             return unchanged(list->get_length(&n));
         }},
        {"list nextNode",
         [&] { return WithOut<IXMLDOMNode*>([&](IXMLDOMNode** o) { return list->nextNode(o); }); }},
        {"list reset", [&] { return unchanged(list->reset()); }},
        {"getNamedItem",
         [&] {
             return WithOut<IXMLDOMNode*>(
                 [&](IXMLDOMNode** o) { return attributes->getNamedItem(name.get(), o); });
         }},
        {"map get_item",
         [&] {
             return WithOut<IXMLDOMNode*>(
                 [&](IXMLDOMNode** o) { return attributes->get_item(0, o); });
         }},
        {"map get_length",
         [&] {
             LONG n;
             return unchanged(attributes->get_length(&n));
         }},
        {"putAllowOverride", [&] { return unchanged(manager->putAllowOverride(VARIANT_FALSE)); }},
        {"getAllowOverride",
         [&] {
             VARIANT_BOOL b;
             return unchanged(manager->getAllowOverride(&b));
         }},
        {"manager reset", [&] { return unchanged(manager->reset()); }},
        {"pushContext", [&] { return unchanged(manager->pushContext()); }},
        {"pushNodeContext",
         [&] { return unchanged(manager->pushNodeContext(root.get(), VARIANT_TRUE)); }},
        {"popContext", [&] { return unchanged(manager->popContext()); }},
        {"declarePrefix", [&] { return unchanged(manager->declarePrefix(u"psf", u"urn:x")); }},
        {"getDeclaredPrefix",
         [&] {
             int n = 0;
             return unchanged(manager->getDeclaredPrefix(0, nullptr, &n));
         }},
        {"getPrefix",
         [&] {
             int n = 0;
             return unchanged(manager->getPrefix(u"urn:x", 0, nullptr, &n));
         }},
        {"getURI",
         [&] {
             int n = 0;
             return unchanged(manager->getURI(u"psf", nullptr, nullptr, &n));
         }},
    };
    for (const Case& c : cases) {
        PlatformInjectFault(1, PlatformFaultDom, Injected);
        Outcome outcome = c.call();
        LONG gates = PlatformFaultCallCount();
        PlatformInjectFault(0, 0, S_OK);
        EXPECT_EQ(outcome.hr, Injected) << c.method;
        EXPECT_TRUE(outcome.cleared) << c.method;
        EXPECT_EQ(gates, 1) << c.method << " must pass the fault gate exactly once";
    }

    EXPECT_EQ(Save(document.get()), before);
    Ref<IXMLDOMNode> item;
    EXPECT_EQ(list->nextNode(item.out()), S_OK) << "the list cursor moved";
    int count = 0;
    EXPECT_EQ(manager->getPrefix(Wide(FrameworkUri).c_str(), 0, nullptr, &count), S_OK);
    EXPECT_EQ(manager->popContext(), S_OK);
    EXPECT_EQ(manager->popContext(), E_FAIL) << "a context was pushed or popped";
}

TEST_F(FaultInjectionTest, UnknownMethodsAreNeverFailed) {
    auto document = Load("<a/>");
    PlatformInjectFault(1, PlatformFaultDom, Injected);
    auto node = Query<IXMLDOMNode>(document.get(), IID_IXMLDOMNode);
    EXPECT_TRUE(node);
    document->AddRef();
    document->Release();
    EXPECT_EQ(PlatformFaultCallCount(), 0);
}

// A sequence like the plug-in's: find an option, build a scored property with
// a typed value, attach it. Returns the first result that is not S_OK.
HRESULT BuildProperty(IXMLDOMDocument2* document) {
    Ref<IXMLDOMElement> root;
    Ref<IXMLDOMNodeList> options;
    Ref<IXMLDOMNode> option, property, attributeNode;
    Ref<IXMLDOMAttribute> attribute;
    Bstr tag(u"psf:Option"), propertyName(u"psf:ScoredProperty"), typeName(u"xsi:type");
    Bstr framework(Wide(FrameworkUri)), xsi(Wide(XsiUri)), text(u"3");
    VARIANT kind, value;
    kind.vt = VT_I4;
    value.vt = VT_BSTR;
    value.bstrVal = text.get();
    HRESULT hr = document->get_documentElement(root.out());
    if (hr == S_OK)
        hr = root->getElementsByTagName(tag.get(), options.out());
    if (hr == S_OK)
        hr = options->nextNode(option.out());
    kind.lVal = NODE_ELEMENT;
    if (hr == S_OK)
        hr = document->createNode(kind, propertyName.get(), framework.get(), property.out());
    kind.lVal = NODE_ATTRIBUTE;
    if (hr == S_OK)
        hr = document->createNode(kind, typeName.get(), xsi.get(), attributeNode.out());
    if (hr == S_OK)
        hr = attributeNode->QueryInterface(IID_IXMLDOMAttribute,
                                           reinterpret_cast<void**>(attribute.out()));
    if (hr == S_OK)
        hr = attribute->put_value(value);
    if (hr == S_OK)
        hr = Query<IXMLDOMElement>(property.get(), IID_IXMLDOMElement)
                 ->setAttributeNode(attribute.get(), nullptr);
    if (hr == S_OK)
        hr = option->appendChild(property.get(), nullptr);
    return hr;
}

TEST_F(FaultInjectionTest, FailureAtEachStepOfASequenceLeaksNothing) {
    LONG objects = LiveDomObjectCount();
    LONG bstrs = PlatformLiveBstrCount();
    for (LONG nth = 1;; ++nth) {
        auto document = Load(TicketXml);
        PlatformInjectFault(nth, PlatformFaultDom, Injected);
        HRESULT hr = BuildProperty(document.get());
        bool reached = PlatformFaultCallCount() >= nth;
        PlatformInjectFault(0, 0, S_OK);
        std::string saved = Save(document.get());
        document.Reset();
        EXPECT_EQ(LiveDomObjectCount(), objects) << "step " << nth;
        EXPECT_EQ(PlatformLiveBstrCount(), bstrs) << "step " << nth;
        if (!reached) {
            EXPECT_EQ(hr, S_OK);
            EXPECT_NE(saved.find("<psf:ScoredProperty xsi:type=\"3\"/>"), std::string::npos);
            EXPECT_GT(nth, 5);
            break;
        }
        EXPECT_EQ(hr, Injected) << "step " << nth;
        EXPECT_EQ(saved.find("xsi:type=\"3\""), std::string::npos) << "step " << nth;
    }
}

TEST_F(FaultInjectionTest, AllocationFailuresAreReportedAsOutOfMemory) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    PlatformInjectFault(1, PlatformFaultAllocation, Injected);
    Bstr name;
    EXPECT_EQ(root->get_nodeName(name.out()), E_OUTOFMEMORY);
    EXPECT_EQ(name.get(), nullptr);
}
} // namespace
