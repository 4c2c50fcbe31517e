#include "nmx/openarrays/sort.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "math1/comb_sort.h"
#include "nmx/math1/sort.h"
#include "openarrays/instantiate.h"

namespace NMX_openarrays {

template <class Arr>
requires NumArray<Arr, 1, 1>
int SortArray(bool Ascending, Arr& A, NMX_nmxbase::TIntArray& Ix) {
  using T = ElemOf<Arr>;
  const std::size_t N = A.size();
  Ix.resize(N);
  for (std::size_t K = 0; K < N; ++K) Ix[K] = static_cast<std::int32_t>(K + 1);
  if (N < 2) return -1;
  // The passes of the vectors' sort (first gap from n - 1), with Ix following each exchange.
  NMX_math1::detail::CombSortAnnounced<T>([&A](std::size_t I) -> T& { return A[I]; }, N, Ascending,
                                          N - 1,
                                          [&Ix](std::size_t I, std::size_t J) {
                                            std::swap(Ix[I], Ix[J]);
                                            return true;
                                          });
  return 0;
}

#define NMX_INST(A) template int SortArray<A>(bool, A&, NMX_nmxbase::TIntArray&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST

int SortAndRemoveDuplicates(NMX_nmxbase::TIntArray& A, bool Ascending) {
  if (A.size() < 2) return -1;
  NMX_nmxbase::TIntArray Sorted(A);
  NMX_math1::SortArray(std::span<std::int32_t>(Sorted), Ascending);
  Sorted.erase(std::unique(Sorted.begin(), Sorted.end()), Sorted.end());
  const int Removed = static_cast<int>(A.size() - Sorted.size());
  A = std::move(Sorted);
  return Removed;
}

}  // namespace NMX_openarrays
