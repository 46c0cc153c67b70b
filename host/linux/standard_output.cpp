#include "platform_seams.h"

#include "cli_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace ptbridge {

namespace {
// The errno of the first failed write, 0 while none failed.
int writeError = 0;
} // namespace

void WriteStandardOutput(const std::string& text) {
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0 && writeError == 0) {
        ssize_t written = write(STDOUT_FILENO, data, left);
        if (written < 0) {
            if (errno != EINTR)
                writeError = errno;
            continue;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
}

int FinishStandardOutput(int status) {
    if (std::fflush(stdout) != 0 && writeError == 0)
        writeError = errno;
    if (writeError == 0 || writeError == EPIPE)
        return status;
    std::fprintf(stderr, "ptbridge: cannot write standard output: %s\n", std::strerror(writeError));
    return ExitUsageOrInput;
}

} // namespace ptbridge
