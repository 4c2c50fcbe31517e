#include "nmx/math1/select.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace NMX_math1 {
namespace {

using Index = std::ptrdiff_t;

// Hoare's selection with the partition scheme that keeps the pivot at the low end: after each
// partition the pivot sits at its final position P, and only the side holding K is kept.
double SelectInRange(std::span<double> Data, Index K, Index Lo, Index Hi) {
  // The range is clipped to the array and K checked against it up front: a K outside the
  // range would make the loop below run forever (K < Lo) or stop on a meaningless value.
  Lo = std::max<Index>(Lo, 0);
  Hi = std::min<Index>(Hi, static_cast<Index>(Data.size()) - 1);
  if (Hi < Lo || K < Lo || K > Hi) return 0.0;

  double* D = Data.data();
  const double First = D[Lo];
  if (std::all_of(D + Lo + 1, D + Hi + 1, [First](double V) { return V == First; })) return First;

  for (;;) {
    const Index Mid = Lo + (Hi - Lo) / 2;
    const double Pivot = D[Mid];
    D[Mid] = D[Lo];
    D[Lo] = Pivot;
    Index I = Lo + 1;
    while (I <= Hi && D[I] < Pivot) ++I;
    for (Index J = I + 1; J <= Hi; ++J) {
      if (D[J] < Pivot) {
        std::swap(D[J], D[I]);
        ++I;
      }
    }
    const Index P = I - 1;
    D[Lo] = D[P];
    D[P] = Pivot;
    // Keeping P in the upper part still shrinks the range: when P = Hi the pivot was the
    // unique maximum, so the next pivot (at a lower index) ends below Hi.
    if (P > K) {
      Hi = P;
    } else if (P < K) {
      Lo = P + 1;
    } else {
      return D[K];
    }
  }
}

}  // namespace

double QuickSelect(std::span<double> Data, int K, int Lo, int Hi) {
  return SelectInRange(Data, K, Lo, Hi);
}

double QuickSelect(std::span<const double> Data, int K, int Lo, int /*Hi*/, double AbundantVal) {
  std::vector<double> Rest;
  Rest.reserve(Data.size());
  Index NLess = 0;
  for (const double V : Data) {
    if (V != AbundantVal) {
      Rest.push_back(V);
      if (V < AbundantVal) ++NLess;
    }
  }
  const auto NEq = static_cast<Index>(Data.size() - Rest.size());
  const auto Top = static_cast<Index>(Rest.size()) - 1;
  if (NLess > K) return SelectInRange(Rest, K, Lo, Top);
  if (NLess + NEq > K) return AbundantVal;
  return SelectInRange(Rest, K - NEq, Lo, Top);
}

}  // namespace NMX_math1
