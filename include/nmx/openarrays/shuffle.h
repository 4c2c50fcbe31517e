// Open-array functions: shuffling a one-dimensional array in place.
#pragma once

#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// Permutes A at random: for k from n - 1 down to 1, A[k] is exchanged with A[j], j uniform in
/// 0..k-1. j is never k, so every element leaves its place (a random cyclic permutation: [1, 2]
/// always becomes [2, 1]). The generator is not reseeded, so `NMX_platform::SetRandSeed` makes
/// the result reproducible. Returns 0, or -1 for fewer than 2 elements.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int ShuffleArray(Arr& A);

}  // namespace NMX_openarrays
