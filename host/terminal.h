// Whether the command's standard output can show colours.
#pragma once

// True when stdout is a terminal able to show ANSI colours.
bool StdoutShowsColours();
