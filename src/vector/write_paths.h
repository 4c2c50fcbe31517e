// The two write paths of the vector copies and fills: straight into the array when no
// OnChange handler can watch, through SetVal when one can.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

#include "nmx/vector/vector_base.h"

namespace NMX_vector {

/// Writes Count values to the elements First, First + 1, ... as SetVal would: Get(J, Out)
/// delivers value J (0-based) and may return false to skip its target (a source cell that
/// does not exist). Targets outside 1..NrOfElem are dropped. Does not fire the final
/// OnChange; the caller does.
///
/// Without an OnChange handler nobody can observe the single writes, so they go straight
/// into the array; with one, every write is a SetVal and Get re-checks its source each time,
/// since the handler may resize this vector or the source between two writes.
template <class T>
template <class Getter>
void TVectorBase<T>::WriteRun(std::int64_t First, std::int64_t Count, Getter&& Get) {
  const std::int64_t JFirst = std::max<std::int64_t>(0, 1 - First);
  if (!OnChange) {
    const std::int64_t JLast = std::min<std::int64_t>(Count - 1, FNElem - First);
    bool Wrote = false;
    // Ascending, one element at a time: a copy of a vector onto an overlapping part of itself
    // repeats values exactly as the single SetVal calls would.
    for (std::int64_t J = JFirst; J <= JLast; ++J) {
      T Value{};
      if (Get(J, Value)) {
        FVec[static_cast<std::size_t>(First + J - 1)] = Value;
        Wrote = true;
      }
    }
    if (Wrote) FIsEmpty = false;
    return;
  }
  for (std::int64_t J = JFirst; J < Count; ++J) {
    const std::int64_t Target = First + J;
    if (Target > INT_MAX) break;
    T Value{};
    if (Get(J, Value)) SetVal(static_cast<int>(Target), Value);
  }
}

/// Every element := Next() in element order, as SetVal would; then OnChange.
template <class T>
template <class Generator>
void TVectorBase<T>::FillWith(Generator&& Next) {
  if (!OnChange) {
    for (auto& X : FVec) X = Next();
    FIsEmpty = false;
  } else {
    const int N = FNElem;
    for (int K = 1; K <= N; ++K) SetVal(K, Next());
  }
  Changed();
}

}  // namespace NMX_vector
