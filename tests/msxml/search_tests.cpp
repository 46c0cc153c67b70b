// getElementsByTagName, node lists and attribute maps.
#include "dom_test_support.h"

#include <vector>

namespace {
class SearchTest : public DomTest {
  protected:
    Ref<IXMLDOMNodeList> ByTagName(IXMLDOMElement* under, const std::string& tagName) {
        Bstr name(Wide(tagName));
        Ref<IXMLDOMNodeList> list;
        EXPECT_EQ(under->getElementsByTagName(name.get(), list.out()), S_OK);
        return list;
    }

    // The "name" attribute of every node of the list, walked with nextNode.
    std::vector<std::string> NamesIn(IXMLDOMNodeList* list) {
        std::vector<std::string> names;
        Ref<IXMLDOMNode> node;
        while (list->nextNode(node.out()) == S_OK)
            names.push_back(Attribute(node.get(), "name"));
        return names;
    }
};

using Names = std::vector<std::string>;

TEST_F(SearchTest, FindsPrefixedTagsAtAnyDepthInDocumentOrder) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto features = ByTagName(root.get(), "psf:Feature");
    EXPECT_EQ(NamesIn(features.get()),
              (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));
    auto options = ByTagName(root.get(), "psf:Option");
    EXPECT_EQ(NamesIn(options.get()), (Names{"psk:Center", "psk:Finisher", "pv:Punch"}));
}

TEST_F(SearchTest, SearchesOnlyBelowTheElement) {
    auto document = Load(TicketXml);
    auto outputBin = Find(document.get(), "psf:Feature");
    EXPECT_EQ(NamesIn(ByTagName(outputBin.get(), "psf:Feature").get()), (Names{"psk:Nested"}));
    auto root = Root(document.get());
    EXPECT_EQ(Length(ByTagName(root.get(), "psf:PrintTicket").get()), 0);
    Bstr name(u"psf:PrintTicket");
    Ref<IXMLDOMNodeList> fromDocument;
    ASSERT_EQ(document->getElementsByTagName(name.get(), fromDocument.out()), S_OK);
    EXPECT_EQ(Length(fromDocument.get()), 1);
}

TEST_F(SearchTest, MatchesTheNameAsWrittenPrefixIncluded) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    EXPECT_EQ(Length(ByTagName(root.get(), "Feature").get()), 0);
    EXPECT_EQ(Length(ByTagName(root.get(), "psk:Feature").get()), 0);
    EXPECT_EQ(Length(ByTagName(root.get(), "psf:feature").get()), 0);
    EXPECT_EQ(Length(ByTagName(root.get(), "*").get()), 8);

    auto defaulted = Load(DefaultNamespaceTicketXml);
    auto defaultRoot = Root(defaulted.get());
    EXPECT_EQ(NamesIn(ByTagName(defaultRoot.get(), "Feature").get()), (Names{"psk:JobOutputBin"}));
    EXPECT_EQ(Length(ByTagName(defaultRoot.get(), "psf:Feature").get()), 0);
}

TEST_F(SearchTest, MatchesTagNamesBeyondAscii) {
    auto document = Load("<a xmlns:p=\"urn:p\"><\xC3\xA9t\xC3\xA9/><p:\xC3\xA9t\xC3\xA9/>"
                         "<\xC3\xA9t\xC3\xA8/></a>");
    auto root = Root(document.get());
    auto count = [&](const std::u16string& tagName) {
        Bstr name(tagName);
        Ref<IXMLDOMNodeList> list;
        EXPECT_EQ(root->getElementsByTagName(name.get(), list.out()), S_OK);
        return Length(list.get());
    };
    EXPECT_EQ(count(u"\u00E9t\u00E9"), 1);
    EXPECT_EQ(count(u"p:\u00E9t\u00E9"), 1);
    EXPECT_EQ(count(u"\u00E9t\u00E8"), 1);
    EXPECT_EQ(count(u"\u00E9t"), 0);
}

TEST_F(SearchTest, RepeatedSearchSeesEveryEditOfTheElements) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto features = [&] { return NamesIn(ByTagName(root.get(), "psf:Feature").get()); };
    ASSERT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));

    // An attribute edit leaves the elements as they are.
    auto renamed = CreateAttribute(document.get(), "name", nullptr, "psk:Renamed");
    auto holePunch = Find(root.get(), "psf:Feature", 2);
    ASSERT_EQ(holePunch->setAttributeNode(renamed.get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:Renamed"}));

    auto nested = Find(root.get(), "psf:Feature", 1);
    ASSERT_EQ(root->appendChild(nested.get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Renamed", "psk:Nested"}));
    ASSERT_EQ(root->removeChild(holePunch.get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested"}));

    auto outputBin = Find(root.get(), "psf:Feature");
    auto created = Create(document.get(), NODE_ELEMENT, "psf:Feature", FrameworkUri);
    ASSERT_EQ(outputBin->appendChild(created.get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "(absent)", "psk:Nested"}));
    Bstr text(u"nothing");
    ASSERT_EQ(outputBin->put_text(text.get()), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested"}));

    Bstr replacement(u"<psf:PrintTicket xmlns:psf=\"urn:f\"><psf:Feature name=\"x\"/>"
                     u"</psf:PrintTicket>");
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ASSERT_EQ(document->loadXML(replacement.get(), &loaded), S_OK);
    root = Root(document.get());
    EXPECT_EQ(features(), (Names{"x"}));
}

// Answers to several searches are kept at once; each must see exactly the
// edits that concern it, whichever search ran last.
TEST_F(SearchTest, InterleavedSearchesEachSeeTheEditsThatConcernThem) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto outputBin = Find(root.get(), "psf:Feature");
    auto features = [&] { return NamesIn(ByTagName(root.get(), "psf:Feature").get()); };
    auto options = [&] { return NamesIn(ByTagName(root.get(), "psf:Option").get()); };
    auto binOptions = [&] { return NamesIn(ByTagName(outputBin.get(), "psf:Option").get()); };
    ASSERT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));
    ASSERT_EQ(options(), (Names{"psk:Center", "psk:Finisher", "pv:Punch"}));
    ASSERT_EQ(binOptions(), (Names{"psk:Center", "psk:Finisher"}));

    auto finisher = Find(root.get(), "psf:Option", 1);
    ASSERT_EQ(outputBin->removeChild(finisher.get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));
    EXPECT_EQ(binOptions(), (Names{"psk:Center"}));
    EXPECT_EQ(options(), (Names{"psk:Center", "pv:Punch"}));

    auto holePunch = Find(root.get(), "psf:Feature", 2);
    ASSERT_EQ(outputBin->appendChild(holePunch.get(), nullptr), S_OK);
    EXPECT_EQ(binOptions(), (Names{"psk:Center", "pv:Punch"}));
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));
    ASSERT_EQ(root->removeChild(outputBin.get(), nullptr), S_OK);
    EXPECT_EQ(options(), Names{});
    EXPECT_EQ(features(), Names{});
}

TEST_F(SearchTest, ItemsByIndexAndTheEnds) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto options = ByTagName(root.get(), "psf:Option");
    ASSERT_EQ(Length(options.get()), 3);
    Ref<IXMLDOMNode> item;
    ASSERT_EQ(options->get_item(2, item.out()), S_OK);
    EXPECT_EQ(Attribute(item.get(), "name"), "pv:Punch");
    EXPECT_EQ(options->get_item(3, item.out()), S_FALSE);
    EXPECT_FALSE(item);
    EXPECT_EQ(options->get_item(-1, item.out()), E_INVALIDARG);
    EXPECT_FALSE(item);
}

TEST_F(SearchTest, NextNodeWalksOnceAndResetRewinds) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto options = ByTagName(root.get(), "psf:Option");
    Ref<IXMLDOMNode> item;
    ASSERT_EQ(options->nextNode(item.out()), S_OK);
    EXPECT_EQ(Attribute(item.get(), "name"), "psk:Center");
    EXPECT_EQ(NamesIn(options.get()), (Names{"psk:Finisher", "pv:Punch"}));
    EXPECT_EQ(options->nextNode(item.out()), S_FALSE);
    EXPECT_FALSE(item);
    ASSERT_EQ(options->reset(), S_OK);
    EXPECT_EQ(NamesIn(options.get()).size(), 3u);
}

TEST_F(SearchTest, ListKeepsItsNodesUsableAfterTheyLeaveTheDocument) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto features = ByTagName(root.get(), "psf:Feature");
    Ref<IXMLDOMNode> last;
    ASSERT_EQ(features->get_item(2, last.out()), S_OK);
    ASSERT_EQ(root->removeChild(last.get(), nullptr), S_OK);
    last.Reset();
    document.Reset();
    root.Reset();
    EXPECT_EQ(NamesIn(features.get()).back(), "psk:JobHolePunch");
}

TEST_F(SearchTest, ListKeepsNodesThatLeftTheDocumentWithoutAnyObject) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto options = ByTagName(root.get(), "psf:Option");
    Bstr text(u"replaced");
    ASSERT_EQ(root->put_text(text.get()), S_OK);
    EXPECT_EQ(NamesIn(options.get()), (Names{"psk:Center", "psk:Finisher", "pv:Punch"}));
    Ref<IXMLDOMNode> option;
    ASSERT_EQ(options->get_item(0, option.out()), S_OK);
    Ref<IXMLDOMNode> parent;
    ASSERT_EQ(option->get_parentNode(parent.out()), S_OK);
    EXPECT_EQ(Attribute(parent.get(), "name"), "psk:JobOutputBin");
}

TEST_F(SearchTest, ListMakesAnObjectOnlyForTheNodeItHandsOut) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    LONG before = LiveDomObjectCount();
    auto everything = ByTagName(root.get(), "*");
    ASSERT_EQ(Length(everything.get()), 8);
    EXPECT_EQ(LiveDomObjectCount(), before + 1);
    Ref<IXMLDOMNode> item;
    ASSERT_EQ(everything->nextNode(item.out()), S_OK);
    EXPECT_EQ(LiveDomObjectCount(), before + 2);
}

TEST_F(SearchTest, NamedItemByTheNameAsWritten) {
    auto document = Load(TicketXml);
    auto value = Find(document.get(), "psf:Value");
    EXPECT_EQ(Attribute(value.get(), "xsi:type"), "xsd:QName");
    EXPECT_EQ(Attribute(value.get(), "type"), "(absent)");
    auto option = Find(document.get(), "psf:Option");
    EXPECT_EQ(Attribute(option.get(), "name"), "psk:Center");
    EXPECT_EQ(Attribute(option.get(), "constrained"), "(absent)");

    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(option->get_attributes(attributes.out()), S_OK);
    Bstr missing(u"constrained");
    Ref<IXMLDOMNode> item;
    EXPECT_EQ(attributes->getNamedItem(missing.get(), item.out()), S_FALSE);
    EXPECT_FALSE(item);
}

TEST_F(SearchTest, NamedItemComparesNamesBeyondAsciiExactly) {
    auto document = Load("<a xmlns:p=\"urn:p\" \xC3\xA9t\xC3\xA9=\"summer\" "
                         "p:\xF0\x9F\x98\x80=\"smile\" n=\"plain\"/>");
    auto root = Root(document.get());
    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(root->get_attributes(attributes.out()), S_OK);
    auto valueOf = [&](const std::u16string& name) {
        Bstr wanted(name);
        Ref<IXMLDOMNode> item;
        HRESULT hr = attributes->getNamedItem(wanted.get(), item.out());
        return hr == S_OK ? TextOf(item.get()) : std::string("(absent)");
    };
    EXPECT_EQ(valueOf(u"\u00E9t\u00E9"), "summer");
    EXPECT_EQ(valueOf(u"p:\U0001F600"), "smile");
    EXPECT_EQ(valueOf(u"n"), "plain");
    EXPECT_EQ(valueOf(u"\U0001F600"), "(absent)");
    EXPECT_EQ(valueOf(u"q:\U0001F600"), "(absent)");
    EXPECT_EQ(valueOf(u"p:\xD83D"), "(absent)");
    EXPECT_EQ(valueOf(u"\u00E9t"), "(absent)");
    EXPECT_EQ(valueOf(u"\u00E9t\u00E9t"), "(absent)");
    EXPECT_EQ(valueOf(u""), "(absent)");
}

TEST_F(SearchTest, NamespaceDeclarationsAreNotAttributes) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    EXPECT_EQ(Attribute(root.get(), "xmlns:psf"), "(absent)");
    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(root->get_attributes(attributes.out()), S_OK);
    LONG length = 0;
    ASSERT_EQ(attributes->get_length(&length), S_OK);
    EXPECT_EQ(length, 1);
    Ref<IXMLDOMNode> item;
    ASSERT_EQ(attributes->get_item(0, item.out()), S_OK);
    EXPECT_EQ(Name(item.get()), "version");
    EXPECT_EQ(attributes->get_item(1, item.out()), S_FALSE);
    EXPECT_EQ(attributes->get_item(-1, item.out()), E_INVALIDARG);
}

TEST_F(SearchTest, AttributeMapKeepsItsElementAndDocumentAlive) {
    auto document = Load(TicketXml);
    Ref<IXMLDOMNamedNodeMap> attributes;
    {
        auto option = Find(document.get(), "psf:Option");
        ASSERT_EQ(option->get_attributes(attributes.out()), S_OK);
    }
    document.Reset();
    Bstr name(u"name");
    Ref<IXMLDOMNode> item;
    ASSERT_EQ(attributes->getNamedItem(name.get(), item.out()), S_OK);
    EXPECT_EQ(TextOf(item.get()), "psk:Center");
    EXPECT_EQ(Query<IXMLDOMNamedNodeMap>(attributes.get(), IID_IXMLDOMNamedNodeMap).get(),
              attributes.get());
}

TEST_F(SearchTest, AttributeMapSeesLaterChanges) {
    auto document = Load(TicketXml);
    auto option = Find(document.get(), "psf:Option", 1);
    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(option->get_attributes(attributes.out()), S_OK);
    auto constrained = CreateAttribute(document.get(), "constrained", FrameworkUri, "psk:None");
    ASSERT_EQ(option->setAttributeNode(constrained.get(), nullptr), S_OK);
    LONG length = 0;
    ASSERT_EQ(attributes->get_length(&length), S_OK);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(Attribute(option.get(), "constrained"), "psk:None");
}
} // namespace
