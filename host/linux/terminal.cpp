#include "platform_seams.h"

#include <unistd.h>

namespace ptbridge {

bool StdoutShowsColours() {
    return isatty(STDOUT_FILENO);
}

} // namespace ptbridge
