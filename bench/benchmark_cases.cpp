#include "benchmark_cases.h"

#include "child_process.h"

#include "msxml_standin.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <functional>

namespace ptbridge {

namespace {
// Calls are timed in CPU time of the calling thread: the machine is shared,
// and time spent waiting for a core says nothing about the code.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Since(double start) {
    return ThreadSeconds() - start;
}

std::string BenchmarkName(const std::string& operation, const std::string& subject,
                          size_t nominalBytes) {
    std::string size = SizeLabel(nominalBytes);
    size.erase(size.find(' '), 1);
    return operation + "/" + subject + "/" + size;
}

std::string Slug(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::Capabilities:
        return "Capabilities";
    case DocumentKind::Ticket:
        return "Ticket";
    case DocumentKind::PublishedTicket:
        break;
    }
    return "PublishedTicket";
}

// Each iteration reports its own time (manual time): only the measured call
// counts, not the copy before it nor the release after it.
void Register(const std::string& name, size_t bytes, std::function<void(benchmark::State&)> body) {
    benchmark::RegisterBenchmark(name.c_str(),
                                 [body, bytes](benchmark::State& state) {
                                     body(state);
                                     state.SetBytesProcessed(
                                         static_cast<int64_t>(state.iterations() * bytes));
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

void RegisterParse(const BenchmarkSetting& setting, DocumentKind kind, size_t nominal) {
    const std::string& text = setting.documents->Text(kind, nominal);
    Measurements* measurements = setting.measurements;
    Register(BenchmarkName("Parse", Slug(kind), nominal), text.size(),
             [&text, measurements, kind, nominal](benchmark::State& state) {
                 for (auto _ : state) {
                     IXMLDOMDocument2* document = nullptr;
                     double start = ThreadSeconds();
                     HRESULT hr = LoadDocumentFromString(text, &document, nullptr);
                     double seconds = Since(start);
                     if (hr != S_OK) {
                         measurements->AddFailure();
                         state.SkipWithError("the document does not parse");
                         break;
                     }
                     document->Release();
                     state.SetIterationTime(seconds);
                     measurements->Add(ParseRow(kind), nominal, text.size(), seconds);
                 }
             });
}

void RegisterSave(const BenchmarkSetting& setting, DocumentKind kind, size_t nominal) {
    DocumentSet* documents = setting.documents;
    Measurements* measurements = setting.measurements;
    size_t bytes = documents->Text(kind, nominal).size();
    Register(BenchmarkName("Save", Slug(kind), nominal), bytes,
             [documents, measurements, kind, nominal, bytes](benchmark::State& state) {
                 IXMLDOMDocument2* document = documents->Parsed(kind, nominal);
                 for (auto _ : state) {
                     std::string xml;
                     double start = ThreadSeconds();
                     HRESULT hr = document ? SaveDocumentToString(document, &xml) : E_FAIL;
                     double seconds = Since(start);
                     if (hr != S_OK) {
                         measurements->AddFailure();
                         state.SkipWithError("the document cannot be saved");
                         break;
                     }
                     state.SetIterationTime(seconds);
                     measurements->Add(SaveRow(kind), nominal, bytes, seconds);
                 }
             });
}

void RegisterConversion(const BenchmarkSetting& setting, Conversion conversion, size_t nominal) {
    DocumentSet* documents = setting.documents;
    ConversionDriver* driver = setting.driver;
    Measurements* measurements = setting.measurements;
    DocumentKind kind = InputKind(conversion);
    size_t bytes = documents->Text(kind, nominal).size();
    Register(BenchmarkName("Convert", MethodName(conversion), nominal), bytes,
             [=](benchmark::State& state) {
                 IXMLDOMDocument2* parsed = documents->Parsed(kind, nominal);
                 for (auto _ : state) {
                     IXMLDOMDocument2* copy = nullptr;
                     if (!parsed || CopyDocument(parsed, &copy) != S_OK) {
                         measurements->AddFailure();
                         state.SkipWithError("no copy of the document");
                         break;
                     }
                     double start = ThreadSeconds();
                     HRESULT hr = driver->Run(conversion, copy);
                     double seconds = Since(start);
                     copy->Release();
                     if (hr != S_OK) {
                         measurements->AddFailure();
                         state.SkipWithError("the conversion failed");
                         break;
                     }
                     state.SetIterationTime(seconds);
                     measurements->Add(MethodName(conversion), nominal, bytes, seconds);
                 }
             });
}

void RegisterCommand(const BenchmarkSetting& setting) {
    std::vector<std::string> arguments = {setting.commandPath, "capabilities",
                                          setting.commandInput};
    Measurements* measurements = setting.measurements;
    size_t bytes = setting.documents->Text(DocumentKind::Capabilities, CommandSize).size();
    Register(BenchmarkName("Command", "capabilities", CommandSize), bytes,
             [arguments, measurements, bytes](benchmark::State& state) {
                 for (auto _ : state) {
                     ChildRun run = RunChild(arguments);
                     if (!run.started || run.exitCode != 0) {
                         measurements->AddFailure();
                         state.SkipWithError("the ptbridge command failed");
                         break;
                     }
                     state.SetIterationTime(run.cpuSeconds);
                     measurements->Add(CommandRow, CommandSize, bytes, run.cpuSeconds);
                 }
             });
}
} // namespace

const char* KindName(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::Capabilities:
        return "capabilities";
    case DocumentKind::Ticket:
        return "ticket";
    case DocumentKind::PublishedTicket:
        break;
    }
    return "published ticket";
}

std::string ParseRow(DocumentKind kind) {
    return std::string("parse ") + KindName(kind);
}

std::string SaveRow(DocumentKind kind) {
    return std::string("save ") + KindName(kind);
}

void RegisterBenchmarks(const BenchmarkSetting& setting) {
    for (size_t nominal : MeasuredSizes) {
        for (DocumentKind kind : AllKinds)
            RegisterParse(setting, kind, nominal);
        for (DocumentKind kind : AllKinds)
            RegisterSave(setting, kind, nominal);
        for (Conversion conversion : AllConversions)
            RegisterConversion(setting, conversion, nominal);
    }
    RegisterCommand(setting);
}

} // namespace ptbridge
