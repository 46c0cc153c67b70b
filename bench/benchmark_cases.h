// The benchmarks: parsing and saving each measured document, each conversion
// method alone on a fresh copy of its parsed document, and the whole ptbridge
// command on the 1 MB capabilities document. Every timed iteration adds its
// time to the measurements.
#pragma once

#include "conversion_driver.h"
#include "document_set.h"
#include "measurements.h"

#include <string>

namespace ptbridge {

constexpr DocumentKind AllKinds[] = {DocumentKind::Capabilities, DocumentKind::Ticket,
                                     DocumentKind::PublishedTicket};
// The size at which the command as a whole and the conversion targets are measured.
constexpr size_t CommandSize = 1024 * KiB;

// "capabilities", "ticket", "published ticket".
const char* KindName(DocumentKind kind);
// Rows of the measurements.
std::string ParseRow(DocumentKind kind);
std::string SaveRow(DocumentKind kind);
const char* const CommandRow = "ptbridge capabilities (process)";

struct BenchmarkSetting {
    DocumentSet* documents;
    ConversionDriver* driver;
    Measurements* measurements;
    std::string commandPath;
    // A capabilities document of CommandSize bytes on disk, for the command.
    std::string commandInput;
};

void RegisterBenchmarks(const BenchmarkSetting& setting);

} // namespace ptbridge
