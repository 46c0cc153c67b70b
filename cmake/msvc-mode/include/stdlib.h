// Wine's stdlib.h lacks names that the Windows C runtime's stdlib.h declares
// and that libc++'s <locale> (_strtod_l, _strtof_l, MB_CUR_MAX) and CLI11
// (_dupenv_s) use, and does not deprecate what that runtime deprecates.
#pragma once
#include_next <stdlib.h>

double __cdecl _strtod_l(const char*, char**, _locale_t);
float __cdecl _strtof_l(const char*, char**, _locale_t);
int __cdecl ___mb_cur_max_func(void);
#define MB_CUR_MAX ___mb_cur_max_func()
errno_t __cdecl _dupenv_s(char**, size_t*, const char*);

PTBRIDGE_CRT_DEPRECATED char* __cdecl getenv(const char*);
PTBRIDGE_CRT_DEPRECATED size_t __cdecl mbstowcs(wchar_t*, const char*, size_t);
PTBRIDGE_CRT_DEPRECATED size_t __cdecl wcstombs(char*, const wchar_t*, size_t);
