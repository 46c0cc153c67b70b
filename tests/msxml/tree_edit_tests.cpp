// Creating, appending, moving and removing nodes, setting attributes, and the
// namespace declarations that the saved document ends up with.
#include "dom_test_support.h"

namespace {
class TreeEditTest : public DomTest {
  protected:
    // Saves and parses the document again, proving that it is namespace
    // well-formed, and returns the saved text.
    std::string SaveAndReload(IXMLDOMDocument2* document) {
        std::string saved = Save(document);
        Ref<IXMLDOMDocument2> reloaded;
        XmlLoadError error;
        EXPECT_EQ(LoadDocumentFromString(saved, reloaded.out(), &error), S_OK)
            << error.message << "\n"
            << saved;
        return saved;
    }

    std::string NamespaceOf(IXMLDOMNode* node) {
        Bstr uri;
        EXPECT_EQ(node->get_namespaceURI(uri.out()), S_OK);
        return uri.Utf8();
    }

    Ref<IXMLDOMElement> Reloaded(const std::string& xml, const std::string& tagName,
                                 Ref<IXMLDOMDocument2>& holder) {
        holder = Load(xml);
        return holder ? Find(holder.get(), tagName) : Ref<IXMLDOMElement>();
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
    auto option = Find(document.get(), "psf:Option", 1);
    auto property = Create(document.get(), NODE_ELEMENT, "psf:ScoredProperty", FrameworkUri);
    EXPECT_EQ(Name(property.get()), "psf:ScoredProperty");
    Ref<IXMLDOMNode> appended;
    ASSERT_EQ(option->appendChild(property.get(), appended.out()), S_OK);
    EXPECT_EQ(appended.get(), property.get());

    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find("<psf:Option name=\"psk:Finisher\"><psf:ScoredProperty/></psf:Option>"),
              std::string::npos)
        << saved;
    EXPECT_EQ(Count(saved, "xmlns:psf="), 1u);
}

TEST_F(TreeEditTest, PrefixDeclaredBelowTheRootIsReusedWhereItIsInScope) {
    auto document = Load(TicketXml);
    auto punch = Find(document.get(), "psf:Option", 2);
    auto created = Create(document.get(), NODE_ELEMENT, "pv:Extra", PrivateUri);
    ASSERT_EQ(punch->appendChild(created.get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find("<pv:Extra/>"), std::string::npos) << saved;
    EXPECT_EQ(Count(saved, "xmlns:pv="), 1u);
}

TEST_F(TreeEditTest, UnboundPrefixIsDeclaredOnTheElement) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto created = Create(document.get(), NODE_ELEMENT, "pv:Extra", PrivateUri);
    ASSERT_EQ(root->appendChild(created.get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find(std::string("<pv:Extra xmlns:pv=\"") + PrivateUri + "\"/>"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, PrefixBoundToAnotherNamespaceIsRedeclaredLocally) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto created = Create(document.get(), NODE_ELEMENT, "psf:Value", "urn:other");
    ASSERT_EQ(root->appendChild(created.get(), nullptr), S_OK);
    EXPECT_EQ(NamespaceOf(created.get()), "urn:other");
    Ref<IXMLDOMDocument2> reloaded;
    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find("<psf:Value xmlns:psf=\"urn:other\"/></psf:PrintTicket>"),
              std::string::npos)
        << saved;
    auto value = Reloaded(saved, "psf:Value", reloaded);
    Ref<IXMLDOMNodeList> values;
    Bstr name(u"psf:Value");
    ASSERT_EQ(reloaded->getElementsByTagName(name.get(), values.out()), S_OK);
    Ref<IXMLDOMNode> last;
    ASSERT_EQ(values->get_item(1, last.out()), S_OK);
    EXPECT_EQ(NamespaceOf(last.get()), "urn:other");
    EXPECT_EQ(NamespaceOf(value.get()), FrameworkUri);
}

TEST_F(TreeEditTest, UnprefixedElementsFollowTheDefaultNamespaceRules) {
    auto defaulted = Load(DefaultNamespaceTicketXml);
    auto option = Find(defaulted.get(), "Option");
    auto inFramework = Create(defaulted.get(), NODE_ELEMENT, "ScoredProperty", FrameworkUri);
    auto inNone = Create(defaulted.get(), NODE_ELEMENT, "Plain", nullptr);
    ASSERT_EQ(option->appendChild(inFramework.get(), nullptr), S_OK);
    ASSERT_EQ(option->appendChild(inNone.get(), nullptr), S_OK);
    std::string saved = SaveAndReload(defaulted.get());
    EXPECT_NE(saved.find("<ScoredProperty/><Plain xmlns=\"\"/>"), std::string::npos) << saved;

    auto prefixed = Load(TicketXml);
    auto root = Root(prefixed.get());
    auto defaultElement = Create(prefixed.get(), NODE_ELEMENT, "Feature", FrameworkUri);
    ASSERT_EQ(root->appendChild(defaultElement.get(), nullptr), S_OK);
    saved = SaveAndReload(prefixed.get());
    EXPECT_NE(saved.find(std::string("<Feature xmlns=\"") + FrameworkUri + "\"/>"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, CreatedAttributesKeepOnlyTheirWrittenPrefix) {
    auto document = Load(TicketXml);
    auto value = Find(document.get(), "psf:Value");
    auto property = Find(document.get(), "psf:ScoredProperty");
    auto name = CreateAttribute(document.get(), "name", FrameworkUri, "psk:Other");
    EXPECT_EQ(NamespaceOf(name.get()), "");
    auto type = CreateAttribute(document.get(), "xsi:type", XsiUri, "xsd:integer");
    EXPECT_EQ(NamespaceOf(type.get()), XsiUri);
    ASSERT_EQ(property->setAttributeNode(name.get(), nullptr), S_OK);
    ASSERT_EQ(value->setAttributeNode(type.get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find("<psf:ScoredProperty name=\"psk:Other\">"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<psf:Value xsi:type=\"xsd:integer\">"), std::string::npos) << saved;
    EXPECT_EQ(Count(saved, "xmlns:xsi="), 1u);

    auto language =
        CreateAttribute(document.get(), "xml:lang", "http://www.w3.org/XML/1998/namespace", "en");
    ASSERT_EQ(property->setAttributeNode(language.get(), nullptr), S_OK);
    saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find("<psf:ScoredProperty name=\"psk:Other\" xml:lang=\"en\">"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, AttributeWhosePrefixIsTakenGetsAFreshOne) {
    auto document = Load(TicketXml);
    auto value = Find(document.get(), "psf:Value");
    auto foreign = CreateAttribute(document.get(), "xsi:mark", "urn:other", "x");
    ASSERT_EQ(value->setAttributeNode(foreign.get(), nullptr), S_OK);
    EXPECT_EQ(NamespaceOf(foreign.get()), "urn:other");
    EXPECT_EQ(Name(foreign.get()), "ns0:mark");
    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(
        saved.find("<psf:Value xmlns:ns0=\"urn:other\" xsi:type=\"xsd:QName\" ns0:mark=\"x\">"),
        std::string::npos)
        << saved;
    Ref<IXMLDOMDocument2> reloaded;
    auto reloadedValue = Reloaded(saved, "psf:Value", reloaded);
    EXPECT_EQ(Attribute(reloadedValue.get(), "xsi:type"), "xsd:QName");
}

TEST_F(TreeEditTest, CreateNodeRefusesUnsoundNamesAndKinds) {
    auto document = Load(TicketXml);
    VARIANT type;
    VariantInit(&type);
    type.vt = VT_I4;
    struct Case {
        LONG kind;
        const char16_t* name;
        const char16_t* uri;
    } refused[] = {{NODE_ELEMENT, u"psf:Value", nullptr}, {NODE_ELEMENT, u"psf:Value", u""},
                   {NODE_ELEMENT, u"1bad", nullptr},      {NODE_ELEMENT, u"", nullptr},
                   {NODE_ELEMENT, nullptr, nullptr},      {NODE_ATTRIBUTE, u"xmlns:p", u"urn:p"},
                   {NODE_ATTRIBUTE, u"xmlns", nullptr},   {NODE_ELEMENT, u"xml:x", u"urn:p"},
                   {NODE_DOCUMENT, u"x", nullptr},        {NODE_ENTITY_REFERENCE, u"x", nullptr}};
    for (const Case& c : refused) {
        type.lVal = c.kind;
        Bstr name(c.name ? c.name : u"");
        Bstr uri(c.uri ? c.uri : u"");
        Ref<IXMLDOMNode> node;
        EXPECT_EQ(document->createNode(type, c.name ? name.get() : nullptr,
                                       c.uri ? uri.get() : nullptr, node.out()),
                  E_INVALIDARG)
            << c.kind;
        EXPECT_FALSE(node);
    }
    type.vt = VT_BOOL;
    Ref<IXMLDOMNode> node;
    Bstr name(u"x");
    EXPECT_EQ(document->createNode(type, name.get(), nullptr, node.out()), E_INVALIDARG);
}

TEST_F(TreeEditTest, CreatedTextNodesCanBeFilledAndAppended) {
    auto document = Load("<a/>");
    auto root = Root(document.get());
    auto text = Create(document.get(), NODE_TEXT, "", nullptr);
    Bstr content(u"1 < 2");
    ASSERT_EQ(text->put_text(content.get()), S_OK);
    ASSERT_EQ(root->appendChild(text.get(), nullptr), S_OK);
    EXPECT_EQ(Xml(root.get()), "<a>1 &lt; 2</a>");
}

TEST_F(TreeEditTest, AppendMovesTheNodeWithItsSubtree) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto outputBin = Find(root.get(), "psf:Feature", 0);
    auto center = Find(root.get(), "psf:Option", 0);
    ASSERT_EQ(root->appendChild(center.get(), nullptr), S_OK);

    Bstr option(u"psf:Option");
    Ref<IXMLDOMNodeList> left;
    ASSERT_EQ(outputBin->getElementsByTagName(option.get(), left.out()), S_OK);
    EXPECT_EQ(Length(left.get()), 1);
    Ref<IXMLDOMNode> parent;
    ASSERT_EQ(center->get_parentNode(parent.out()), S_OK);
    EXPECT_EQ(Query<IUnknown>(parent.get(), IID_IUnknown).get(),
              Query<IUnknown>(root.get(), IID_IUnknown).get());
    EXPECT_EQ(Find(root.get(), "psf:Value").get(), Find(center.get(), "psf:Value").get());
    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find("</psf:Feature>\n<psf:Option name=\"psk:Center\">"), std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, MovedSubtreeTakesAlongDeclarationsItNeeds) {
    auto document =
        Load("<r xmlns:p=\"urn:p\"><f xmlns:q=\"urn:q\"><q:a p:x=\"1\"><q:b/></q:a></f></r>");
    auto root = Root(document.get());
    auto moved = Find(root.get(), "q:a");
    auto former = Find(root.get(), "f");
    ASSERT_EQ(root->removeChild(former.get(), nullptr), S_OK);
    ASSERT_EQ(root->appendChild(moved.get(), nullptr), S_OK);
    former.Reset();
    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find("<q:a xmlns:q=\"urn:q\" p:x=\"1\"><q:b/></q:a>"), std::string::npos)
        << saved;
    EXPECT_EQ(NamespaceOf(Find(root.get(), "q:b").get()), "urn:q");
}

TEST_F(TreeEditTest, AppendRefusesCyclesAttributesStrangersAndASecondRoot) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto feature = Find(root.get(), "psf:Feature");
    auto nested = Find(feature.get(), "psf:Feature");
    EXPECT_EQ(nested->appendChild(feature.get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(feature->appendChild(feature.get(), nullptr), E_INVALIDARG);

    auto attribute = CreateAttribute(document.get(), "name", nullptr, "x");
    EXPECT_EQ(root->appendChild(attribute.get(), nullptr), E_INVALIDARG);

    auto other = Load("<x/>");
    auto stranger = Root(other.get());
    EXPECT_EQ(root->appendChild(stranger.get(), nullptr), E_INVALIDARG);
    auto secondRoot = Create(document.get(), NODE_ELEMENT, "second", nullptr);
    EXPECT_EQ(document->appendChild(secondRoot.get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(Save(document.get()), Save(Load(TicketXml).get()));
}

TEST_F(TreeEditTest, RemoveDetachesOnlyDirectChildren) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto value = Find(root.get(), "psf:Value");
    EXPECT_EQ(root->removeChild(value.get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(Find(root.get(), "psf:Value").get(), value.get());

    auto punch = Find(root.get(), "psf:Feature", 2);
    Ref<IXMLDOMNode> removed;
    ASSERT_EQ(root->removeChild(punch.get(), removed.out()), S_OK);
    EXPECT_EQ(removed.get(), punch.get());
    Bstr feature(u"psf:Feature");
    Ref<IXMLDOMNodeList> features;
    ASSERT_EQ(root->getElementsByTagName(feature.get(), features.out()), S_OK);
    EXPECT_EQ(Length(features.get()), 2);
    EXPECT_EQ(root->removeChild(punch.get(), nullptr), E_INVALIDARG);
    SaveAndReload(document.get());
}

TEST_F(TreeEditTest, DetachedNodeOutlivesItsDocumentAndKeepsItsNamespaces) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto punch = Find(root.get(), "psf:Feature", 2);
    auto option = Find(punch.get(), "psf:Option");
    ASSERT_EQ(root->removeChild(punch.get(), nullptr), S_OK);
    punch.Reset();
    root.Reset();
    document.Reset();

    EXPECT_EQ(NamespaceOf(option.get()), FrameworkUri);
    EXPECT_EQ(Attribute(option.get(), "name"), "pv:Punch");
    Ref<IXMLDOMDocument> owner;
    ASSERT_EQ(option->get_ownerDocument(owner.out()), S_OK);
    auto ownerDocument = Query<IXMLDOMDocument2>(owner.get(), IID_IXMLDOMDocument2);
    EXPECT_EQ(Save(ownerDocument.get()).find("JobHolePunch"), std::string::npos);
}

TEST_F(TreeEditTest, RemovedNodeCanBeAttachedAgainElsewhere) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto nested = Find(root.get(), "psf:Feature", 1);
    auto outputBin = Find(root.get(), "psf:Feature", 0);
    ASSERT_EQ(outputBin->removeChild(nested.get(), nullptr), S_OK);
    auto punch = Find(root.get(), "psf:Feature", 1);
    ASSERT_EQ(punch->appendChild(nested.get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find("<psf:Feature name=\"psk:Nested\"/></psf:Feature>\n</psf:PrintTicket>"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, NodesBuiltWhileDetachedAreBoundWhenAttached) {
    auto document = Load(TicketXml);
    auto property = Create(document.get(), NODE_ELEMENT, "psf:ScoredProperty", FrameworkUri);
    auto value = Create(document.get(), NODE_ELEMENT, "psf:Value", FrameworkUri);
    auto valueElement = Query<IXMLDOMElement>(value.get(), IID_IXMLDOMElement);
    auto type = CreateAttribute(document.get(), "xsi:type", XsiUri, "xsd:integer");
    ASSERT_EQ(valueElement->setAttributeNode(type.get(), nullptr), S_OK);
    ASSERT_EQ(property->appendChild(value.get(), nullptr), S_OK);
    auto option = Find(document.get(), "psf:Option", 1);
    ASSERT_EQ(option->appendChild(property.get(), nullptr), S_OK);
    std::string saved = SaveAndReload(document.get());
    EXPECT_NE(saved.find("<psf:ScoredProperty><psf:Value xsi:type=\"xsd:integer\"/>"),
              std::string::npos)
        << saved;
}

TEST_F(TreeEditTest, SetAttributeNodeReplacesTheSameNameAndHandsTheOldOneBack) {
    auto document = Load(TicketXml);
    auto option = Find(document.get(), "psf:Option");
    auto renamed = CreateAttribute(document.get(), "name", FrameworkUri, "psk:Renamed");
    Ref<IXMLDOMAttribute> former;
    ASSERT_EQ(option->setAttributeNode(renamed.get(), former.out()), S_OK);
    ASSERT_TRUE(former);
    EXPECT_EQ(TextOf(former.get()), "psk:Center");
    EXPECT_EQ(Attribute(option.get(), "name"), "psk:Renamed");
    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(option->get_attributes(attributes.out()), S_OK);
    LONG length = 0;
    ASSERT_EQ(attributes->get_length(&length), S_OK);
    EXPECT_EQ(length, 1);

    EXPECT_EQ(option->setAttributeNode(renamed.get(), former.out()), S_OK);
    EXPECT_FALSE(former);
    auto other = Find(document.get(), "psf:Option", 1);
    EXPECT_EQ(other->setAttributeNode(renamed.get(), nullptr), E_INVALIDARG);
}

TEST_F(TreeEditTest, PutTextKeepsReplacedChildrenAliveForTheirHolders) {
    auto document = Load(TicketXml);
    auto center = Find(document.get(), "psf:Option");
    auto property = Find(center.get(), "psf:ScoredProperty");
    Bstr text(u"plain");
    ASSERT_EQ(center->put_text(text.get()), S_OK);
    EXPECT_EQ(Xml(center.get()), "<psf:Option name=\"psk:Center\">plain</psf:Option>");
    EXPECT_EQ(Attribute(property.get(), "name"), "psk:BinType");
    EXPECT_EQ(TextOf(property.get()), "\n        psk:Tray\n      ");
    Ref<IXMLDOMNode> parent;
    EXPECT_EQ(property->get_parentNode(parent.out()), S_FALSE);
}
} // namespace
