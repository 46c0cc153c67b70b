#include "xml_diff.h"

#include "pretty_xml.h"
#include "unified_diff.h"

namespace ptbridge {

std::string DocumentDiff(std::string before, std::string after, const std::string& beforeLabel,
                         const std::string& afterLabel, bool colour) {
    std::string beforeLines = PrettyPrintXml(before);
    std::string().swap(before);
    std::string afterLines = PrettyPrintXml(after);
    std::string().swap(after);
    return UnifiedDiff(beforeLines, afterLines, beforeLabel, afterLabel, colour);
}

} // namespace ptbridge
