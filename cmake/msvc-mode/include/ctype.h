// Wine's ctype.h lacks the locale-taking tests that the Windows C runtime's
// ctype.h declares and that libc++'s <locale> uses.
#pragma once
#include_next <ctype.h>

int __cdecl _islower_l(int, _locale_t);
int __cdecl _isupper_l(int, _locale_t);
