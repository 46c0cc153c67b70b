// Every DOM and namespace-manager method can be made to fail by fault
// injection: it then returns the injected result, clears its out-pointers and
// changes nothing. IUnknown methods are never failed.
#include "dom_reading.h"
#include "dom_test_support.h"
#include "platform_testing.h"

#include <functional>
#include <vector>

using namespace ptbridge;

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
    auto root = Root(document.Get());
    auto option = Find(root.Get(), "psf:Option", 1);
    auto loose = Create(document.Get(), NODE_ELEMENT, "psf:Loose", FrameworkUri);
    auto attribute = CreateAttribute(document.Get(), "constrained", nullptr, "psk:None");
    ComPtr<IXMLDOMNodeList> list;
    UniqueBstr tag = MakeBstr(u"psf:Option");
    ASSERT_EQ(root->getElementsByTagName(tag.Get(), list.Put()), S_OK);
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(option->get_attributes(attributes.Put()), S_OK);
    ComPtr<IMXNamespaceManager> manager;
    ASSERT_EQ(
        CreateNamespaceManager(IID_IMXNamespaceManager, reinterpret_cast<void**>(manager.Put())),
        S_OK);
    ASSERT_EQ(manager->pushNodeContext(root.Get(), VARIANT_TRUE), S_OK);
    UniqueBstr text = MakeBstr(u"changed");
    UniqueBstr name = MakeBstr(u"name");
    UniqueBstr xml = MakeBstr(u"<other/>");
    VARIANT elementKind, textValue;
    elementKind.vt = VT_I4;
    elementKind.lVal = NODE_ELEMENT;
    textValue.vt = VT_BSTR;
    textValue.bstrVal = text.Get();
    const std::string before = Save(document.Get());
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
                 [&](IXMLDOMNode** o) { return option->appendChild(loose.Get(), o); });
         }},
        {"get_ownerDocument",
         [&] {
             return WithOut<IXMLDOMDocument*>(
                 [&](IXMLDOMDocument** o) { return root->get_ownerDocument(o); });
         }},
        {"get_text", [&] { return WithOut<BSTR>([&](BSTR* o) { return root->get_text(o); }); }},
        {"put_text", [&] { return unchanged(option->put_text(text.Get())); }},
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
                 return option->setAttributeNode(attribute.Get(), o);
             });
         }},
        {"element getElementsByTagName",
         [&] {
             return WithOut<IXMLDOMNodeList*>(
                 [&](IXMLDOMNodeList** o) { return root->getElementsByTagName(tag.Get(), o); });
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
                 [&](IXMLDOMNodeList** o) { return document->getElementsByTagName(tag.Get(), o); });
         }},
        {"createNode",
         [&] {
             return WithOut<IXMLDOMNode*>([&](IXMLDOMNode** o) {
                 return document->createNode(elementKind, name.Get(), nullptr, o);
             });
         }},
        {"loadXML",
         [&] {
             VARIANT_BOOL ok;
             return unchanged(document->loadXML(xml.Get(), &ok));
         }},
        {"get_preserveWhiteSpace",
         [&] {
             VARIANT_BOOL preserving;
             return unchanged(document->get_preserveWhiteSpace(&preserving));
         }},
        {"put_preserveWhiteSpace",
         [&] { return unchanged(document->put_preserveWhiteSpace(VARIANT_TRUE)); }},
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
                 [&](IXMLDOMNode** o) { return attributes->getNamedItem(name.Get(), o); });
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
         [&] { return unchanged(manager->pushNodeContext(root.Get(), VARIANT_TRUE)); }},
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

    EXPECT_EQ(Save(document.Get()), before);
    ComPtr<IXMLDOMNode> item;
    EXPECT_EQ(list->nextNode(item.Put()), S_OK) << "the list cursor moved";
    int count = 0;
    EXPECT_EQ(manager->getPrefix(Wide(FrameworkUri).c_str(), 0, nullptr, &count), S_OK);
    EXPECT_EQ(manager->popContext(), S_OK);
    EXPECT_EQ(manager->popContext(), E_FAIL) << "a context was pushed or popped";
}

TEST_F(FaultInjectionTest, UnknownMethodsAreNeverFailed) {
    auto document = Load("<a/>");
    PlatformInjectFault(1, PlatformFaultDom, Injected);
    auto node = Query<IXMLDOMNode>(document.Get(), IID_IXMLDOMNode);
    EXPECT_TRUE(node);
    document->AddRef();
    document->Release();
    EXPECT_EQ(PlatformFaultCallCount(), 0);
}

// A sequence like the plug-in's: find an option, build a scored property with
// a typed value, attach it. Returns the first result that is not S_OK.
HRESULT BuildProperty(IXMLDOMDocument2* document) {
    ComPtr<IXMLDOMElement> root;
    ComPtr<IXMLDOMNodeList> options;
    ComPtr<IXMLDOMNode> option, property, attributeNode;
    ComPtr<IXMLDOMAttribute> attribute;
    UniqueBstr tag = MakeBstr(u"psf:Option");
    UniqueBstr propertyName = MakeBstr(u"psf:ScoredProperty");
    UniqueBstr typeName = MakeBstr(u"xsi:type");
    UniqueBstr framework = MakeBstr(Wide(FrameworkUri));
    UniqueBstr xsi = MakeBstr(Wide(XsiUri));
    UniqueBstr text = MakeBstr(u"3");
    VARIANT kind, value;
    kind.vt = VT_I4;
    value.vt = VT_BSTR;
    value.bstrVal = text.Get();
    HRESULT hr = document->get_documentElement(root.Put());
    if (hr == S_OK)
        hr = root->getElementsByTagName(tag.Get(), options.Put());
    if (hr == S_OK)
        hr = options->nextNode(option.Put());
    kind.lVal = NODE_ELEMENT;
    if (hr == S_OK)
        hr = document->createNode(kind, propertyName.Get(), framework.Get(), property.Put());
    kind.lVal = NODE_ATTRIBUTE;
    if (hr == S_OK)
        hr = document->createNode(kind, typeName.Get(), xsi.Get(), attributeNode.Put());
    if (hr == S_OK)
        hr = attributeNode->QueryInterface(IID_IXMLDOMAttribute,
                                           reinterpret_cast<void**>(attribute.Put()));
    if (hr == S_OK)
        hr = attribute->put_value(value);
    if (hr == S_OK)
        hr = Query<IXMLDOMElement>(property.Get(), IID_IXMLDOMElement)
                 ->setAttributeNode(attribute.Get(), nullptr);
    if (hr == S_OK)
        hr = option->appendChild(property.Get(), nullptr);
    return hr;
}

TEST_F(FaultInjectionTest, FailureAtEachStepOfASequenceLeaksNothing) {
    LONG objects = LiveDomObjectCount();
    LONG bstrs = PlatformLiveBstrCount();
    for (LONG nth = 1;; ++nth) {
        auto document = Load(TicketXml);
        PlatformInjectFault(nth, PlatformFaultDom, Injected);
        HRESULT hr = BuildProperty(document.Get());
        bool reached = PlatformFaultCallCount() >= nth;
        PlatformInjectFault(0, 0, S_OK);
        std::string saved = Save(document.Get());
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
    auto root = Root(document.Get());
    PlatformInjectFault(1, PlatformFaultAllocation, Injected);
    UniqueBstr name;
    EXPECT_EQ(root->get_nodeName(name.Put()), E_OUTOFMEMORY);
    EXPECT_EQ(name.Get(), nullptr);
}
} // namespace
