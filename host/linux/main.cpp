// ptbridge: runs the plug-in's Print Schema conversions through the stand-in
// core driver, for driver developers without a Windows machine.
#include "command_line.h"
#include "platform_seams.h"

#include <csignal>

int main(int argc, char** argv) {
    // A reader that goes away shows as EPIPE on the write instead of ending
    // the process: an output file reports it, standard output ends quietly.
    std::signal(SIGPIPE, SIG_IGN);
    return ptbridge::FinishStandardOutput(ptbridge::RunCommandLine(argc, argv));
}
