// Wine's stdio.h does not deprecate what the Windows C runtime deprecates.
#pragma once
#include_next <stdio.h>

PTBRIDGE_CRT_DEPRECATED FILE* __cdecl fopen(const char*, const char*);
PTBRIDGE_CRT_DEPRECATED FILE* __cdecl freopen(const char*, const char*, FILE*);
PTBRIDGE_CRT_DEPRECATED char* __cdecl tmpnam(char*);
