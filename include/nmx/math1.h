// NMX_math1: the shared kernels (exchange, sort, select, compensated sums, random variates,
// polynomials, signs and digit text).
#pragma once

#include "nmx/math1/digits.h"
#include "nmx/math1/errors.h"
#include "nmx/math1/exchange.h"
#include "nmx/math1/kahan.h"
#include "nmx/math1/moments.h"
#include "nmx/math1/norms.h"
#include "nmx/math1/polynomial.h"
#include "nmx/math1/random.h"
#include "nmx/math1/select.h"
#include "nmx/math1/sign.h"
#include "nmx/math1/sort.h"
