// Creating, appending, moving and removing nodes, setting attributes, and the
// namespace declarations that the saved document ends up with.
#include "dom_test_support.h"

using namespace ptbridge;

namespace {
class TreeEditTest : public DomTest {
  protected:
    // Saves and parses the document again, proving that it is namespace
    // well-formed, and returns the saved text.
    std::string SaveAndReload(IXMLDOMDocument2* document) {
        std::string saved = Save(document);
        EXPECT_TRUE(Load(saved)) << saved;
        return saved;
    }

    // The node's namespace URI; "" for none, which MSXML answers with S_FALSE
    // and no string.
    std::string NamespaceOf(IXMLDOMNode* node) {
        UniqueBstr uri;
        HRESULT hr = node->get_namespaceURI(uri.Put());
        EXPECT_EQ(hr, uri.Get() ? S_OK : S_FALSE);
        return Utf8(uri.Get());
    }

    ComPtr<IXMLDOMElement> Reloaded(const std::string& xml, const std::string& tagName,
                                    ComPtr<IXMLDOMDocument2>& holder) {
        holder = Load(xml);
        return holder ? Find(holder.Get(), tagName) : ComPtr<IXMLDOMElement>();
    }
};

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

const char* const PrivateUri = "http://ptbridge.example/printing/2005/08/printticket";

TEST_F(TreeEditTest, CreatedElementUsesThePrefixBoundInScopeWithoutRedeclaringIt) {
    auto document = Load(TicketXml);
    auto option = Find(document.Get(), "psf:Option", 1);
    auto property = Create(document.Get(), NODE_ELEMENT, "psf:ScoredProperty", FrameworkUri);
    EXPECT_EQ(NodeName(property.Get()), "psf:ScoredProperty");
    ComPtr<IXMLDOMNode> appended;
    ASSERT_EQ(option->appendChild(property.Get(), appended.Put()), S_OK);
    EXPECT_EQ(appended.Get(), property.Get());

    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find("<psf:Option name=\"psk:Finisher\"><psf:ScoredProperty/></psf:Option>"),
              std::string::npos)
        << saved;
    EXPECT_EQ(Count(saved, "xmlns:psf="), 1u);
}

TEST_F(TreeEditTest, PrefixDeclaredBelowTheRootIsReusedWhereItIsInScope) {
    auto document = Load(TicketXml);
    auto punch = Find(document.Get(), "psf:Option", 2);
    auto created = Create(document.Get(), NODE_ELEMENT, "pv:Extra", PrivateUri);
    ASSERT_EQ(punch->appendChild(created.Get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find("<pv:Extra/>"), std::string::npos) << saved;
    EXPECT_EQ(Count(saved, "xmlns:pv="), 1u);
}

TEST_F(TreeEditTest, UnboundPrefixIsDeclaredOnTheElement) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto created = Create(document.Get(), NODE_ELEMENT, "pv:Extra", PrivateUri);
    ASSERT_EQ(root->appendChild(created.Get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find(std::string("<pv:Extra xmlns:pv=\"") + PrivateUri + "\"/>"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, PrefixBoundToAnotherNamespaceIsRedeclaredLocally) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto created = Create(document.Get(), NODE_ELEMENT, "psf:Value", "urn:other");
    ASSERT_EQ(root->appendChild(created.Get(), nullptr), S_OK);
    EXPECT_EQ(NamespaceOf(created.Get()), "urn:other");
    ComPtr<IXMLDOMDocument2> reloaded;
    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find("<psf:Value xmlns:psf=\"urn:other\"/></psf:PrintTicket>"),
              std::string::npos)
        << saved;
    auto value = Reloaded(saved, "psf:Value", reloaded);
    ComPtr<IXMLDOMNodeList> values;
    UniqueBstr name = MakeBstr(u"psf:Value");
    ASSERT_EQ(reloaded->getElementsByTagName(name.Get(), values.Put()), S_OK);
    ComPtr<IXMLDOMNode> last;
    ASSERT_EQ(values->get_item(1, last.Put()), S_OK);
    EXPECT_EQ(NamespaceOf(last.Get()), "urn:other");
    EXPECT_EQ(NamespaceOf(value.Get()), FrameworkUri);
}

TEST_F(TreeEditTest, UnprefixedElementsFollowTheDefaultNamespaceRules) {
    auto defaulted = Load(DefaultNamespaceTicketXml);
    auto option = Find(defaulted.Get(), "Option");
    auto inFramework = Create(defaulted.Get(), NODE_ELEMENT, "ScoredProperty", FrameworkUri);
    auto inNone = Create(defaulted.Get(), NODE_ELEMENT, "Plain", nullptr);
    ASSERT_EQ(option->appendChild(inFramework.Get(), nullptr), S_OK);
    ASSERT_EQ(option->appendChild(inNone.Get(), nullptr), S_OK);
    std::string saved = SaveAndReload(defaulted.Get());
    EXPECT_NE(saved.find("<ScoredProperty/><Plain xmlns=\"\"/>"), std::string::npos) << saved;

    auto prefixed = Load(TicketXml);
    auto root = Root(prefixed.Get());
    auto defaultElement = Create(prefixed.Get(), NODE_ELEMENT, "Feature", FrameworkUri);
    ASSERT_EQ(root->appendChild(defaultElement.Get(), nullptr), S_OK);
    saved = SaveAndReload(prefixed.Get());
    EXPECT_NE(saved.find(std::string("<Feature xmlns=\"") + FrameworkUri + "\"/>"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, CreatedAttributesKeepOnlyTheirWrittenPrefix) {
    auto document = Load(TicketXml);
    auto value = Find(document.Get(), "psf:Value");
    auto property = Find(document.Get(), "psf:ScoredProperty");
    auto name = CreateAttribute(document.Get(), "name", FrameworkUri, "psk:Other");
    EXPECT_EQ(NamespaceOf(name.Get()), "");
    auto type = CreateAttribute(document.Get(), "xsi:type", XsiUri, "xsd:integer");
    EXPECT_EQ(NamespaceOf(type.Get()), XsiUri);
    ASSERT_EQ(property->setAttributeNode(name.Get(), nullptr), S_OK);
    ASSERT_EQ(value->setAttributeNode(type.Get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find("<psf:ScoredProperty name=\"psk:Other\">"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<psf:Value xsi:type=\"xsd:integer\">"), std::string::npos) << saved;
    EXPECT_EQ(Count(saved, "xmlns:xsi="), 1u);

    auto language =
        CreateAttribute(document.Get(), "xml:lang", "http://www.w3.org/XML/1998/namespace", "en");
    ASSERT_EQ(property->setAttributeNode(language.Get(), nullptr), S_OK);
    saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find("<psf:ScoredProperty name=\"psk:Other\" xml:lang=\"en\">"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, AttributeWhosePrefixIsTakenGetsAFreshOne) {
    auto document = Load(TicketXml);
    auto value = Find(document.Get(), "psf:Value");
    auto foreign = CreateAttribute(document.Get(), "xsi:mark", "urn:other", "x");
    ASSERT_EQ(value->setAttributeNode(foreign.Get(), nullptr), S_OK);
    EXPECT_EQ(NamespaceOf(foreign.Get()), "urn:other");
    EXPECT_EQ(NodeName(foreign.Get()), "ns0:mark");
    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(
        saved.find("<psf:Value xmlns:ns0=\"urn:other\" xsi:type=\"xsd:QName\" ns0:mark=\"x\">"),
        std::string::npos)
        << saved;
    ComPtr<IXMLDOMDocument2> reloaded;
    auto reloadedValue = Reloaded(saved, "psf:Value", reloaded);
    EXPECT_EQ(AttributeText(reloadedValue.Get(), "xsi:type"), "xsd:QName");
}

TEST_F(TreeEditTest, CreateNodeRefusesUnsoundNamesAndKinds) {
    auto document = Load(TicketXml);
    UniqueVariant variant;
    VARIANT& type = *variant.Get();
    type.vt = VT_I4;
    struct Case {
        LONG kind;
        const char16_t* name;
        const char16_t* uri;
    } refused[] = {{NODE_ELEMENT, u"psf:Value", nullptr},   {NODE_ELEMENT, u"psf:Value", u""},
                   {NODE_ELEMENT, u"1bad", nullptr},        {NODE_ELEMENT, u"", nullptr},
                   {NODE_ELEMENT, nullptr, nullptr},        {NODE_ATTRIBUTE, u"xmlns:p", u"urn:p"},
                   {NODE_ELEMENT, u"xmlns:p", u"urn:p"},    {NODE_ELEMENT, u"xml:x", u"urn:p"},
                   {NODE_ATTRIBUTE, u"xmlns:xml", nullptr}, {NODE_DOCUMENT, u"x", nullptr},
                   {NODE_ENTITY_REFERENCE, u"x", nullptr}};
    for (const Case& c : refused) {
        type.lVal = c.kind;
        UniqueBstr name = MakeBstr(c.name ? c.name : u"");
        UniqueBstr uri = MakeBstr(c.uri ? c.uri : u"");
        ComPtr<IXMLDOMNode> node;
        EXPECT_EQ(document->createNode(type, c.name ? name.Get() : nullptr,
                                       c.uri ? uri.Get() : nullptr, node.Put()),
                  E_INVALIDARG)
            << c.kind;
        EXPECT_FALSE(node);
    }
    type.vt = VT_BOOL;
    ComPtr<IXMLDOMNode> node;
    UniqueBstr name = MakeBstr(u"x");
    EXPECT_EQ(document->createNode(type, name.Get(), nullptr, node.Put()), E_INVALIDARG);
}

TEST_F(TreeEditTest, CreatedTextNodesCanBeFilledAndAppended) {
    auto document = Load("<a/>");
    auto root = Root(document.Get());
    auto text = Create(document.Get(), NODE_TEXT, "", nullptr);
    UniqueBstr content = MakeBstr(u"1 < 2");
    ASSERT_EQ(text->put_text(content.Get()), S_OK);
    ASSERT_EQ(root->appendChild(text.Get(), nullptr), S_OK);
    EXPECT_EQ(Xml(root.Get()), "<a>1 &lt; 2</a>");
}

TEST_F(TreeEditTest, AppendMovesTheNodeWithItsSubtree) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto outputBin = Find(root.Get(), "psf:Feature", 0);
    auto center = Find(root.Get(), "psf:Option", 0);
    ASSERT_EQ(root->appendChild(center.Get(), nullptr), S_OK);

    UniqueBstr option = MakeBstr(u"psf:Option");
    ComPtr<IXMLDOMNodeList> left;
    ASSERT_EQ(outputBin->getElementsByTagName(option.Get(), left.Put()), S_OK);
    EXPECT_EQ(Length(left.Get()), 1);
    ComPtr<IXMLDOMNode> parent;
    ASSERT_EQ(center->get_parentNode(parent.Put()), S_OK);
    EXPECT_EQ(Query<IUnknown>(parent.Get(), IID_IUnknown).Get(),
              Query<IUnknown>(root.Get(), IID_IUnknown).Get());
    EXPECT_EQ(Find(root.Get(), "psf:Value").Get(), Find(center.Get(), "psf:Value").Get());
    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find("</psf:Feature><psf:Option name=\"psk:Center\">"), std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, MovedSubtreeTakesAlongDeclarationsItNeeds) {
    auto document =
        Load("<r xmlns:p=\"urn:p\"><f xmlns:q=\"urn:q\"><q:a p:x=\"1\"><q:b/></q:a></f></r>");
    auto root = Root(document.Get());
    auto moved = Find(root.Get(), "q:a");
    auto former = Find(root.Get(), "f");
    ASSERT_EQ(root->removeChild(former.Get(), nullptr), S_OK);
    ASSERT_EQ(root->appendChild(moved.Get(), nullptr), S_OK);
    former.Reset();
    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find("<q:a xmlns:q=\"urn:q\" p:x=\"1\"><q:b/></q:a>"), std::string::npos)
        << saved;
    EXPECT_EQ(NamespaceOf(Find(root.Get(), "q:b").Get()), "urn:q");
}

TEST_F(TreeEditTest, AppendRefusesCyclesAttributesStrangersAndASecondRoot) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto feature = Find(root.Get(), "psf:Feature");
    auto nested = Find(feature.Get(), "psf:Feature");
    EXPECT_EQ(nested->appendChild(feature.Get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(feature->appendChild(feature.Get(), nullptr), E_INVALIDARG);

    auto attribute = CreateAttribute(document.Get(), "name", nullptr, "x");
    EXPECT_EQ(root->appendChild(attribute.Get(), nullptr), E_INVALIDARG);

    auto other = Load("<x/>");
    auto stranger = Root(other.Get());
    EXPECT_EQ(root->appendChild(stranger.Get(), nullptr), E_INVALIDARG);
    auto secondRoot = Create(document.Get(), NODE_ELEMENT, "second", nullptr);
    EXPECT_EQ(document->appendChild(secondRoot.Get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(Save(document.Get()), Save(Load(TicketXml).Get()));
}

TEST_F(TreeEditTest, RemoveDetachesOnlyDirectChildren) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto value = Find(root.Get(), "psf:Value");
    EXPECT_EQ(root->removeChild(value.Get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(Find(root.Get(), "psf:Value").Get(), value.Get());

    auto punch = Find(root.Get(), "psf:Feature", 2);
    ComPtr<IXMLDOMNode> removed;
    ASSERT_EQ(root->removeChild(punch.Get(), removed.Put()), S_OK);
    EXPECT_EQ(removed.Get(), punch.Get());
    UniqueBstr feature = MakeBstr(u"psf:Feature");
    ComPtr<IXMLDOMNodeList> features;
    ASSERT_EQ(root->getElementsByTagName(feature.Get(), features.Put()), S_OK);
    EXPECT_EQ(Length(features.Get()), 2);
    EXPECT_EQ(root->removeChild(punch.Get(), nullptr), E_INVALIDARG);
    SaveAndReload(document.Get());
}

TEST_F(TreeEditTest, DetachedNodeOutlivesItsDocumentAndKeepsItsNamespaces) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto punch = Find(root.Get(), "psf:Feature", 2);
    auto option = Find(punch.Get(), "psf:Option");
    ASSERT_EQ(root->removeChild(punch.Get(), nullptr), S_OK);
    punch.Reset();
    root.Reset();
    document.Reset();

    EXPECT_EQ(NamespaceOf(option.Get()), FrameworkUri);
    EXPECT_EQ(AttributeText(option.Get(), "name"), "pv:Punch");
    ComPtr<IXMLDOMDocument> owner;
    ASSERT_EQ(option->get_ownerDocument(owner.Put()), S_OK);
    auto ownerDocument = Query<IXMLDOMDocument2>(owner.Get(), IID_IXMLDOMDocument2);
    EXPECT_EQ(Save(ownerDocument.Get()).find("JobHolePunch"), std::string::npos);
}

TEST_F(TreeEditTest, RemovedNodeCanBeAttachedAgainElsewhere) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto nested = Find(root.Get(), "psf:Feature", 1);
    auto outputBin = Find(root.Get(), "psf:Feature", 0);
    ASSERT_EQ(outputBin->removeChild(nested.Get(), nullptr), S_OK);
    auto punch = Find(root.Get(), "psf:Feature", 1);
    ASSERT_EQ(punch->appendChild(nested.Get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find("<psf:Feature name=\"psk:Nested\"/></psf:Feature></psf:PrintTicket>"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, NodesBuiltWhileDetachedAreBoundWhenAttached) {
    auto document = Load(TicketXml);
    auto property = Create(document.Get(), NODE_ELEMENT, "psf:ScoredProperty", FrameworkUri);
    auto value = Create(document.Get(), NODE_ELEMENT, "psf:Value", FrameworkUri);
    auto valueElement = Query<IXMLDOMElement>(value.Get(), IID_IXMLDOMElement);
    auto type = CreateAttribute(document.Get(), "xsi:type", XsiUri, "xsd:integer");
    ASSERT_EQ(valueElement->setAttributeNode(type.Get(), nullptr), S_OK);
    ASSERT_EQ(property->appendChild(value.Get(), nullptr), S_OK);
    auto option = Find(document.Get(), "psf:Option", 1);
    ASSERT_EQ(option->appendChild(property.Get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.Get());
    EXPECT_NE(saved.find("<psf:ScoredProperty><psf:Value xsi:type=\"xsd:integer\"/>"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, SetAttributeNodeReplacesTheSameNameAndHandsTheOldOneBack) {
    auto document = Load(TicketXml);
    auto option = Find(document.Get(), "psf:Option");
    auto renamed = CreateAttribute(document.Get(), "name", FrameworkUri, "psk:Renamed");
    ComPtr<IXMLDOMAttribute> former;
    ASSERT_EQ(option->setAttributeNode(renamed.Get(), former.Put()), S_OK);
    ASSERT_TRUE(former);
    EXPECT_EQ(NodeText(former.Get()), "psk:Center");
    EXPECT_EQ(AttributeText(option.Get(), "name"), "psk:Renamed");
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(option->get_attributes(attributes.Put()), S_OK);
    LONG length = 0;
    ASSERT_EQ(attributes->get_length(&length), S_OK);
    EXPECT_EQ(length, 1);

    EXPECT_EQ(option->setAttributeNode(renamed.Get(), former.Put()), S_OK);
    EXPECT_FALSE(former);
    auto other = Find(document.Get(), "psf:Option", 1);
    EXPECT_EQ(other->setAttributeNode(renamed.Get(), nullptr), E_INVALIDARG);
}

TEST_F(TreeEditTest, PutTextKeepsReplacedChildrenAliveForTheirHolders) {
    auto document = Load(TicketXml);
    auto center = Find(document.Get(), "psf:Option");
    auto property = Find(center.Get(), "psf:ScoredProperty");
    UniqueBstr text = MakeBstr(u"plain");
    ASSERT_EQ(center->put_text(text.Get()), S_OK);
    EXPECT_EQ(Xml(center.Get()), "<psf:Option name=\"psk:Center\">plain</psf:Option>");
    EXPECT_EQ(AttributeText(property.Get(), "name"), "psk:BinType");
    EXPECT_EQ(NodeText(property.Get()), "psk:Tray");
    ComPtr<IXMLDOMNode> parent;
    EXPECT_EQ(property->get_parentNode(parent.Put()), S_FALSE);
}
} // namespace
