#include "windows/serialized_text.h"

namespace ptbridge {

namespace {
// Replaces the value of the declaration's encoding pseudo-attribute, if any.
void DeclareUtf8(std::string* xml) {
    if (xml->compare(0, 6, "<?xml ") != 0)
        return;
    size_t end = xml->find("?>");
    size_t name = xml->find("encoding", 0);
    if (end == std::string::npos || name == std::string::npos || name > end)
        return;
    size_t open = xml->find_first_of("\"'", name);
    if (open == std::string::npos || open > end)
        return;
    size_t close = xml->find((*xml)[open], open + 1);
    if (close == std::string::npos || close > end)
        return;
    xml->replace(open + 1, close - open - 1, "UTF-8");
}

std::string WithNewlineLineEnds(const std::string& xml) {
    std::string out;
    out.reserve(xml.size() + 1);
    for (size_t i = 0; i < xml.size(); ++i) {
        if (xml[i] == '\r') {
            out += '\n';
            if (i + 1 < xml.size() && xml[i + 1] == '\n')
                ++i;
        } else {
            out += xml[i];
        }
    }
    return out;
}
} // namespace

std::string AsCommandOutput(std::string xml) {
    DeclareUtf8(&xml);
    std::string out = WithNewlineLineEnds(xml);
    if (out.empty() || out.back() != '\n')
        out += '\n';
    return out;
}

} // namespace ptbridge
