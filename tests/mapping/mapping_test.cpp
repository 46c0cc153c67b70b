#include "mapping_test.h"

#include "canonical_xml.h"
#include "msxml_standin.h"
#include "platform_testing.h"

#include <memory>

using namespace ptbridge;

void MappingTest::SetUp() {
    atStart_ = LiveObjectCounts();
}

void MappingTest::TearDown() {
    PlatformInjectFault(0, 0, S_OK);
    document.Reset();
    atStart_.ExpectUnchanged("at the end of the test");
    EXPECT_EQ(coreHelper.References(), 1) << "core helper references unbalanced";
}

// The rules' cases mean the white space they are written with ("psk:Stacker "
// is not a bin type of the table), so it is kept.
void MappingTest::Load(const std::string& xml) {
    ASSERT_TRUE(ParseDocument(xml, document.Put(), true));
}

bool MappingTest::Run(const Rule& rule) {
    LiveObjectCounts beforeRule;
    bool result;
    {
        std::unique_ptr<SchemaDocument> schema(new SchemaDocument(document.Get(), &coreHelper));
        result = rule(schema.get());
    }
    beforeRule.ExpectUnchanged("after the rule");
    EXPECT_EQ(coreHelper.References(), 1) << "core helper references unbalanced after the rule";
    return result;
}

std::string MappingTest::Canonical() const {
    std::string xml;
    EXPECT_EQ(SaveDocumentToString(document.Get(), &xml), S_OK);
    return CanonicalXml(xml);
}

void MappingTest::ExpectEachCase(const Rule& rule, const std::vector<RuleCase>& cases) {
    for (const RuleCase& runCase : cases) {
        SCOPED_TRACE(runCase.name);
        Load(runCase.before);
        EXPECT_EQ(Run(rule), runCase.succeeds);
        EXPECT_TRUE(DocumentIs(runCase.after));
    }
}

::testing::AssertionResult MappingTest::DocumentIs(const std::string& expectedXml) const {
    std::string expected = CanonicalXml(expectedXml);
    std::string actual = Canonical();
    if (actual == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "\n  document: " << actual << "\n  expected: " << expected;
}

std::vector<FaultedRun> MappingTest::RunWithEachFault(const std::string& xml, const Rule& rule) {
    std::vector<FaultedRun> runs;
    for (LONG nth = 1;; ++nth) {
        Load(xml);
        PlatformInjectFault(nth, PlatformFaultAll, E_FAIL);
        bool result = Run(rule);
        bool faultReached = PlatformFaultCallCount() >= nth;
        PlatformInjectFault(0, 0, S_OK);
        if (!faultReached)
            break;
        runs.push_back({result, Canonical()});
    }
    EXPECT_FALSE(runs.empty()) << "the rule made no platform call that could fail";
    return runs;
}

void ExpectOnlyStates(const std::vector<FaultedRun>& runs, const std::string& success,
                      const std::vector<std::string>& failureStates) {
    for (const FaultedRun& run : runs) {
        if (run.result) {
            EXPECT_EQ(run.canonicalDocument, success);
            continue;
        }
        bool documented = false;
        for (const std::string& state : failureStates)
            documented = documented || run.canonicalDocument == state;
        EXPECT_TRUE(documented) << "a failed run left " << run.canonicalDocument;
    }
}

bool AnyRunLeft(const std::vector<FaultedRun>& runs, const std::string& canonical) {
    for (const FaultedRun& run : runs) {
        if (run.canonicalDocument == canonical)
            return true;
    }
    return false;
}
