#include "nmx/openarrays/edge.h"

#include <cstddef>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "nmx/base/constants.h"
#include "nmx/math1/moments.h"
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

using NMX_nmxbase::TDoubleArray;
using NMX_nmxbase::TEdgeOp;
using NMX_nmxbase::TIntArray;
using NMX_nmxbase::TOrientation;

template <class Arr>
requires NumArray<Arr, 2, 2>
int EdgeVector(const Arr& A, TOrientation Orient, TEdgeOp EdgeOp, const TIntArray& EdgeIx,
               TDoubleArray& Dest) {
  using NMX_univconst::uc_MaxDouble;
  if (!detail::IsUsable(A)) return -1;
  if (Orient != NMX_nmxbase::orRowwise && Orient != NMX_nmxbase::orColwise) return -2;
  if (EdgeOp > NMX_nmxbase::eoStdDev) return -2;
  const bool Rowwise = Orient == NMX_nmxbase::orRowwise;
  const std::size_t Cols = A.size(), Rows = A[0].size();
  const std::size_t Listable = Rowwise ? Cols : Rows;  // the dimension EdgeIx indexes
  const std::size_t Count = Rowwise ? Rows : Cols;     // one result each
  int Status = 0;
  std::vector<std::size_t> List;
  if (EdgeIx.empty()) {
    List.resize(Listable);
    for (std::size_t K = 0; K < Listable; ++K) List[K] = K;
  } else {
    List.reserve(EdgeIx.size());
    for (const int K : EdgeIx) {
      if (detail::InExtent(K, Listable)) {
        List.push_back(static_cast<std::size_t>(K));
      } else {
        Status = -2;
      }
    }
  }
  // Value number K of the list for result E.
  const auto At = [&](std::size_t E, std::size_t K) {
    return static_cast<double>(Rowwise ? A[List[K]][E] : A[E][List[K]]);
  };
  TDoubleArray Out(Count);
  switch (EdgeOp) {
    case NMX_nmxbase::eoMin:
    case NMX_nmxbase::eoMax: {
      const bool Min = EdgeOp == NMX_nmxbase::eoMin;
      for (std::size_t E = 0; E < Count; ++E) {
        double V = Min ? uc_MaxDouble : -uc_MaxDouble;
        for (std::size_t K = 0; K < List.size(); ++K) {
          const double X = At(E, K);
          if (Min ? X < V : X > V) V = X;
        }
        Out[E] = V;
      }
      break;
    }
    case NMX_nmxbase::eoSum:
    case NMX_nmxbase::eoMean: {
      for (std::size_t E = 0; E < Count; ++E) {
        double S = 0.0;
        for (std::size_t K = 0; K < List.size(); ++K) S += At(E, K);
        Out[E] = S;
      }
      if (EdgeOp == NMX_nmxbase::eoMean) {
        // Across the rows the divisor is always the number of columns; down the columns it is
        // the number of rows taken for doubles, the number of rows of A for integers.
        std::size_t Divisor = Cols;
        if (!Rowwise) Divisor = std::is_same_v<ElemOf<Arr>, double> ? List.size() : Rows;
        for (double& X : Out) X = Divisor == 0 ? 0.0 : X / static_cast<double>(Divisor);
      }
      break;
    }
    case NMX_nmxbase::eoStdDev: {
      // From the deviations (the moments kernel), never from Σx² - (Σx)²/k.
      std::vector<double> Values(List.size());
      for (std::size_t E = 0; E < Count; ++E) {
        if (List.size() < 3) {
          Out[E] = 0.0;
          continue;
        }
        for (std::size_t K = 0; K < List.size(); ++K) Values[K] = At(E, K);
        Out[E] = NMX_math1::CentralMoments(std::span<const double>(Values)).SampleStdDev();
      }
      break;
    }
  }
  Dest = std::move(Out);
  return Status;
}

template <class Arr>
requires NumArray<Arr, 2, 2>
int EdgeVector(const Arr& A, TOrientation Orient, TEdgeOp EdgeOp, TDoubleArray& Dest) {
  return EdgeVector(A, Orient, EdgeOp, TIntArray{}, Dest);
}

#define NMX_INST(A)                                                                             \
  template int EdgeVector<A>(const A&, TOrientation, TEdgeOp, const TIntArray&, TDoubleArray&); \
  template int EdgeVector<A>(const A&, TOrientation, TEdgeOp, TDoubleArray&);
NMX_NUM_2(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
