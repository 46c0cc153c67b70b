// Suggestions for a mistyped word: the command names and the device's feature
// and option keywords are short, so a close candidate is a likely intent.
#pragma once

#include <string>
#include <vector>

namespace ptbridge {

// The candidate the user most likely meant by `word`: one that differs only in
// letter case, else the only one that begins with it (ignoring case), else the
// nearest by edit distance when it is at most two edits away and no other is
// as near. Empty when there is no such candidate.
std::string NearestMatch(const std::string& word, const std::vector<std::string>& candidates);

} // namespace ptbridge
