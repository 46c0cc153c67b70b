#include "near_match.h"

#include <algorithm>
#include <cctype>

namespace ptbridge {

namespace {
std::string Lowered(const std::string& text) {
    std::string lowered = text;
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

// Levenshtein distance over bytes, case-insensitive.
size_t EditDistance(const std::string& a, const std::string& b) {
    std::string x = Lowered(a), y = Lowered(b);
    std::vector<size_t> row(y.size() + 1);
    for (size_t j = 0; j <= y.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= x.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= y.size(); ++j) {
            size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] != y[j - 1])});
            diagonal = above;
        }
    }
    return row[y.size()];
}
} // namespace

std::string NearestMatch(const std::string& word, const std::vector<std::string>& candidates) {
    if (word.empty())
        return {};
    std::string lowered = Lowered(word);
    for (const std::string& candidate : candidates) {
        if (Lowered(candidate) == lowered)
            return candidate;
    }
    std::vector<std::string> extending;
    for (const std::string& candidate : candidates) {
        if (Lowered(candidate).compare(0, lowered.size(), lowered) == 0)
            extending.push_back(candidate);
    }
    if (extending.size() == 1)
        return extending.front();

    const size_t MaximumEdits = 2;
    std::string nearest;
    size_t best = MaximumEdits + 1;
    bool tied = false;
    for (const std::string& candidate : candidates) {
        size_t distance = EditDistance(word, candidate);
        if (distance < best) {
            best = distance;
            nearest = candidate;
            tied = false;
        } else if (distance == best) {
            tied = true;
        }
    }
    return tied ? std::string() : nearest;
}

} // namespace ptbridge
