#include "diff_cost_documents.h"

#include "document_generator.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace ptbridge {

namespace {
constexpr size_t MiB = 1024 * 1024;

// The feature the conversions move or restore last: bulk inserted before it
// lies between their first and last edits.
const char* const LastEditedFeature = "  <psf:Feature name=\"pv:JobPresentationDirection\">";

std::string ReadSample(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return stream ? text.str() : std::string();
}

// The sample with `bulk` inserted before its last edited feature; empty when
// the sample cannot be read.
std::string WithBulk(const std::string& samplePath, const std::string& bulk) {
    std::string sample = ReadSample(samplePath);
    size_t at = sample.find(LastEditedFeature);
    if (at == std::string::npos)
        return {};
    return sample.insert(at, bulk);
}

// Written without layout, the elements each take a line of their own only
// once re-indented.
std::string SmallElements(size_t bytes) {
    const std::string element = "<a/>";
    std::string bulk = "  <pv:Bulk>";
    bulk.reserve(bytes + element.size());
    while (bulk.size() < bytes)
        bulk += element;
    return bulk + "</pv:Bulk>\n";
}

std::string ManyOptions(size_t count) {
    std::string bulk = "  <psf:Feature name=\"pv:Bulk\">\n";
    char option[64];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(option, sizeof option, "    <psf:Option name=\"pv:Option%07zu\"/>\n", i);
        bulk += option;
    }
    return bulk + "  </psf:Feature>\n";
}

std::string ManyAttributes(size_t count) {
    std::string bulk = "  <pv:Bulk";
    char attribute[32];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(attribute, sizeof attribute, " a%05zu=\"%zu\"", i, i);
        bulk += attribute;
    }
    return bulk + "/>\n";
}

// A capabilities document whose completion fails: it has no output bins.
std::string CapabilitiesWithoutOutputBin(size_t bytes) {
    std::string document = GenerateDocumentOfSize(DocumentKind::Capabilities, bytes);
    size_t start = document.find("  <psf:Feature name=\"psk:JobOutputBin\">");
    const std::string featureEnd = "  </psf:Feature>\n";
    size_t end = document.find(featureEnd, start);
    if (start == std::string::npos || end == std::string::npos)
        return {};
    return document.erase(start, end + featureEnd.size() - start);
}
} // namespace

std::vector<DiffCostCase> DiffCostCases(const std::string& examplesDir) {
    std::string ticket = examplesDir + "/ticket.xml";
    std::string capabilities = examplesDir + "/capabilities.xml";
    return {
        {"capabilities, 10 MB benchmark", "capabilities", 0,
         [] { return GenerateDocumentOfSize(DocumentKind::Capabilities, 10 * MiB); }},
        {"ticket, 10 MB benchmark", "ticket", 0,
         [] { return GenerateDocumentOfSize(DocumentKind::Ticket, 10 * MiB); }},
        {"published ticket, 10 MB benchmark", "devmode", 0,
         [] { return GenerateDocumentOfSize(DocumentKind::PublishedTicket, 10 * MiB); }},
        {"ticket, 8 MB of small elements", "ticket", 0,
         [ticket] { return WithBulk(ticket, SmallElements(8 * MiB)); }},
        {"capabilities, 1 M options in one feature", "capabilities", 0,
         [capabilities] { return WithBulk(capabilities, ManyOptions(1000000)); }},
        {"ticket, 50,000 attributes on one element", "ticket", 0,
         [ticket] { return WithBulk(ticket, ManyAttributes(50000)); }},
        {"capabilities, 10 MB, failing (no output bin)", "capabilities", 1,
         [] { return CapabilitiesWithoutOutputBin(10 * MiB); }},
    };
}

} // namespace ptbridge
