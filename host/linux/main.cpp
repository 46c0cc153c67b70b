// ptbridge: runs the plug-in's Print Schema conversions through the stand-in
// core driver, for driver developers without a Windows machine.
#include "command_line.h"
#include "platform_seams.h"

#include <csignal>
#include <malloc.h>

int main(int argc, char** argv) {
    // A document's tree is hundreds of thousands of small blocks, freed at once
    // when the document goes. Kept in glibc's fast bins, they would all be
    // merged at the next large allocation, which on a 10 MB document costs a
    // sixth of the command's time; without fast bins they merge as they go.
    mallopt(M_MXFAST, 0);
    // A reader that goes away shows as EPIPE on the write instead of ending
    // the process: an output file reports it, standard output ends quietly.
    std::signal(SIGPIPE, SIG_IGN);
    // Likewise a file-size limit (ulimit -f) shows as EFBIG, reported on one
    // line with the temporary file removed, instead of a silent end.
    std::signal(SIGXFSZ, SIG_IGN);
    return ptbridge::FinishStandardOutput(ptbridge::RunCommandLine(argc, argv));
}
