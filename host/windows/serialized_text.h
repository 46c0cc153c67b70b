// Puts the text a DOM serialised into the form the command writes, whatever
// the DOM's habits: the XML declaration (when there is one) names UTF-8, the
// encoding the text is in; line ends are "\n"; the text ends with a newline.
#pragma once

#include <string>

namespace ptbridge {

std::string AsCommandOutput(std::string xml);

} // namespace ptbridge
