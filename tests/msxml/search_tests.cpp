// getElementsByTagName, node lists and attribute maps.
#include "dom_test_support.h"

#include <vector>

using namespace ptbridge;

namespace {
class SearchTest : public DomTest {
  protected:
    ComPtr<IXMLDOMNodeList> ByTagName(IXMLDOMElement* under, const std::string& tagName) {
        UniqueBstr name = MakeBstr(Wide(tagName));
        ComPtr<IXMLDOMNodeList> list;
        EXPECT_EQ(under->getElementsByTagName(name.Get(), list.Put()), S_OK);
        return list;
    }

    // The "name" attribute of every node of the list, walked with nextNode.
    std::vector<std::string> NamesIn(IXMLDOMNodeList* list) {
        std::vector<std::string> names;
        ComPtr<IXMLDOMNode> node;
        while (list->nextNode(node.Put()) == S_OK)
            names.push_back(AttributeText(node.Get(), "name"));
        return names;
    }
};

using Names = std::vector<std::string>;

TEST_F(SearchTest, FindsPrefixedTagsAtAnyDepthInDocumentOrder) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto features = ByTagName(root.Get(), "psf:Feature");
    EXPECT_EQ(NamesIn(features.Get()),
              (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));
    auto options = ByTagName(root.Get(), "psf:Option");
    EXPECT_EQ(NamesIn(options.Get()), (Names{"psk:Center", "psk:Finisher", "pv:Punch"}));
}

TEST_F(SearchTest, SearchesOnlyBelowTheElement) {
    auto document = Load(TicketXml);
    auto outputBin = Find(document.Get(), "psf:Feature");
    EXPECT_EQ(NamesIn(ByTagName(outputBin.Get(), "psf:Feature").Get()), (Names{"psk:Nested"}));
    auto root = Root(document.Get());
    EXPECT_EQ(Length(ByTagName(root.Get(), "psf:PrintTicket").Get()), 0);
    UniqueBstr name = MakeBstr(u"psf:PrintTicket");
    ComPtr<IXMLDOMNodeList> fromDocument;
    ASSERT_EQ(document->getElementsByTagName(name.Get(), fromDocument.Put()), S_OK);
    EXPECT_EQ(Length(fromDocument.Get()), 1);
}

TEST_F(SearchTest, MatchesTheNameAsWrittenPrefixIncluded) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    EXPECT_EQ(Length(ByTagName(root.Get(), "Feature").Get()), 0);
    EXPECT_EQ(Length(ByTagName(root.Get(), "psk:Feature").Get()), 0);
    EXPECT_EQ(Length(ByTagName(root.Get(), "psf:feature").Get()), 0);
    EXPECT_EQ(Length(ByTagName(root.Get(), "*").Get()), 8);

    auto defaulted = Load(DefaultNamespaceTicketXml);
    auto defaultRoot = Root(defaulted.Get());
    EXPECT_EQ(NamesIn(ByTagName(defaultRoot.Get(), "Feature").Get()), (Names{"psk:JobOutputBin"}));
    EXPECT_EQ(Length(ByTagName(defaultRoot.Get(), "psf:Feature").Get()), 0);
}

TEST_F(SearchTest, MatchesTagNamesBeyondAscii) {
    auto document = Load("<a xmlns:p=\"urn:p\"><\xC3\xA9t\xC3\xA9/><p:\xC3\xA9t\xC3\xA9/>"
                         "<\xC3\xA9t\xC3\xA8/></a>");
    auto root = Root(document.Get());
    auto count = [&](const std::u16string& tagName) {
        UniqueBstr name = MakeBstr(tagName);
        ComPtr<IXMLDOMNodeList> list;
        EXPECT_EQ(root->getElementsByTagName(name.Get(), list.Put()), S_OK);
        return Length(list.Get());
    };
    EXPECT_EQ(count(u"\u00E9t\u00E9"), 1);
    EXPECT_EQ(count(u"p:\u00E9t\u00E9"), 1);
    EXPECT_EQ(count(u"\u00E9t\u00E8"), 1);
    EXPECT_EQ(count(u"\u00E9t"), 0);
}

TEST_F(SearchTest, RepeatedSearchSeesEveryEditOfTheElements) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto features = [&] { return NamesIn(ByTagName(root.Get(), "psf:Feature").Get()); };
    ASSERT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));

    // An attribute edit leaves the elements as they are.
    auto renamed = CreateAttribute(document.Get(), "name", nullptr, "psk:Renamed");
    auto holePunch = Find(root.Get(), "psf:Feature", 2);
    ASSERT_EQ(holePunch->setAttributeNode(renamed.Get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:Renamed"}));

    auto nested = Find(root.Get(), "psf:Feature", 1);
    ASSERT_EQ(root->appendChild(nested.Get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Renamed", "psk:Nested"}));
    ASSERT_EQ(root->removeChild(holePunch.Get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested"}));

    auto outputBin = Find(root.Get(), "psf:Feature");
    auto created = Create(document.Get(), NODE_ELEMENT, "psf:Feature", FrameworkUri);
    ASSERT_EQ(outputBin->appendChild(created.Get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", AbsentAttribute, "psk:Nested"}));
    UniqueBstr text = MakeBstr(u"nothing");
    ASSERT_EQ(outputBin->put_text(text.Get()), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested"}));

    UniqueBstr replacement =
        MakeBstr(u"<psf:PrintTicket xmlns:psf=\"urn:f\"><psf:Feature name=\"x\"/>"
                 u"</psf:PrintTicket>");
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ASSERT_EQ(document->loadXML(replacement.Get(), &loaded), S_OK);
    root = Root(document.Get());
    EXPECT_EQ(features(), (Names{"x"}));
}

// Answers to several searches are kept at once; each must see exactly the
// edits that concern it, whichever search ran last.
TEST_F(SearchTest, InterleavedSearchesEachSeeTheEditsThatConcernThem) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto outputBin = Find(root.Get(), "psf:Feature");
    auto features = [&] { return NamesIn(ByTagName(root.Get(), "psf:Feature").Get()); };
    auto options = [&] { return NamesIn(ByTagName(root.Get(), "psf:Option").Get()); };
    auto binOptions = [&] { return NamesIn(ByTagName(outputBin.Get(), "psf:Option").Get()); };
    ASSERT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));
    ASSERT_EQ(options(), (Names{"psk:Center", "psk:Finisher", "pv:Punch"}));
    ASSERT_EQ(binOptions(), (Names{"psk:Center", "psk:Finisher"}));

    auto finisher = Find(root.Get(), "psf:Option", 1);
    ASSERT_EQ(outputBin->removeChild(finisher.Get(), nullptr), S_OK);
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));
    EXPECT_EQ(binOptions(), (Names{"psk:Center"}));
    EXPECT_EQ(options(), (Names{"psk:Center", "pv:Punch"}));

    auto holePunch = Find(root.Get(), "psf:Feature", 2);
    ASSERT_EQ(outputBin->appendChild(holePunch.Get(), nullptr), S_OK);
    EXPECT_EQ(binOptions(), (Names{"psk:Center", "pv:Punch"}));
    EXPECT_EQ(features(), (Names{"psk:JobOutputBin", "psk:Nested", "psk:JobHolePunch"}));
    ASSERT_EQ(root->removeChild(outputBin.Get(), nullptr), S_OK);
    EXPECT_EQ(options(), Names{});
    EXPECT_EQ(features(), Names{});
}

TEST_F(SearchTest, ItemsByIndexAndTheEnds) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto options = ByTagName(root.Get(), "psf:Option");
    ASSERT_EQ(Length(options.Get()), 3);
    ComPtr<IXMLDOMNode> item;
    ASSERT_EQ(options->get_item(2, item.Put()), S_OK);
    EXPECT_EQ(AttributeText(item.Get(), "name"), "pv:Punch");
    EXPECT_EQ(options->get_item(3, item.Put()), S_FALSE);
    EXPECT_FALSE(item);
    EXPECT_EQ(options->get_item(-1, item.Put()), E_INVALIDARG);
    EXPECT_FALSE(item);
}

TEST_F(SearchTest, NextNodeWalksOnceAndResetRewinds) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto options = ByTagName(root.Get(), "psf:Option");
    ComPtr<IXMLDOMNode> item;
    ASSERT_EQ(options->nextNode(item.Put()), S_OK);
    EXPECT_EQ(AttributeText(item.Get(), "name"), "psk:Center");
    EXPECT_EQ(NamesIn(options.Get()), (Names{"psk:Finisher", "pv:Punch"}));
    EXPECT_EQ(options->nextNode(item.Put()), S_FALSE);
    EXPECT_FALSE(item);
    ASSERT_EQ(options->reset(), S_OK);
    EXPECT_EQ(NamesIn(options.Get()).size(), 3u);
}

TEST_F(SearchTest, ListKeepsItsNodesUsableAfterTheyLeaveTheDocument) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto features = ByTagName(root.Get(), "psf:Feature");
    ComPtr<IXMLDOMNode> last;
    ASSERT_EQ(features->get_item(2, last.Put()), S_OK);
    ASSERT_EQ(root->removeChild(last.Get(), nullptr), S_OK);
    last.Reset();
    document.Reset();
    root.Reset();
    EXPECT_EQ(NamesIn(features.Get()).back(), "psk:JobHolePunch");
}

TEST_F(SearchTest, ListKeepsNodesThatLeftTheDocumentWithoutAnyObject) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto options = ByTagName(root.Get(), "psf:Option");
    UniqueBstr text = MakeBstr(u"replaced");
    ASSERT_EQ(root->put_text(text.Get()), S_OK);
    EXPECT_EQ(NamesIn(options.Get()), (Names{"psk:Center", "psk:Finisher", "pv:Punch"}));
    ComPtr<IXMLDOMNode> option;
    ASSERT_EQ(options->get_item(0, option.Put()), S_OK);
    ComPtr<IXMLDOMNode> parent;
    ASSERT_EQ(option->get_parentNode(parent.Put()), S_OK);
    EXPECT_EQ(AttributeText(parent.Get(), "name"), "psk:JobOutputBin");
}

TEST_F(SearchTest, NamedItemByTheNameAsWritten) {
    auto document = Load(TicketXml);
    auto value = Find(document.Get(), "psf:Value");
    EXPECT_EQ(AttributeText(value.Get(), "xsi:type"), "xsd:QName");
    EXPECT_EQ(AttributeText(value.Get(), "type"), AbsentAttribute);
    auto option = Find(document.Get(), "psf:Option");
    EXPECT_EQ(AttributeText(option.Get(), "name"), "psk:Center");
    EXPECT_EQ(AttributeText(option.Get(), "constrained"), AbsentAttribute);

    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(option->get_attributes(attributes.Put()), S_OK);
    UniqueBstr missing = MakeBstr(u"constrained");
    ComPtr<IXMLDOMNode> item;
    EXPECT_EQ(attributes->getNamedItem(missing.Get(), item.Put()), S_FALSE);
    EXPECT_FALSE(item);
}

TEST_F(SearchTest, NamedItemComparesNamesBeyondAsciiExactly) {
    auto document = Load("<a xmlns:p=\"urn:p\" \xC3\xA9t\xC3\xA9=\"summer\" "
                         "p:\xF0\x9F\x98\x80=\"smile\" n=\"plain\"/>");
    auto root = Root(document.Get());
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(root->get_attributes(attributes.Put()), S_OK);
    auto valueOf = [&](const std::u16string& name) {
        UniqueBstr wanted = MakeBstr(name);
        ComPtr<IXMLDOMNode> item;
        HRESULT hr = attributes->getNamedItem(wanted.Get(), item.Put());
        return hr == S_OK ? NodeText(item.Get()) : std::string(AbsentAttribute);
    };
    EXPECT_EQ(valueOf(u"\u00E9t\u00E9"), "summer");
    EXPECT_EQ(valueOf(u"p:\U0001F600"), "smile");
    EXPECT_EQ(valueOf(u"n"), "plain");
    EXPECT_EQ(valueOf(u"\U0001F600"), AbsentAttribute);
    EXPECT_EQ(valueOf(u"q:\U0001F600"), AbsentAttribute);
    EXPECT_EQ(valueOf(u"p:\xD83D"), AbsentAttribute);
    EXPECT_EQ(valueOf(u"\u00E9t"), AbsentAttribute);
    EXPECT_EQ(valueOf(u"\u00E9t\u00E9t"), AbsentAttribute);
    EXPECT_EQ(valueOf(u""), AbsentAttribute);
}

TEST_F(SearchTest, AttributeMapKeepsItsElementAndDocumentAlive) {
    auto document = Load(TicketXml);
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    {
        auto option = Find(document.Get(), "psf:Option");
        ASSERT_EQ(option->get_attributes(attributes.Put()), S_OK);
    }
    document.Reset();
    UniqueBstr name = MakeBstr(u"name");
    ComPtr<IXMLDOMNode> item;
    ASSERT_EQ(attributes->getNamedItem(name.Get(), item.Put()), S_OK);
    EXPECT_EQ(NodeText(item.Get()), "psk:Center");
    EXPECT_EQ(Query<IXMLDOMNamedNodeMap>(attributes.Get(), IID_IXMLDOMNamedNodeMap).Get(),
              attributes.Get());
}

TEST_F(SearchTest, AttributeMapSeesLaterChanges) {
    auto document = Load(TicketXml);
    auto option = Find(document.Get(), "psf:Option", 1);
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(option->get_attributes(attributes.Put()), S_OK);
    auto constrained = CreateAttribute(document.Get(), "constrained", FrameworkUri, "psk:None");
    ASSERT_EQ(option->setAttributeNode(constrained.Get(), nullptr), S_OK);
    LONG length = 0;
    ASSERT_EQ(attributes->get_length(&length), S_OK);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(AttributeText(option.Get(), "constrained"), "psk:None");
}
} // namespace
