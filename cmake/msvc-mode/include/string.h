// Wine's string.h does not deprecate what the Windows C runtime deprecates.
#pragma once
#include_next <string.h>

PTBRIDGE_CRT_DEPRECATED char* __cdecl strerror(int);
PTBRIDGE_CRT_DEPRECATED char* __cdecl strcpy(char*, const char*);
PTBRIDGE_CRT_DEPRECATED char* __cdecl strcat(char*, const char*);
PTBRIDGE_CRT_DEPRECATED char* __cdecl strncpy(char*, const char*, size_t);
PTBRIDGE_CRT_DEPRECATED char* __cdecl strncat(char*, const char*, size_t);
PTBRIDGE_CRT_DEPRECATED char* __cdecl strtok(char*, const char*);
