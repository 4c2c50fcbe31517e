#include "nmx/openarrays/arithmetic.h"

#include <cstddef>

#include "nmx/openarrays/detail/nd.h"

namespace NMX_openarrays {

double SumOfSquaredDiffs(const NMX_nmxbase::TDoubleArray& A, const NMX_nmxbase::TDoubleArray& B) {
  if (A.empty() || B.empty()) return -1.0;
  if (A.size() != B.size()) return -2.0;
  double Sum = 0.0;
  for (std::size_t I = 0; I < A.size(); ++I) {
    const double D = A[I] - B[I];
    Sum += D * D;
  }
  return Sum;
}

double SumOfSquaredDiffs(const NMX_nmxbase::TDoubleArray& A, const NMX_nmxbase::TDouble2DArray& B,
                         int Col) {
  if (A.empty() || !detail::IsUsable(B)) return -1.0;
  const auto E = detail::Extents(B);
  if (A.size() != E[1]) return -2.0;
  if (!detail::InExtent(Col, E[0])) return -3.0;
  const auto& Column = B[static_cast<std::size_t>(Col)];
  double Sum = 0.0;
  for (std::size_t I = 0; I < A.size(); ++I) {
    const double D = A[I] - Column[I];
    Sum += D * D;
  }
  return Sum;
}

}  // namespace NMX_openarrays
