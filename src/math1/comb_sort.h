// The library's one comb sort, for the sorts of its containers: the gap rule, the fast
// kernel with a free start gap, and the pass that announces each exchange.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace NMX_math1::detail {

/// The next comb gap: Trunc(Gap / 1.3) with 1.3 in extended precision, a gap of 0 becoming 1.
/// That quotient is floor(10 Gap / 13) for every integer Gap (checked exhaustively far beyond
/// any array size); the split form keeps 10 Gap from overflowing.
constexpr std::size_t NextCombGap(std::size_t Gap) noexcept {
  const std::size_t Next = Gap / 13 * 10 + Gap % 13 * 10 / 13;
  return Next == 0 ? 1 : Next;
}

/// Comb sort of Data whose first pass has the gap NextCombGap(StartGap) (SortArray starts from
/// the element count, the vectors' SortElems from the count less one). With Progress each pass
/// steps the process-wide progress counter. Makes exactly the exchanges of the plain pass
/// loop, pair by pair in ascending order, in every instruction-set variant.
void CombSort(std::span<double> Data, bool Ascending, std::size_t StartGap, bool Progress);
void CombSort(std::span<float> Data, bool Ascending, std::size_t StartGap, bool Progress);
void CombSort(std::span<std::int32_t> Data, bool Ascending, std::size_t StartGap, bool Progress);

/// The same passes over N elements reached through At(i) (0-based), calling Exchanged(i, j)
/// after each exchange of elements i and j; a false from Exchanged ends the sort. At is asked
/// afresh for every pair, so Exchanged may move the storage (a handler that resizes a vector).
/// The slow path, for sorts whose every exchange is observed.
template <class T, class ElemAt, class Notify>
void CombSortAnnounced(ElemAt&& At, std::size_t N, bool Ascending, std::size_t StartGap,
                       Notify&& Exchanged) {
  std::size_t Gap = StartGap;
  bool Swapped = false;
  do {
    Gap = NextCombGap(Gap);
    Swapped = false;
    for (std::size_t I = 0; I + Gap < N; ++I) {
      T& A = At(I);
      T& B = At(I + Gap);
      if (Ascending ? A > B : A < B) {
        std::swap(A, B);
        Swapped = true;
        if (!Exchanged(I, I + Gap)) return;
      }
    }
  } while (Gap != 1 || Swapped);
}

}  // namespace NMX_math1::detail
