// Conversions on eight threads at once, on separate documents: each thread
// with a provider of its own, and all threads through one shared provider.
// The plug-in keeps its reference counts interlocked and builds everything a
// conversion needs per call, so every result must equal the one-thread run's.
// PTBRIDGE_CONVERSIONS_PER_THREAD sets the number of conversions per thread
// (100 unless set; the ThreadSanitizer run asks for 1000).
#include "plugin_under_test.h"

#include "msxml_standin.h"
#include "platform_testing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

using namespace ptbridge;

namespace {
constexpr int ThreadCount = 8;

int ConversionsPerThread() {
    const char* setting = std::getenv("PTBRIDGE_CONVERSIONS_PER_THREAD");
    int count = setting ? std::atoi(setting) : 0;
    return count > 0 ? count : 100;
}

// One conversion of a scenario's document and what the one-thread run gave.
struct Job {
    const LoadedScenario* scenario;
    ConversionMethod method;
    HRESULT result = E_UNEXPECTED;
    std::string document;
};

// Converts a fresh copy of the job's document; false when it cannot be loaded.
bool RunJob(IPrintOemPrintTicketProvider* provider, const Job& job, HRESULT* result,
            std::string* document) {
    ComPtr<IXMLDOMDocument2> xml;
    if (LoadDocumentFromString(job.scenario->input, xml.Put(), nullptr,
                               job.scenario->preserveWhiteSpace) != S_OK)
        return false;
    HostDevmode devmode = PluginUnderTest::Devmode(job.scenario->options);
    *result = Convert(provider, job.method, devmode, xml.Get());
    return SaveDocumentToString(xml.Get(), document) == S_OK;
}

class ConcurrencyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        corpus = ReadScenarioCorpus();
        {
            ComPtr<IPrintOemPrintTicketProvider> provider = plugin.MakeProvider();
            ASSERT_TRUE(provider);
            for (const LoadedScenario& scenario : corpus)
                for (ConversionMethod method : AllConversionMethods) {
                    Job job{&scenario, method, E_UNEXPECTED, {}};
                    ASSERT_TRUE(RunJob(provider.Get(), job, &job.result, &job.document));
                    jobs.push_back(std::move(job));
                }
        }
        references = plugin.CoreHelperReferences();
    }

    void TearDown() override {
        EXPECT_EQ(LiveDomObjectCount(), domObjects);
        EXPECT_EQ(PlatformLiveBstrCount(), bstrs);
        EXPECT_EQ(PlatformLiveTaskMemCount(), taskMemory);
        EXPECT_EQ(plugin.CoreHelperReferences(), references);
    }

    // Runs the jobs round-robin on every thread, each thread starting at
    // another job, with the provider `providerFor` gives the thread.
    void RunOnThreads(const std::function<ComPtr<IPrintOemPrintTicketProvider>()>& providerFor) {
        const int conversions = ConversionsPerThread();
        std::atomic<int> mismatches{0};
        std::atomic<int> done{0};
        std::mutex firstMismatchLock;
        std::string firstMismatch;
        std::vector<std::thread> threads;
        for (int index = 0; index < ThreadCount; ++index)
            threads.emplace_back([&, index] {
                ComPtr<IPrintOemPrintTicketProvider> provider = providerFor();
                for (int i = 0; provider && i < conversions; ++i) {
                    const Job& job = jobs[(index * 7 + i) % jobs.size()];
                    HRESULT result = E_UNEXPECTED;
                    std::string document;
                    bool ran = RunJob(provider.Get(), job, &result, &document);
                    if (ran && result == job.result && document == job.document) {
                        ++done;
                        continue;
                    }
                    if (mismatches++ == 0) {
                        std::lock_guard<std::mutex> lock(firstMismatchLock);
                        firstMismatch = job.scenario->name + " (" + CommandName(job.method) +
                                        "): " + (ran ? document : "not run");
                    }
                }
            });
        for (std::thread& thread : threads)
            thread.join();
        EXPECT_EQ(mismatches.load(), 0) << "first mismatch: " << firstMismatch;
        EXPECT_EQ(done.load(), ThreadCount * conversions);
    }

    LONG domObjects = LiveDomObjectCount();
    LONG bstrs = PlatformLiveBstrCount();
    LONG taskMemory = PlatformLiveTaskMemCount();
    PluginUnderTest plugin;
    std::vector<LoadedScenario> corpus;
    std::vector<Job> jobs;
    ULONG references = 0;
};

TEST_F(ConcurrencyTest, EachThreadWithItsOwnProvider) {
    RunOnThreads([this] { return plugin.MakeProvider(); });
}

TEST_F(ConcurrencyTest, OneProviderSharedByAllThreads) {
    ComPtr<IPrintOemPrintTicketProvider> shared = plugin.MakeProvider();
    ASSERT_TRUE(shared);
    RunOnThreads([&shared] {
        // Each thread holds a reference of its own, as a host thread would.
        shared->AddRef();
        ComPtr<IPrintOemPrintTicketProvider> reference;
        reference.Attach(shared.Get());
        return reference;
    });
}
} // namespace
