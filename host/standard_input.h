// Reading the command's document from standard input, for the FILE "-".
#pragma once

#include <string>

namespace ptbridge {

// Reads standard input to its end, as bytes.
bool ReadStandardInput(std::string* text, std::string* error);

} // namespace ptbridge
