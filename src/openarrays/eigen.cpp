// The symmetric eigen decomposition: Householder reduction to a tridiagonal matrix with the
// transformations accumulated, then the QL method with implicit shifts (the EISPACK routines
// tred2 and tql2, in the form the public-domain JAMA package gives them).
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numeric>
#include <utility>
#include <vector>

#include "nmx/openarrays/linalg.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

namespace {

using Index = std::ptrdiff_t;

/// The n × n matrix V, column-major: V(r, c).
class TSquare {
 public:
  explicit TSquare(Index N) : FN(N), FData(static_cast<std::size_t>(N * N), 0.0) {}
  double& operator()(Index R, Index C) { return FData[static_cast<std::size_t>(R + C * FN)]; }

 private:
  Index FN;
  std::vector<double> FData;
};

/// Householder reduction of the symmetric V to tridiagonal form: D gets the diagonal, E the
/// subdiagonal in E[1..n-1], V the orthogonal transformation.
void Tridiagonalise(TSquare& V, Index N, std::vector<double>& D, std::vector<double>& E) {
  for (Index J = 0; J < N; ++J) D[J] = V(N - 1, J);
  for (Index I = N - 1; I > 0; --I) {
    double Scale = 0.0, H = 0.0;
    for (Index K = 0; K < I; ++K) Scale += std::fabs(D[K]);
    if (Scale == 0.0) {
      E[I] = D[I - 1];
      for (Index J = 0; J < I; ++J) {
        D[J] = V(I - 1, J);
        V(I, J) = 0.0;
        V(J, I) = 0.0;
      }
    } else {
      for (Index K = 0; K < I; ++K) {
        D[K] /= Scale;
        H += D[K] * D[K];
      }
      double F = D[I - 1];
      double G = std::sqrt(H);
      if (F > 0) G = -G;
      E[I] = Scale * G;
      H -= F * G;
      D[I - 1] = F - G;
      for (Index J = 0; J < I; ++J) E[J] = 0.0;
      for (Index J = 0; J < I; ++J) {
        F = D[J];
        V(J, I) = F;
        G = E[J] + V(J, J) * F;
        for (Index K = J + 1; K <= I - 1; ++K) {
          G += V(K, J) * D[K];
          E[K] += V(K, J) * F;
        }
        E[J] = G;
      }
      F = 0.0;
      for (Index J = 0; J < I; ++J) {
        E[J] /= H;
        F += E[J] * D[J];
      }
      const double HH = F / (H + H);
      for (Index J = 0; J < I; ++J) E[J] -= HH * D[J];
      for (Index J = 0; J < I; ++J) {
        F = D[J];
        G = E[J];
        for (Index K = J; K <= I - 1; ++K) V(K, J) -= (F * E[K] + G * D[K]);
        D[J] = V(I - 1, J);
        V(I, J) = 0.0;
      }
    }
    D[I] = H;
  }
  // Accumulate the transformations.
  for (Index I = 0; I < N - 1; ++I) {
    V(N - 1, I) = V(I, I);
    V(I, I) = 1.0;
    const double H = D[I + 1];
    if (H != 0.0) {
      for (Index K = 0; K <= I; ++K) D[K] = V(K, I + 1) / H;
      for (Index J = 0; J <= I; ++J) {
        double G = 0.0;
        for (Index K = 0; K <= I; ++K) G += V(K, I + 1) * V(K, J);
        for (Index K = 0; K <= I; ++K) V(K, J) -= G * D[K];
      }
    }
    for (Index K = 0; K <= I; ++K) V(K, I + 1) = 0.0;
  }
  for (Index J = 0; J < N; ++J) {
    D[J] = V(N - 1, J);
    V(N - 1, J) = 0.0;
  }
  V(N - 1, N - 1) = 1.0;
  E[0] = 0.0;
}

/// QL with implicit shifts on the tridiagonal D, E, rotating V along. False when an
/// eigenvalue needs more than kMaxIterations sweeps.
bool DiagonaliseQL(TSquare& V, Index N, std::vector<double>& D, std::vector<double>& E) {
  constexpr int kMaxIterations = 60;
  for (Index I = 1; I < N; ++I) E[I - 1] = E[I];
  E[N - 1] = 0.0;
  double F = 0.0, Tst1 = 0.0;
  const double Eps = std::numeric_limits<double>::epsilon();
  for (Index L = 0; L < N; ++L) {
    // The smallest subdiagonal element that counts as zero.
    Tst1 = std::max(Tst1, std::fabs(D[L]) + std::fabs(E[L]));
    Index M = L;
    while (M < N - 1 && !(std::fabs(E[M]) <= Eps * Tst1)) ++M;
    if (M > L) {
      int Iterations = 0;
      do {
        if (++Iterations > kMaxIterations) return false;
        // The implicit shift.
        double G = D[L];
        double P = (D[L + 1] - G) / (2.0 * E[L]);
        double R = std::hypot(P, 1.0);
        if (P < 0) R = -R;
        D[L] = E[L] / (P + R);
        D[L + 1] = E[L] * (P + R);
        const double Dl1 = D[L + 1];
        double H = G - D[L];
        for (Index I = L + 2; I < N; ++I) D[I] -= H;
        F += H;
        // The implicit QL transformation.
        P = D[M];
        double C = 1.0, C2 = 1.0, C3 = 1.0, S = 0.0, S2 = 0.0;
        const double El1 = E[L + 1];
        for (Index I = M - 1; I >= L; --I) {
          C3 = C2;
          C2 = C;
          S2 = S;
          G = C * E[I];
          H = C * P;
          R = std::hypot(P, E[I]);
          E[I + 1] = S * R;
          S = E[I] / R;
          C = P / R;
          P = C * D[I] - S * G;
          D[I + 1] = H + S * (C * G + S * D[I]);
          for (Index K = 0; K < N; ++K) {
            H = V(K, I + 1);
            V(K, I + 1) = S * V(K, I) + C * H;
            V(K, I) = C * V(K, I) - S * H;
          }
        }
        P = -S * S2 * C3 * El1 * E[L] / Dl1;
        E[L] = S * P;
        D[L] = C * P;
      } while (!(std::fabs(E[L]) <= Eps * Tst1));
    }
    D[L] += F;
    E[L] = 0.0;
  }
  return true;
}

}  // namespace

int EigenDecomposition(const NMX_nmxbase::TDouble2DArray& A, bool Descending,
                       NMX_nmxbase::TDouble2DArray& Vectors, NMX_nmxbase::TDoubleArray& Values) {
  if (!detail::IsUsable(A) || A.size() != A[0].size()) return -1;
  const Index N = static_cast<Index>(A.size());
  TSquare V(N);
  // M(i, j) = A[j][i]; the lower triangle i >= j is read and mirrored.
  for (Index J = 0; J < N; ++J) {
    for (Index I = J; I < N; ++I) {
      const double X = A[J][I];
      if (!std::isfinite(X)) return -2;
      V(I, J) = X;
      V(J, I) = X;
    }
  }
  std::vector<double> D(static_cast<std::size_t>(N)), E(static_cast<std::size_t>(N));
  Tridiagonalise(V, N, D, E);
  if (!DiagonaliseQL(V, N, D, E)) return -3;
  // Equal eigenvalues keep the order the iteration left them in.
  std::vector<Index> Order(static_cast<std::size_t>(N));
  std::iota(Order.begin(), Order.end(), Index{0});
  std::stable_sort(Order.begin(), Order.end(),
                   [&](Index X, Index Y) { return Descending ? D[X] > D[Y] : D[X] < D[Y]; });
  NMX_nmxbase::TDouble2DArray Vecs(static_cast<std::size_t>(N),
                                   NMX_nmxbase::TDoubleArray(static_cast<std::size_t>(N)));
  NMX_nmxbase::TDoubleArray Vals(static_cast<std::size_t>(N));
  for (Index K = 0; K < N; ++K) {
    const Index Src = Order[K];
    Vals[K] = D[Src];
    // The sign that makes the component of largest magnitude (the first of equals) positive.
    Index Largest = 0;
    for (Index I = 1; I < N; ++I) {
      if (std::fabs(V(I, Src)) > std::fabs(V(Largest, Src))) Largest = I;
    }
    const double Sign = V(Largest, Src) < 0 ? -1.0 : 1.0;
    for (Index I = 0; I < N; ++I) Vecs[K][I] = Sign * V(I, Src);
  }
  Vectors = std::move(Vecs);
  Values = std::move(Vals);
  return 0;
}

}  // namespace NMX_openarrays
