// Finding features, properties, scored properties and options by name, and
// the first option or value below an element.
#include "common/namespaces.h"
#include "dom_test_support.h"
#include "platform_testing.h"

using namespace ptbridge;

namespace {

const std::string Ticket = Documents.Ticket(
    "<psf:Feature name=\"psk:JobNUpAllDocumentsContiguously\">"
    "<psf:Feature name=\"psk:PresentationDirection\">"
    "<psf:Option name=\"psk:RightBottom\"/>"
    "</psf:Feature>"
    "<psf:Option><psf:ScoredProperty name=\"psk:PagesPerSheet\"><psf:Value>2</psf:Value>"
    "</psf:ScoredProperty></psf:Option>"
    "</psf:Feature>"
    "<psf:Property/>"
    "<psf:Property name=\"psk:JobName\"><psf:Value>report</psf:Value></psf:Property>");

// Options in every form a document may hold them: by OptionName value only,
// by name attribute, with neither, with an OptionName but no value, and
// with an OptionName value after all of them.
const std::string MixedOptions = Documents.Ticket(
    "<psf:Feature name=\"psk:JobOutputBin\">"
    "<psf:Option><psf:ScoredProperty name=\"psf:OptionName\">"
    "<psf:Value xsi:type=\"xsd:QName\">psk:Tray</psf:Value></psf:ScoredProperty></psf:Option>"
    "<psf:Option name=\"psk:Center\"/>"
    "<psf:Option constrained=\"psk:None\"/>"
    "<psf:Option><psf:ScoredProperty name=\"psf:OptionName\"/></psf:Option>"
    "<psf:Option><psf:ScoredProperty name=\"psf:OptionName\">"
    "<psf:Value xsi:type=\"xsd:QName\">psk:Stacker</psf:Value></psf:ScoredProperty></psf:Option>"
    "</psf:Feature>");

class SchemaFindTest : public DomHelperTest {
  protected:
    // Position in document order of `option` among all options, or -1.
    LONG OptionIndex(IXMLDOMElement* option) {
        for (LONG i = 0; i < CountByTag("psf:Option"); ++i) {
            ComPtr<IXMLDOMElement> candidate;
            ElementByTag("psf:Option", i, candidate.Put());
            if (candidate.Get() == option)
                return i;
        }
        return -1;
    }
    void OutputBin(IXMLDOMElement** feature) { ElementByTag("psf:Feature", 0, feature); }
};

TEST_F(SchemaFindTest, FeatureNestedInAFeatureIsFoundFromTheRoot) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> feature;
    ASSERT_EQ(helper_->FindFeature(nullptr, KeywordsNamespaceUri, W("PresentationDirection"),
                                   feature.Put()),
              S_OK);
    EXPECT_EQ(AttributeText(feature.Get(), "name"), "psk:PresentationDirection");

    IXMLDOMElement* missing = feature.Get();
    EXPECT_EQ(helper_->FindFeature(nullptr, KeywordsNamespaceUri, W("JobHolePunch"), &missing),
              S_FALSE);
    EXPECT_EQ(missing, nullptr);
}

TEST_F(SchemaFindTest, PropertyAfterAnUnnamedPropertyIsFound) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> property;
    ASSERT_EQ(helper_->FindProperty(nullptr, KeywordsNamespaceUri, W("JobName"), property.Put()),
              S_OK);
    ComPtr<IXMLDOMElement> value;
    ASSERT_EQ(helper_->GetFirstValue(property.Get(), value.Put()), S_OK);
    EXPECT_EQ(NodeText(value.Get()), "report");
}

TEST_F(SchemaFindTest, UndeclaredNameNamespaceFailsTheFindWithoutTouchingTheOutPointer) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> root;
    ElementByTag("psf:PrintTicket", 0, root.Put());
    IXMLDOMElement* untouched = root.Get();
    HRESULT hr = helper_->FindFeature(nullptr, W("urn:nowhere"), W("X"), &untouched);
    EXPECT_NE(hr, S_OK);
    EXPECT_EQ(untouched, root.Get());
}

TEST_F(SchemaFindTest, FirstOptionMayBeASubFeaturesOption) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> outer;
    ElementByTag("psf:Feature", 0, outer.Put());
    ComPtr<IXMLDOMElement> option;
    ASSERT_EQ(helper_->GetFirstOption(outer.Get(), option.Put()), S_OK);
    EXPECT_EQ(AttributeText(option.Get(), "name"), "psk:RightBottom");
}

TEST_F(SchemaFindTest, ScoredPropertyWithoutValueHasNoFirstValue) {
    Load(MixedOptions);
    ComPtr<IXMLDOMElement> empty;
    ElementByTag("psf:ScoredProperty", 1, empty.Put());
    IXMLDOMElement* value = empty.Get();
    EXPECT_EQ(helper_->GetFirstValue(empty.Get(), &value), S_FALSE);
    EXPECT_EQ(value, nullptr);
}

TEST_F(SchemaFindTest, NamedOptionIsFoundAfterAnOptionWithoutAName) {
    Load(MixedOptions);
    ComPtr<IXMLDOMElement> feature;
    OutputBin(feature.Put());
    ComPtr<IXMLDOMElement> option;
    ASSERT_EQ(helper_->FindOption(feature.Get(), KeywordsNamespaceUri, W("Center"), option.Put()),
              S_OK);
    EXPECT_EQ(OptionIndex(option.Get()), 1);
}

TEST_F(SchemaFindTest, OptionIsFoundByItsOptionNameValue) {
    Load(MixedOptions);
    ComPtr<IXMLDOMElement> feature;
    OutputBin(feature.Put());
    ComPtr<IXMLDOMElement> option;
    ASSERT_EQ(helper_->FindOption(feature.Get(), KeywordsNamespaceUri, W("Tray"), option.Put()),
              S_OK);
    EXPECT_EQ(OptionIndex(option.Get()), 0);
    // Past options without a name, without an OptionName and without a value.
    ASSERT_EQ(helper_->FindOption(feature.Get(), KeywordsNamespaceUri, W("Stacker"), option.Put()),
              S_OK);
    EXPECT_EQ(OptionIndex(option.Get()), 4);
}

// Passing over options without a name only finds what the stopping search
// misses: an option found by its OptionName before the search meets an option
// without one is the answer, even when a later option has the name attribute.
TEST_F(SchemaFindTest, OptionFoundByOptionNameWinsOverALaterNameAttribute) {
    Load(Documents.Ticket("<psf:Feature name=\"psk:JobOutputBin\">"
                          "<psf:Option><psf:ScoredProperty name=\"psf:OptionName\">"
                          "<psf:Value>psk:Center</psf:Value></psf:ScoredProperty></psf:Option>"
                          "<psf:Option name=\"psk:Center\"/></psf:Feature>"));
    ComPtr<IXMLDOMElement> feature;
    OutputBin(feature.Put());
    ComPtr<IXMLDOMElement> option;
    ASSERT_EQ(helper_->FindOption(feature.Get(), KeywordsNamespaceUri, W("Center"), option.Put()),
              S_OK);
    EXPECT_EQ(OptionIndex(option.Get()), 0);
}

TEST_F(SchemaFindTest, OptionThatNoFormNamesIsNotFound) {
    Load(MixedOptions);
    ComPtr<IXMLDOMElement> feature;
    OutputBin(feature.Put());
    IXMLDOMElement* option = feature.Get();
    EXPECT_EQ(helper_->FindOption(feature.Get(), KeywordsNamespaceUri, W("Finisher"), &option),
              S_FALSE);
    EXPECT_EQ(option, nullptr);
    EXPECT_EQ(helper_->FindOption(feature.Get(), KeywordsNamespaceUri, W("tray"), &option),
              S_FALSE);
    EXPECT_EQ(helper_->FindOption(nullptr, KeywordsNamespaceUri, W("Tray"), &option), E_INVALIDARG);
    EXPECT_EQ(helper_->FindOption(feature.Get(), nullptr, W("Tray"), &option), E_INVALIDARG);
}

TEST_F(SchemaFindTest, EveryFailureOfAnOptionSearchReleasesWhatItTook) {
    ForEachInjectedFault(MixedOptions, [&](LONG nth) {
        ComPtr<IXMLDOMElement> feature;
        OutputBin(feature.Put());
        ComPtr<IXMLDOMElement> option;
        Arm(nth, PlatformFaultDom | PlatformFaultAllocation);
        HRESULT hr =
            helper_->FindOption(feature.Get(), KeywordsNamespaceUri, W("Stacker"), option.Put());
        bool injected = Disarm(nth);
        // The rewind before the second pass is the one call whose failure is
        // not reported: the pass then starts wherever the list stands.
        if (hr == S_OK) {
            EXPECT_EQ(OptionIndex(option.Get()), 4);
        } else {
            EXPECT_TRUE(injected) << std::hex << hr;
            EXPECT_TRUE(hr == InjectedFailure || hr == E_OUTOFMEMORY || hr == S_FALSE)
                << std::hex << hr;
            EXPECT_EQ(option.Get(), nullptr);
        }
        return injected;
    });
}

} // namespace
