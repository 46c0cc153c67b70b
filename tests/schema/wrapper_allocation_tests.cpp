// A wrapper that cannot be allocated, one case per wrapper kind, found or
// created: the operation gives null and releases the element the helper handed
// back (the fixture's teardown counts the DOM objects); an element it created
// stays in the document.
#include "nothrow_new_failure.h"
#include "schema_test_support.h"

#include "common/namespaces.h"
#include "schema/schema_feature.h"
#include "schema/schema_option.h"
#include "schema/schema_property.h"
#include "schema/schema_value.h"

#include <memory>

using namespace ptbridge;

namespace {

struct Wrappers {
    SchemaDocument* document;
    SchemaFeature* feature;
    SchemaOption* option;
    SchemaProperty* property;
};

struct WrapperCase {
    const char* operation;
    SchemaNode* (*make)(const Wrappers&);
    bool createsElement;
};

const WrapperCase Cases[] = {
    {"FindFeature",
     [](const Wrappers& w) -> SchemaNode* {
         return w.document->FindFeature(KeywordsNamespaceUri, W("JobHolePunch"));
     },
     false},
    {"AddOption",
     [](const Wrappers& w) -> SchemaNode* {
         return w.feature->AddOption(KeywordsNamespaceUri, W("RightEdge"));
     },
     true},
    {"FindScoredProperty",
     [](const Wrappers& w) -> SchemaNode* {
         return w.option->FindScoredProperty(KeywordsNamespaceUri, W("HoleCount"));
     },
     false},
    {"AddIntegerValue",
     [](const Wrappers& w) -> SchemaNode* { return w.property->AddIntegerValue(3); }, true},
};

using WrapperAllocationTest = SchemaTest;

TEST_F(WrapperAllocationTest, GivesNullAndKeepsOnlyWhatItCreated) {
    Load(
        Documents.Ticket("<psf:Feature name=\"psk:JobHolePunch\"><psf:Option name=\"psk:LeftEdge\">"
                         "<psf:ScoredProperty name=\"psk:HoleCount\">"
                         "<psf:Value xsi:type=\"xsd:integer\">2</psf:Value></psf:ScoredProperty>"
                         "</psf:Option></psf:Feature>"));
    std::unique_ptr<SchemaFeature> feature(
        document->FindFeature(KeywordsNamespaceUri, W("JobHolePunch")));
    ASSERT_NE(nullptr, feature);
    std::unique_ptr<SchemaOption> option(feature->FirstOption());
    ASSERT_NE(nullptr, option);
    std::unique_ptr<SchemaProperty> property(
        option->FindScoredProperty(KeywordsNamespaceUri, W("HoleCount")));
    ASSERT_NE(nullptr, property);
    const Wrappers wrappers{document, feature.get(), option.get(), property.get()};

    for (const WrapperCase& wrapperCase : Cases) {
        SCOPED_TRACE(wrapperCase.operation);
        const std::string before = Saved();
        FailNothrowNew(1);
        std::unique_ptr<SchemaNode> wrapper(wrapperCase.make(wrappers));
        FailNothrowNew(0);
        EXPECT_EQ(nullptr, wrapper);
        EXPECT_EQ(wrapperCase.createsElement, Saved() != before);
    }
}

} // namespace
