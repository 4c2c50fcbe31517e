#include "nmx/openarrays/columns.h"

#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

#include "nmx/math1/moments.h"
#include "nmx/math1/norms.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {
namespace {

using NMX_nmxbase::TDouble2DArray;
using NMX_nmxbase::TDoubleArray;

// The values of row R over the columns.
std::vector<double> RowOf(const TDouble2DArray& A, std::size_t R) {
  std::vector<double> Row(A.size());
  for (std::size_t C = 0; C < A.size(); ++C) Row[C] = A[C][R];
  return Row;
}

// Means receives Values when it already holds elements.
void ReportMeans(const std::vector<double>& Values, TDoubleArray& Means) {
  if (!Means.empty()) Means = Values;
}

}  // namespace

void MeanCenterColumnsOfArray(TDouble2DArray& A, TDoubleArray& Means) {
  if (!detail::IsUsable(A)) return;
  const auto E = detail::Extents(A);
  std::vector<double> M(E[0]);
  for (std::size_t C = 0; C < E[0]; ++C) {
    double Sum = 0.0;
    for (std::size_t R = 0; R < E[1]; ++R) Sum += A[C][R];
    M[C] = Sum / static_cast<double>(E[1]);
    for (std::size_t R = 0; R < E[1]; ++R) A[C][R] -= M[C];
  }
  ReportMeans(M, Means);
}

void MeanCenterRowsOfArray(TDouble2DArray& A, TDoubleArray& Means) {
  if (!detail::IsUsable(A)) return;
  const auto E = detail::Extents(A);
  std::vector<double> M(E[1]);
  for (std::size_t R = 0; R < E[1]; ++R) {
    double Sum = 0.0;
    for (std::size_t C = 0; C < E[0]; ++C) Sum += A[C][R];
    M[R] = Sum / static_cast<double>(E[0]);
    for (std::size_t C = 0; C < E[0]; ++C) A[C][R] -= M[R];
  }
  ReportMeans(M, Means);
}

int NormalizeColumns(TDouble2DArray& A) {
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  int Status = 0;
  for (std::size_t C = 0; C < E[0]; ++C) {
    const std::span<double> Column(A[C].data(), E[1]);
    const double L = NMX_math1::EuclideanLength(Column);
    if (L == 0.0) {
      Status = -1;
      continue;
    }
    for (double& X : Column) X /= L;
  }
  return Status;
}

int NormalizeRows(TDouble2DArray& A) {
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  int Status = 0;
  for (std::size_t R = 0; R < E[1]; ++R) {
    const double L = NMX_math1::EuclideanLength(RowOf(A, R));
    if (L == 0.0) {
      Status = -1;
      continue;
    }
    for (std::size_t C = 0; C < E[0]; ++C) A[C][R] /= L;
  }
  return Status;
}

double PearsonCorrCoeffColsOfArray(const TDouble2DArray& A, int Col1, int Col2) {
  if (!detail::IsUsable(A)) return 0.0;
  const auto E = detail::Extents(A);
  if (!detail::InExtent(Col1, E[0]) || !detail::InExtent(Col2, E[0]) || E[1] < 3) return 0.0;
  const std::span<const double> X(A[static_cast<std::size_t>(Col1)].data(), E[1]);
  const std::span<const double> Y(A[static_cast<std::size_t>(Col2)].data(), E[1]);
  const NMX_math1::TCoMoments M = NMX_math1::CoMoments(X, Y);
  // A column without spread (a column of zeros, whose sum of squares is 0, among them) has a
  // central sum of exactly 0.
  if (M.M2X == 0.0 || M.M2Y == 0.0) return 0.0;
  return M.Correlation();
}

int DistanceOfObjects(const TDouble2DArray& A, NMX_nmxbase::TDistMode Mode, int Obj1, int Obj2,
                      int FirstVar, int LastVar, double& Dist) {
  Dist = 0.0;
  const auto E = detail::IsUsable(A) ? detail::Extents(A) : detail::ExtentsOf<TDouble2DArray>{};
  // Each later test overrides the code of an earlier one.
  int Status = 0;
  if (Mode == NMX_nmxbase::dmUserDefined) Status = -1;
  if (!detail::InExtent(Obj1, E[1]) || !detail::InExtent(Obj2, E[1])) Status = -2;
  if (!detail::InExtent(FirstVar, E[0]) || !detail::InExtent(LastVar, E[0])) Status = -3;
  if (LastVar < FirstVar) Status = -4;
  if (Status != 0) return Status;
  const auto O1 = static_cast<std::size_t>(Obj1), O2 = static_cast<std::size_t>(Obj2);
  std::vector<double> Va, Vb;
  for (int V = FirstVar; V <= LastVar; ++V) {
    Va.push_back(A[static_cast<std::size_t>(V)][O1]);
    Vb.push_back(A[static_cast<std::size_t>(V)][O2]);
  }
  double Sab = 0.0, Saa = 0.0, Sbb = 0.0, Sabs = 0.0, Ssq = 0.0;
  for (std::size_t K = 0; K < Va.size(); ++K) {
    const double a = Va[K], b = Vb[K];
    Sab += a * b;
    Saa += a * a;
    Sbb += b * b;
    Sabs += std::fabs(a - b);
    Ssq += (a - b) * (a - b);
  }
  switch (Mode) {
    case NMX_nmxbase::dmTanimoto:
      Dist = Sab / (Saa + Sbb - Sab);
      break;
    case NMX_nmxbase::dmManhattan:
      Dist = Sabs;
      break;
    case NMX_nmxbase::dmEuclidean:
      Dist = NMX_math1::EuclideanDistance(Va, Vb);
      break;
    case NMX_nmxbase::dmSqrEuclidean:
      Dist = Ssq;
      break;
    case NMX_nmxbase::dmDice:
      Dist = 2.0 * Sab / (Saa + Sbb);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace NMX_openarrays
