#include "terminal.h"

#include <unistd.h>

bool StdoutShowsColours() {
    return isatty(STDOUT_FILENO);
}
