// Wine's time.h lacks struct timespec, which the Windows C runtime's time.h
// defines and libc++'s <ctime> names.
#pragma once
#include_next <time.h>

struct timespec {
    time_t tv_sec;
    long tv_nsec;
};
