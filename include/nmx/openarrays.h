// NMX_openarrays: free functions over dynamic arrays of one to four dimensions.
//
// The arrays are the base library's nested vectors (TDoubleArray .. TDouble4DArray, TIntArray
// .. TInt4DArray, TBoolArray, TBool2DArray, TSingleArray), indexed from 0; a 2-D array is an
// array of columns addressed [column][row], and 3-D and 4-D arrays add a layer and a time slot
// index. Each operation is a family of overloads, one per element type and rank, constrained so
// that exactly the listed members exist.
//
// Conventions shared by the functions:
// - Extents are taken along the first path (A.size(), A[0].size(), A[0][0].size(), ...) and
//   the array is treated as rectangular. An array counts as empty when an extent is 0, and
//   also when it is ragged: when some inner array is shorter than the extent of its level.
//   So nothing is ever read or written beyond the storage; inner arrays longer than the
//   extent are fine (their excess is ignored, and dropped where a result is resized).
// - Status results: 0 success; -1 an empty input (or an empty destination that must be
//   pre-sized); -2 an invalid index or range; further codes where a function lists them. On a
//   nonzero status no array is changed. Scalar outputs that a function documents as "set
//   first" (means, extremes, trace) hold those values after a failure.
// - Ranges are inclusive, validated and never clipped: a bound below 0 or at/above the extent,
//   or a low bound above the high bound, gives -2 (unless the function says otherwise).
//   Multi-dimensional ranges come as "lows then highs" (LoCol, LoRow, HiCol, HiRow) or as
//   "pairs" (LoCol, HiCol, LoRow, HiRow), as each function states.
// - Integer results from doubles are clamped to [-2147483648, 2147483647], then rounded to
//   the nearest integer, ties to even; NaN gives 0. Integer arithmetic wraps in 32 bits.
// - The random fills reseed the platform's generator (one engine per thread) from the clock at
//   each call; ShuffleArray does not reseed.
// - TBoolArray is std::vector<bool>: its element references are proxies.
#pragma once

#include "nmx/openarrays/arithmetic.h"
#include "nmx/openarrays/array_files.h"
#include "nmx/openarrays/boolean.h"
#include "nmx/openarrays/clone.h"
#include "nmx/openarrays/columns.h"
#include "nmx/openarrays/copy.h"
#include "nmx/openarrays/distribution.h"
#include "nmx/openarrays/edge.h"
#include "nmx/openarrays/extremes.h"
#include "nmx/openarrays/fill.h"
#include "nmx/openarrays/linalg.h"
#include "nmx/openarrays/monotony.h"
#include "nmx/openarrays/rescale.h"
#include "nmx/openarrays/reshape.h"
#include "nmx/openarrays/search.h"
#include "nmx/openarrays/shape.h"
#include "nmx/openarrays/shuffle.h"
#include "nmx/openarrays/sort.h"
#include "nmx/openarrays/stats.h"
#include "nmx/openarrays/threshold.h"
#include "nmx/openarrays/vecops.h"
