#include "platform_seams.h"

#include <unistd.h>

bool StdoutShowsColours() {
    return isatty(STDOUT_FILENO);
}
