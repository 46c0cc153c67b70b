// Two texts compared line by line and written as a unified diff.
#pragma once

#include <string>
#include <string_view>

namespace ptbridge {

// A unified diff (---/+++ headers, @@ hunks with three lines of context) from
// `before` to `after`, compared line by line; empty when they are equal.
// `colour` adds terminal colours to headers, hunk lines, removals and additions.
std::string UnifiedDiff(std::string_view before, std::string_view after,
                        const std::string& beforeLabel, const std::string& afterLabel, bool colour);

} // namespace ptbridge
