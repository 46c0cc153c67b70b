// Wine's math.h lacks functions that the Windows C runtime's math.h declares
// and that libc++'s <cmath> names: the long double forms, erfc and nexttoward.
// Declarations are enough: the check compiles with /Zs and never links.
#pragma once
#include_next <math.h>

#define PTBRIDGE_LONG_DOUBLE_1(name) long double __cdecl name##l(long double);
#define PTBRIDGE_LONG_DOUBLE_2(name) long double __cdecl name##l(long double, long double);
PTBRIDGE_LONG_DOUBLE_1(acos) PTBRIDGE_LONG_DOUBLE_1(asin) PTBRIDGE_LONG_DOUBLE_1(atan)
PTBRIDGE_LONG_DOUBLE_1(ceil) PTBRIDGE_LONG_DOUBLE_1(cos) PTBRIDGE_LONG_DOUBLE_1(cosh)
PTBRIDGE_LONG_DOUBLE_1(exp) PTBRIDGE_LONG_DOUBLE_1(fabs) PTBRIDGE_LONG_DOUBLE_1(floor)
PTBRIDGE_LONG_DOUBLE_1(log) PTBRIDGE_LONG_DOUBLE_1(log10) PTBRIDGE_LONG_DOUBLE_1(sin)
PTBRIDGE_LONG_DOUBLE_1(sinh) PTBRIDGE_LONG_DOUBLE_1(sqrt) PTBRIDGE_LONG_DOUBLE_1(tan)
PTBRIDGE_LONG_DOUBLE_1(tanh) PTBRIDGE_LONG_DOUBLE_1(acosh) PTBRIDGE_LONG_DOUBLE_1(asinh)
PTBRIDGE_LONG_DOUBLE_1(atanh) PTBRIDGE_LONG_DOUBLE_1(cbrt) PTBRIDGE_LONG_DOUBLE_1(erf)
PTBRIDGE_LONG_DOUBLE_1(erfc) PTBRIDGE_LONG_DOUBLE_1(exp2) PTBRIDGE_LONG_DOUBLE_1(expm1)
PTBRIDGE_LONG_DOUBLE_1(lgamma) PTBRIDGE_LONG_DOUBLE_1(log1p) PTBRIDGE_LONG_DOUBLE_1(log2)
PTBRIDGE_LONG_DOUBLE_1(logb) PTBRIDGE_LONG_DOUBLE_1(nearbyint) PTBRIDGE_LONG_DOUBLE_1(tgamma)
PTBRIDGE_LONG_DOUBLE_2(atan2) PTBRIDGE_LONG_DOUBLE_2(fmod) PTBRIDGE_LONG_DOUBLE_2(pow)
PTBRIDGE_LONG_DOUBLE_2(fdim) PTBRIDGE_LONG_DOUBLE_2(fmax) PTBRIDGE_LONG_DOUBLE_2(fmin)
PTBRIDGE_LONG_DOUBLE_2(hypot) PTBRIDGE_LONG_DOUBLE_2(nextafter) PTBRIDGE_LONG_DOUBLE_2(remainder)
PTBRIDGE_LONG_DOUBLE_2(nexttoward)
#undef PTBRIDGE_LONG_DOUBLE_1
#undef PTBRIDGE_LONG_DOUBLE_2
long double __cdecl frexpl(long double, int*);
long double __cdecl ldexpl(long double, int);
long double __cdecl modfl(long double, long double*);
long double __cdecl remquol(long double, long double, int*);
long double __cdecl scalbnl(long double, int);
long double __cdecl scalblnl(long double, long);
int __cdecl ilogbl(long double);
double __cdecl erfc(double);
float __cdecl erfcf(float);
double __cdecl nexttoward(double, long double);
float __cdecl nexttowardf(float, long double);
