// Makes allocations through the non-throwing operator new fail on demand, as
// they do when memory runs out. A test program that links this replaces that
// operator for its whole process: for the plug-in code linked into it and for
// the built module it loads alike.
#pragma once

// Counting from now, the `nth` (1-based) such allocation returns null; 0 disarms.
void FailNothrowNew(int nth);
