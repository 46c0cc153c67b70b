#include "terminal.h"

#include <cstdlib>
#include <unistd.h>

bool ColourWanted() {
    return isatty(STDOUT_FILENO) && !std::getenv("NO_COLOR");
}
