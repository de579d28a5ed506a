// The math functions the UCRT's own <math.h> defines inline over others, so that no UCRT DLL
// exports them: the long double ones (long double is double in this ABI). mingw-w64's header
// declares them as ordinary functions (and defines fabsl inline), so they are defined here, each
// as the UCRT's header defines it. (math.h is not included, for its inline definitions.)
extern "C" {
double __cdecl acos(double);
double __cdecl asin(double);
double __cdecl atan(double);
double __cdecl atan2(double, double);
double __cdecl ceil(double);
double __cdecl cos(double);
double __cdecl cosh(double);
double __cdecl exp(double);
double __cdecl fabs(double);
double __cdecl floor(double);
double __cdecl fmod(double, double);
double __cdecl frexp(double, int*);
double __cdecl _hypot(double, double);
double __cdecl ldexp(double, int);
double __cdecl log(double);
double __cdecl log10(double);
double __cdecl modf(double, double*);
double __cdecl pow(double, double);
double __cdecl sin(double);
double __cdecl sinh(double);
double __cdecl sqrt(double);
double __cdecl tan(double);
double __cdecl tanh(double);
double __cdecl _chgsign(double);

long double __cdecl acosl(long double x) { return acos(x); }
long double __cdecl asinl(long double x) { return asin(x); }
long double __cdecl atanl(long double x) { return atan(x); }
long double __cdecl atan2l(long double y, long double x) { return atan2(y, x); }
long double __cdecl ceill(long double x) { return ceil(x); }
long double __cdecl cosl(long double x) { return cos(x); }
long double __cdecl coshl(long double x) { return cosh(x); }
long double __cdecl expl(long double x) { return exp(x); }
long double __cdecl floorl(long double x) { return floor(x); }
long double __cdecl fmodl(long double x, long double y) { return fmod(x, y); }
long double __cdecl frexpl(long double x, int* exponent) { return frexp(x, exponent); }
long double __cdecl hypotl(long double x, long double y) { return _hypot(x, y); }
long double __cdecl ldexpl(long double x, int exponent) { return ldexp(x, exponent); }
long double __cdecl logl(long double x) { return log(x); }
long double __cdecl log10l(long double x) { return log10(x); }
long double __cdecl modfl(long double x, long double* whole) {
  double wholeDouble = 0;
  const double fraction = modf(x, &wholeDouble);
  *whole = wholeDouble;
  return fraction;
}
long double __cdecl powl(long double x, long double y) { return pow(x, y); }
long double __cdecl sinl(long double x) { return sin(x); }
long double __cdecl sinhl(long double x) { return sinh(x); }
long double __cdecl sqrtl(long double x) { return sqrt(x); }
long double __cdecl tanl(long double x) { return tan(x); }
long double __cdecl tanhl(long double x) { return tanh(x); }
long double __cdecl _chgsignl(long double x) { return _chgsign(x); }
}
