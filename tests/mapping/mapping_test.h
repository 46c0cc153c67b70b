// What the mapping-rule tests share: Print Schema documents built around a
// body of features, a fixture that runs a rule over a freshly wrapped host
// document, and proof that nothing a run allocated is left alive.
#pragma once

#include "dom_reading.h"
#include "fake_core_helper.h"
#include "print_schema_root.h"
#include "schema/schema_document.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Declarations of the test documents' roots: psf (framework), psk (keywords),
// xsi, xsd and pv (the plug-in's private namespace); Documents declares them all.
inline const std::string FrameworkDeclaration = Declaration("psf", FrameworkUri);
inline const std::string KeywordsDeclaration = Declaration("psk", KeywordsUri);
inline const std::string SchemaDeclarations =
    Declaration("xsi", XsiUri) + Declaration("xsd", XsdUri);
inline const std::string PrivateDeclaration = Declaration("pv", PrivateUri);
inline const PrintSchemaRoot Documents{FrameworkDeclaration + KeywordsDeclaration +
                                       SchemaDeclarations + PrivateDeclaration};

using Rule = std::function<bool(ptbridge::SchemaDocument*)>;

// One run of a rule: the document it starts from, whether it succeeds and the
// document it leaves.
struct RuleCase {
    std::string name;
    std::string before;
    bool succeeds;
    std::string after;
};

// The outcome of one run of a rule with one platform call failing.
struct FaultedRun {
    bool result;
    std::string canonicalDocument;
};

class MappingTest : public ::testing::Test {
  protected:
    void SetUp() override;
    // Releases the document and checks that no DOM object, BSTR or task
    // memory block is left alive.
    void TearDown() override;

    // Replaces the host document with one parsed from `xml`.
    void Load(const std::string& xml);
    // Runs `rule` over a SchemaDocument made for this run and deleted after it;
    // checks that the run released everything it took.
    bool Run(const Rule& rule);
    // Canonical text of the host document as it stands.
    std::string Canonical() const;
    // Whether the host document now equals `expectedXml` (canonically).
    ::testing::AssertionResult DocumentIs(const std::string& expectedXml) const;
    // Runs `rule` on each case's document afresh, traced by the case's name.
    void ExpectEachCase(const Rule& rule, const std::vector<RuleCase>& cases);

    // Loads `xml` afresh for every platform call a clean run makes, and runs
    // `rule` with that call failing. Every run is checked for balance.
    std::vector<FaultedRun> RunWithEachFault(const std::string& xml, const Rule& rule);

    FakeCoreHelper coreHelper;
    ptbridge::ComPtr<IXMLDOMDocument2> document;

  private:
    LiveObjectCounts atStart_;
};

// Checks faulted runs: true exactly for those that left `success`, and every
// other run left one of `failureStates` (all canonical texts).
void ExpectOnlyStates(const std::vector<FaultedRun>& runs, const std::string& success,
                      const std::vector<std::string>& failureStates);
// Whether `runs` holds a run whose document is `canonical`.
bool AnyRunLeft(const std::vector<FaultedRun>& runs, const std::string& canonical);
