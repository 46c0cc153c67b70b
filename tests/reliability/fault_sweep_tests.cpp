// Fault-injection sweep over the scenario corpus: every scenario's document
// goes through each conversion method once to count the platform calls the
// plug-in makes (DOM and namespace-manager operations, IPrintCoreHelper calls,
// BSTR, VARIANT and task-memory allocations), then once more for every such
// call K with the K-th call failing. Every run must leave nothing alive, give
// a result the conversion sequences allow and leave a well-formed document.
#include "document_checks.h"
#include "plugin_under_test.h"

#include "msxml_standin.h"
#include "platform_testing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>

using namespace ptbridge;

namespace {
// How the failing call fails: allocations return null, other calls return
// the HRESULT. S_FALSE is the success code with no answer that some DOM
// operations give; the plug-in must treat it as no result wherever it is not
// a documented answer.
struct Injection {
    ConversionMethod method;
    HRESULT failure;
};

const Injection Injections[] = {
    {ConversionMethod::Ticket, E_OUTOFMEMORY},
    {ConversionMethod::Devmode, E_OUTOFMEMORY},
    {ConversionMethod::Capabilities, E_OUTOFMEMORY},
    {ConversionMethod::Ticket, S_FALSE},
    {ConversionMethod::Devmode, S_FALSE},
    {ConversionMethod::Capabilities, S_FALSE},
};

struct FaultedRun {
    HRESULT result = E_UNEXPECTED;
    LONG platformCalls = 0; // calls made during the conversion
    std::string document;   // as the conversion left it
    std::vector<std::string> problems;
};

// Live counts that every run must restore.
struct LiveCounts {
    explicit LiveCounts(const PluginUnderTest& plugin)
        : coreHelperReferences(plugin.CoreHelperReferences()) {}

    LONG domObjects = LiveDomObjectCount();
    LONG bstrs = PlatformLiveBstrCount();
    LONG taskMemory = PlatformLiveTaskMemCount();
    ULONG coreHelperReferences;

    void Compare(const LiveCounts& after, std::vector<std::string>* problems) const {
        if (after.domObjects != domObjects)
            problems->push_back(std::to_string(after.domObjects - domObjects) +
                                " DOM objects left alive");
        if (after.bstrs != bstrs)
            problems->push_back(std::to_string(after.bstrs - bstrs) + " BSTRs left alive");
        if (after.taskMemory != taskMemory)
            problems->push_back(std::to_string(after.taskMemory - taskMemory) +
                                " task-memory blocks left alive");
        if (after.coreHelperReferences != coreHelperReferences)
            problems->push_back("core helper references went from " +
                                std::to_string(coreHelperReferences) + " to " +
                                std::to_string(after.coreHelperReferences));
    }
};

class FaultSweepTest : public ::testing::TestWithParam<Injection> {
  protected:
    // Runs the method over a fresh copy of `input` with platform call
    // `failingCall` failing (0: none fails, the calls are only counted).
    FaultedRun RunOnce(const LoadedScenario& scenario, LONG failingCall) {
        FaultedRun run;
        HostDevmode devmode = PluginUnderTest::Devmode(scenario.options);
        LiveCounts before(plugin);
        {
            ComPtr<IXMLDOMDocument2> document;
            XmlLoadError error;
            if (LoadDocumentFromString(scenario.input, document.Put(), &error,
                                       scenario.preserveWhiteSpace) != S_OK) {
                run.problems.push_back("cannot load the input: " + error.message);
                return run;
            }
            PlatformInjectFault(failingCall, PlatformFaultAll, GetParam().failure);
            run.result = Convert(provider.Get(), GetParam().method, devmode, document.Get());
            run.platformCalls = PlatformFaultCallCount();
            PlatformInjectFault(0, 0, S_OK);
            if (SaveDocumentToString(document.Get(), &run.document) != S_OK)
                run.problems.push_back("the document cannot be saved");
        }
        before.Compare(LiveCounts(plugin), &run.problems);
        std::string problem;
        if (!IsWellFormedXml(run.document, &problem))
            run.problems.push_back("the document saves as malformed XML: " + problem);
        return run;
    }

    // What the conversion sequences allow a faulted run, given the clean run.
    void CheckOutcome(const FaultedRun& clean, const std::string& untouched,
                      FaultedRun* run) const {
        const ConversionMethod method = GetParam().method;
        if (run->result != S_OK && run->result != E_FAIL && run->result != E_OUTOFMEMORY) {
            run->problems.push_back("unexpected result " + Hex(run->result));
            return;
        }
        if (method == ConversionMethod::Devmode) {
            // Restoring never reports a rule; only a document that cannot be
            // opened fails the call, and then no rule may have run.
            if (run->result != S_OK && run->document != untouched)
                run->problems.push_back("the call failed but the document was edited");
            return;
        }
        if (run->result != S_OK)
            return;
        if (clean.result != S_OK)
            run->problems.push_back("S_OK from a sequence whose rule fails without faults");
        else if (SuccessSkeleton(run->document) != SuccessSkeleton(clean.document))
            run->problems.push_back("S_OK though a rule did not do its edit:\n" + run->document);
    }

    static std::string Hex(HRESULT hr) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
        return text;
    }

    PluginUnderTest plugin;
    ComPtr<IPrintOemPrintTicketProvider> provider = plugin.MakeProvider();
};

TEST_P(FaultSweepTest, EveryFailingPlatformCallIsSurvived) {
    ASSERT_TRUE(provider);
    long points = 0;
    long survived = 0;
    for (const LoadedScenario& scenario : ReadScenarioCorpus()) {
        SCOPED_TRACE(scenario.name);
        FaultedRun clean = RunOnce(scenario, 0);
        ASSERT_TRUE(clean.problems.empty()) << clean.problems.front();
        ASSERT_GT(clean.platformCalls, 0);
        std::string untouched;
        {
            ComPtr<IXMLDOMDocument2> document;
            ASSERT_EQ(LoadDocumentFromString(scenario.input, document.Put(), nullptr,
                                             scenario.preserveWhiteSpace),
                      S_OK);
            ASSERT_EQ(SaveDocumentToString(document.Get(), &untouched), S_OK);
        }
        for (LONG call = 1; call <= clean.platformCalls; ++call) {
            FaultedRun run = RunOnce(scenario, call);
            CheckOutcome(clean, untouched, &run);
            if (run.platformCalls < call)
                run.problems.push_back("the run made fewer calls than the clean run");
            for (const std::string& problem : run.problems)
                ADD_FAILURE() << "call " << call << " of " << clean.platformCalls << " failing ("
                              << Hex(run.result) << "): " << problem;
            survived += run.problems.empty() ? 1 : 0;
        }
        points += clean.platformCalls;
    }
    std::cout << "fault sweep, " << CommandName(GetParam().method) << " failing with "
              << Hex(GetParam().failure) << ": " << points << " injection points, " << survived
              << " survived" << std::endl;
    RecordProperty("injection_points", static_cast<int>(points));
    RecordProperty("survived", static_cast<int>(survived));
    EXPECT_EQ(survived, points);
}

INSTANTIATE_TEST_SUITE_P(Corpus, FaultSweepTest, ::testing::ValuesIn(Injections),
                         [](const ::testing::TestParamInfo<Injection>& info) {
                             return std::string(CommandName(info.param.method)) +
                                    (info.param.failure == S_FALSE ? "_SFalse" : "_OutOfMemory");
                         });
} // namespace
