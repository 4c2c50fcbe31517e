#include "nmx/openarrays/fill.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "nmx/openarrays/detail/elem.h"
#include "nmx/platform/random.h"

namespace NMX_openarrays {

int FillRandomUniform(NMX_nmxbase::TIntArray& A, std::int32_t RangeLow, std::int32_t RangeHigh,
                      bool AllowRepetitions) {
  if (A.empty()) return -1;
  if (RangeHigh < RangeLow) return -2;
  // Up to 2^32 values: count in 64 bits.
  const std::int64_t M = std::int64_t{RangeHigh} - std::int64_t{RangeLow} + 1;
  if (!AllowRepetitions) {
    if (M < static_cast<std::int64_t>(A.size())) return -3;
    if (M > 1000000) return -4;
  }
  NMX_platform::Randomize();
  const auto Low = static_cast<std::uint32_t>(RangeLow);
  if (AllowRepetitions) {
    for (auto& X : A) {
      const auto J = static_cast<std::uint32_t>(detail::RandomIndex(static_cast<std::size_t>(M)));
      X = static_cast<std::int32_t>(Low + J);  // Low + J <= RangeHigh: no wrap in effect
    }
    return 0;
  }
  NMX_nmxbase::TIntArray Values(static_cast<std::size_t>(M));
  for (std::size_t I = 0; I < Values.size(); ++I) {
    Values[I] = static_cast<std::int32_t>(Low + static_cast<std::uint32_t>(I));
  }
  // A partial Fisher-Yates draw: every ordered choice of A.size() distinct values is equally
  // likely. (The cyclic shuffle of ShuffleArray would never leave a value in its place, so
  // with m = A.size() the first element could never be RangeLow.)
  for (std::size_t I = 0; I < A.size(); ++I) {
    const std::size_t J = I + detail::RandomIndex(Values.size() - I);
    std::swap(Values[I], Values[J]);
    A[I] = Values[I];
  }
  return 0;
}

}  // namespace NMX_openarrays
