// The measured documents: each generated once, parsed once, and kept for the
// whole run so that every benchmark of a document sees the same one.
#pragma once

#include "document_generator.h"

#include "msxml6.h"

#include <cstddef>
#include <map>
#include <string>
#include <utility>

namespace ptbridge {

// The nominal sizes measured, smallest first.
constexpr size_t KiB = 1024;
constexpr size_t MeasuredSizes[] = {10 * KiB,   100 * KiB,      300 * KiB,
                                    1024 * KiB, 3 * 1024 * KiB, 10 * 1024 * KiB};
// "10 KB", "1 MB", ...
std::string SizeLabel(size_t nominalBytes);

class DocumentSet {
  public:
    DocumentSet() = default;
    ~DocumentSet();
    DocumentSet(const DocumentSet&) = delete;
    DocumentSet& operator=(const DocumentSet&) = delete;

    const std::string& Text(DocumentKind kind, size_t nominalBytes);
    // The parsed document (owned by the set); null when it does not parse.
    IXMLDOMDocument2* Parsed(DocumentKind kind, size_t nominalBytes);

  private:
    using Key = std::pair<DocumentKind, size_t>;
    std::map<Key, std::string> texts_;
    std::map<Key, IXMLDOMDocument2*> parsed_;
};

} // namespace ptbridge
