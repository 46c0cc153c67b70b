// Synthetic Print Schema documents for measuring the plug-in: a driver's
// PrintCapabilities or PrintTicket with N features of M options each, followed
// by the features the plug-in edits, so that every search walks the whole
// document before it finds what it looks for.
#pragma once

#include <cstddef>
#include <string>

namespace ptbridge {

enum class DocumentKind {
    Capabilities,    // what CompletePrintCapabilities completes
    Ticket,          // what ConvertDevModeToPrintTicket publishes
    PublishedTicket, // what ConvertPrintTicketToDevMode restores: the public form
};

// The document with `features` ordinary features of `options` options each
// before the plug-in's own features.
std::string GenerateDocument(DocumentKind kind, size_t features, size_t options);

// The number of ordinary features that brings the document closest to
// `bytes`, for `options` options per feature (at least one feature).
size_t FeaturesForSize(DocumentKind kind, size_t bytes, size_t options);

// Options per ordinary feature in the measured documents: a capabilities
// document lists a device's choices, a ticket names the one chosen.
size_t OptionsPerFeature(DocumentKind kind);

// The document of `kind` nearest to `bytes` with the usual options per feature.
std::string GenerateDocumentOfSize(DocumentKind kind, size_t bytes);

} // namespace ptbridge
