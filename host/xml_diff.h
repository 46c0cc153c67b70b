// What a conversion changed, as a unified diff of the two documents after both
// have been re-indented the same way, so that only real edits show.
#pragma once

#include <string>

namespace ptbridge {

// The unified diff (see UnifiedDiff) from the serialised document `before` to
// `after`, each re-indented by PrettyPrintXml; empty when only their layout
// differs. The texts are taken by value and let go of once re-indented, so
// that a caller who moves them in does not keep them alive.
std::string DocumentDiff(std::string before, std::string after, const std::string& beforeLabel,
                         const std::string& afterLabel, bool colour);

} // namespace ptbridge
