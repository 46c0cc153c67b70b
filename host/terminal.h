// Whether the command's standard output is a terminal that shows colours.
#pragma once

// True when stdout is a terminal able to show ANSI colours and NO_COLOR is not set.
bool ColourWanted();
