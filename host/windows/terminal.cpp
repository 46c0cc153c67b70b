#include "platform_seams.h"

#include "common/platform.h"

namespace ptbridge {

bool StdoutShowsColours() {
    // A console shows ANSI colours once asked to; a pipe or file is no console.
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (output == INVALID_HANDLE_VALUE || !GetConsoleMode(output, &mode))
        return false;
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) ||
           SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

} // namespace ptbridge
