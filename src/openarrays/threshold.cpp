#include "nmx/openarrays/threshold.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {
namespace {

// B := Test(x) for every element of A, B sized to A's extents; -1 for an empty or ragged A.
template <class Arr, class Pred>
int Dichotomize(const Arr& A, NestedOf<bool, RankOf<Arr>>& B, Pred&& Test) {
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  NestedOf<bool, RankOf<Arr>> Result;
  detail::SetExtents(Result, E);
  detail::ForEachPair(A, Result, E.data(), [&Test](const auto& X, auto&& Y) { Y = Test(X); });
  B = std::move(Result);
  return 0;
}

}  // namespace

template <class Arr>
requires DichotomizableArray<Arr>
int DichotomizeArray(const Arr& A, std::type_identity_t<ElemOf<Arr>> Threshold,
                     NestedOf<bool, RankOf<Arr>>& B) {
  return Dichotomize(A, B, [Threshold](ElemOf<Arr> X) { return X > Threshold; });
}

template <class Arr>
requires DichotomizableArray<Arr>
int DichotomizeArray(const Arr& A, std::type_identity_t<ElemOf<Arr>> Low,
                     std::type_identity_t<ElemOf<Arr>> High, NestedOf<bool, RankOf<Arr>>& B) {
  if (High < Low) std::swap(Low, High);
  return Dichotomize(A, B, [Low, High](ElemOf<Arr> X) { return Low <= X && X <= High; });
}

#define NMX_INST(A)                                                                  \
  template int DichotomizeArray<A>(const A&, ElemOf<A>, NestedOf<bool, RankOf<A>>&); \
  template int DichotomizeArray<A>(const A&, ElemOf<A>, ElemOf<A>, NestedOf<bool, RankOf<A>>&);
NMX_NUM_2(NMX_INST)
NMX_INST(detail::TIntArray)
#undef NMX_INST

int DiscretizeArray(NMX_nmxbase::TDouble2DArray& A, int NLevels, double ThreshLow,
                    double ThreshHigh, double OutLow, double OutHigh) {
  if (!(ThreshLow < ThreshHigh)) return -2;
  if (NLevels < 3) return -1;
  const double Step = (ThreshHigh - ThreshLow) / (NLevels - 2);
  const double OutStep = (OutHigh - OutLow) / (NLevels - 1);
  for (auto& Column : A) {
    for (double& X : Column) {
      if (X <= ThreshLow) {
        X = OutLow;
      } else if (X >= ThreshHigh) {
        X = OutHigh;
      } else if (!std::isnan(X)) {
        const double M = std::floor((X - ThreshLow) / Step);
        X = OutLow + OutStep * (M + 1.0);
      }
    }
  }
  return 0;
}

}  // namespace NMX_openarrays
