// Counting the values of a vector's elements into histogram bins, for both element types.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "math1/bins.h"
#include "nmx/base/types.h"

namespace NMX_vector::detail {

// Where a value goes in a histogram: a bin index >= 0, or one of the codes of the shared bin
// rule.
using NMX_math1::detail::kNotCounted;
using NMX_math1::detail::kOverflow;
using NMX_math1::detail::kUnderflow;

/// Counts the values of the elements FirstElem..LastElem of Data (indices outside read 0) into
/// NBins bins, Bin(x) telling where x goes, and stores the counts in Histo (resized to NBins)
/// and the three totals. Counts beyond the int range, possible only for index ranges of more
/// than 2^31 elements, stay at INT_MAX.
template <class T, class BinOf>
void CountHistogram(std::span<const T> Data, int FirstElem, int LastElem, int NBins, BinOf&& Bin,
                    NMX_nmxbase::TIntArray& Histo, int& Underflow, int& Overflow, int& MaxCnt) {
  std::vector<std::int64_t> Counts(static_cast<std::size_t>(NBins), 0);
  std::int64_t Under = 0, Over = 0;
  auto Tally = [&](T X, std::int64_t Times) {
    const int B = Bin(X);
    if (B >= 0) {
      Counts[static_cast<std::size_t>(B)] += Times;
    } else if (B == kUnderflow) {
      Under += Times;
    } else if (B == kOverflow) {
      Over += Times;
    }
  };
  if (LastElem >= FirstElem) {
    const std::int64_t N = static_cast<std::int64_t>(Data.size());
    const std::int64_t Lo = std::max<std::int64_t>(FirstElem, 1);
    const std::int64_t Hi = std::min<std::int64_t>(LastElem, N);
    for (std::int64_t K = Lo; K <= Hi; ++K) Tally(Data[static_cast<std::size_t>(K - 1)], 1);
    // The indices outside the vector all read 0: they are counted at once.
    const std::int64_t Outside =
        (std::int64_t{LastElem} - FirstElem + 1) - std::max<std::int64_t>(0, Hi - Lo + 1);
    if (Outside > 0) Tally(T(0), Outside);
  }
  auto Saturated = [](std::int64_t C) {
    return static_cast<int>(std::min<std::int64_t>(C, INT_MAX));
  };
  Histo.resize(static_cast<std::size_t>(NBins));
  MaxCnt = 0;
  for (std::size_t B = 0; B < Counts.size(); ++B) {
    Histo[B] = Saturated(Counts[B]);
    MaxCnt = std::max(MaxCnt, Histo[B]);
  }
  Underflow = Saturated(Under);
  Overflow = Saturated(Over);
}

}  // namespace NMX_vector::detail
