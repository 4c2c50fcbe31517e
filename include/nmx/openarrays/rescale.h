// Open-array functions: rescaling a range of a double array (to the unit interval, to zero
// mean and unit deviation, ...), reporting the shift and scale used so that it can be undone.
#pragma once

#include <cstdint>

#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// How RescaleArray maps the elements x of a range onto x' = (x - Shift) / Scale.
enum TRescaleMode : std::uint8_t {
  rsmMinMax = 0,       ///< Shift = minimum, Scale = maximum - minimum: onto [0, 1]
  rsmStandardize = 1,  ///< Shift = mean, Scale = sample standard deviation (divisor n - 1)
  rsmMeanCenter = 2,   ///< Shift = mean, Scale = 1
  rsmMaxAbs = 3        ///< Shift = 0, Scale = the largest |x|: onto [-1, 1]
};

/// Rescales the elements of A[Lo..Hi] in place to x' = (x - Shift) / Scale, with Shift and
/// Scale taken from the range as Mode says, and reports both (x = x'·Scale + Shift undoes it).
/// Returns 0; -1 for an empty A; -2 when a bound lies outside A or Lo > Hi; -3 for an unknown
/// Mode; -4 when the scale is 0 or not finite (a constant range, a single element for
/// rsmStandardize, infinities). On a nonzero status nothing is changed, Shift and Scale
/// included.
template <class Arr>
requires ArrayOf<Arr, double, 1, 1>
NMX_API int RescaleArray(Arr& A, int Lo, int Hi, TRescaleMode Mode, double& Shift, double& Scale);

/// RescaleArray over the block [LoCol..HiCol][LoRow..HiRow] of a 2-D A; as the 1-D member.
template <class Arr>
requires ArrayOf<Arr, double, 2, 2>
NMX_API int RescaleArray(Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, TRescaleMode Mode,
                         double& Shift, double& Scale);

}  // namespace NMX_openarrays
