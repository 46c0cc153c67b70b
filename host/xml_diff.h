// What a conversion changed, as a unified diff of the two documents after both
// have been re-indented the same way, so that only real edits show.
#pragma once

#include <string>

// A unified diff (---/+++ headers, @@ hunks with three lines of context) from
// `before` to `after`, compared line by line; empty when they are equal.
// `colour` adds terminal colours to headers, hunk lines, removals and additions.
std::string UnifiedDiff(const std::string& before, const std::string& after,
                        const std::string& beforeLabel, const std::string& afterLabel, bool colour);
