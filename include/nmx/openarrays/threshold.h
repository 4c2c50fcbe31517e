// Open-array functions: thresholding into Boolean arrays and discretising onto levels.
#pragma once

#include <cstdint>
#include <type_traits>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// The arrays that can be dichotomised: double and integer 2-D, integer 1-D.
template <class A>
concept DichotomizableArray = NumArray<A, 2, 2> || ArrayOf<A, std::int32_t, 1, 1>;

/// B receives A's extents and B := A > Threshold, element by element (false for NaN).
/// Returns 0; -1 for an empty or ragged A (B unchanged).
template <class Arr>
requires DichotomizableArray<Arr>
NMX_API int DichotomizeArray(const Arr& A, std::type_identity_t<ElemOf<Arr>> Threshold,
                             NestedOf<bool, RankOf<Arr>>& B);

/// B receives A's extents and B := Low <= A <= High; reversed bounds are exchanged. Returns
/// 0; -1 for an empty or ragged A (B unchanged).
template <class Arr>
requires DichotomizableArray<Arr>
NMX_API int DichotomizeArray(const Arr& A, std::type_identity_t<ElemOf<Arr>> Low,
                             std::type_identity_t<ElemOf<Arr>> High,
                             NestedOf<bool, RankOf<Arr>>& B);

/// Maps every element of A in place onto NLevels equally spaced levels from OutLow to
/// OutHigh: x <= ThreshLow becomes OutLow, x >= ThreshHigh OutHigh, and any other x becomes
/// OutLow + (m + 1)·(OutHigh - OutLow)/(NLevels - 1) with
/// m = ⌊(x - ThreshLow) / ((ThreshHigh - ThreshLow)/(NLevels - 2))⌋. NaN stays NaN. Every
/// stored element is mapped, also in a ragged A. Returns 0; -1 when NLevels < 3; -2 when
/// ThreshLow >= ThreshHigh or either is NaN (-2 wins over -1); A is unchanged on a nonzero
/// status.
NMX_API int DiscretizeArray(NMX_nmxbase::TDouble2DArray& A, int NLevels, double ThreshLow,
                            double ThreshHigh, double OutLow, double OutHigh);

}  // namespace NMX_openarrays
