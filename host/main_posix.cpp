// ptbridge: runs the plug-in's Print Schema conversions through the stand-in
// core driver, for driver developers without a Windows machine.
#include "command_line.h"

int main(int argc, char** argv) {
    return RunCommandLine(argc, argv);
}
