#include "nmx/openarrays/vecops.h"

#include <cstddef>
#include <utility>
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {
template <class Arr>
requires NumArray<Arr, 1, 1>
int VectorDotProduct(const Arr& A, const Arr& B, ElemOf<Arr>& DotProd) {
  using T = ElemOf<Arr>;
  if (A.empty() || B.empty()) return -1;
  if (A.size() != B.size()) return -2;
  T Sum = T(0);
  for (std::size_t I = 0; I < A.size(); ++I) {
    Sum = detail::AddElem(Sum, detail::MulElem(A[I], B[I]));
  }
  DotProd = Sum;
  return 0;
}

template <class Arr>
requires NumArray<Arr, 1, 1>
int VectorCrossProduct(const Arr& A, const Arr& B, Arr& Result) {
  using detail::MulElem;
  using detail::SubElem;
  if (A.empty() || B.empty()) return -1;
  if (A.size() != 3 || B.size() != 3) return -2;
  Arr C{SubElem(MulElem(A[1], B[2]), MulElem(A[2], B[1])),
        SubElem(MulElem(A[2], B[0]), MulElem(A[0], B[2])),
        SubElem(MulElem(A[0], B[1]), MulElem(A[1], B[0]))};
  Result = std::move(C);
  return 0;
}

// The members of the family, compiled here.
#define NMX_INST(A) template int VectorDotProduct<A>(const A&, const A&, ElemOf<A>&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int VectorCrossProduct<A>(const A&, const A&, A&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
