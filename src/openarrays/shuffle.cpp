#include "nmx/openarrays/shuffle.h"

#include <cstddef>
#include <utility>
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {
template <class Arr>
requires NumArray<Arr, 1, 1>
int ShuffleArray(Arr& A) {
  if (A.size() < 2) return -1;
  for (std::size_t K = A.size() - 1; K >= 1; --K) {
    const std::size_t J = detail::RandomIndex(K);
    std::swap(A[K], A[J]);
  }
  return 0;
}

// The members of the family, compiled here.
#define NMX_INST(A) template int ShuffleArray<A>(A&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
