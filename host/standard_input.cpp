#include "standard_input.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace ptbridge {

bool ReadStandardInput(std::string* text, std::string* error) {
#ifdef _WIN32
    // Bytes as they come: no line-end translation, no end at a Ctrl-Z byte.
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::string content;
    char buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        content.append(buffer, count);
    if (std::ferror(stdin)) {
        *error = "cannot read standard input: " + std::generic_category().message(errno);
        return false;
    }
    *text = std::move(content);
    return true;
}

} // namespace ptbridge
