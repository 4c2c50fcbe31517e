// The Householder bidiagonalisation, the accumulation of both transformations and the
// implicit-shift QR sweeps of Golub and Reinsch, on column-major buffers. Loops that the
// textbook writes row by row run down columns here, each sum still taken in its own order,
// so the results are those of the row-wise loops.
#include "matrix/svd.h"

#include <algorithm>
#include <cmath>

#include "nmx/base/progress.h"

namespace NMX_matrix::detail {
namespace {

using Size = std::size_t;

// |A| with the sign of B (B = -0 counts as positive).
double Sign(double A, double B) noexcept {
  return B >= 0.0 ? std::fabs(A) : -std::fabs(A);
}

// sqrt(a² + b²) as the sum of squares, unless the squares overflow or underflow: then the
// scaled form, which the plain one would have turned into infinity or 0.
double Hypot(double A, double B) noexcept {
  const double S = A * A + B * B;
  if (S < 1e300 && (S > 1e-300 || (A == 0.0 && B == 0.0))) return std::sqrt(S);
  if (std::isnan(S)) return S;
  return std::hypot(A, B);
}

// One step of a phase: progress, feedback, and the abort flag.
bool Step() {
  NMX_nmxbase::StepProgress();
  return !NMX_nmxbase::AbortMathProc.load(std::memory_order_relaxed);
}

}  // namespace

bool SingularValueDecomposition(int M, int N, std::vector<double>& AStore, std::vector<double>& VStore,
                                std::vector<double>& WStore) {
  // Rows beyond M are padding: only phase 3 writes them (for i > M, never read again), so a
  // padded buffer gives what dropped writes would.
  const int Mp = std::max(M, N);
  std::vector<double> APad;
  double* A0 = AStore.data();
  if (Mp > M) {
    APad.assign(static_cast<Size>(Mp) * static_cast<Size>(N), 0.0);
    for (int J = 0; J < N; ++J) {
      std::copy_n(AStore.begin() + static_cast<std::ptrdiff_t>(J) * M, M,
                  APad.begin() + static_cast<std::ptrdiff_t>(J) * Mp);
    }
    A0 = APad.data();
  }
  VStore.assign(static_cast<Size>(N) * static_cast<Size>(N), 0.0);
  WStore.assign(static_cast<Size>(N), 0.0);
  std::vector<double> RvStore(static_cast<Size>(N) + 1, 0.0);
  std::vector<double> Tmp(static_cast<Size>(Mp) + static_cast<Size>(N) + 2, 0.0);
  // 1-based views: a(i, j) is row i, column j.
  const auto a = [A0, Mp](int I, int J) -> double& {
    return A0[static_cast<Size>(J - 1) * static_cast<Size>(Mp) + static_cast<Size>(I - 1)];
  };
  const auto v = [&VStore, N](int I, int J) -> double& {
    return VStore[static_cast<Size>(J - 1) * static_cast<Size>(N) + static_cast<Size>(I - 1)];
  };
  const auto w = [&WStore](int I) -> double& { return WStore[static_cast<Size>(I - 1)]; };
  const auto rv = [&RvStore](int I) -> double& { return RvStore[static_cast<Size>(I)]; };
  const auto t = [&Tmp](int I) -> double& { return Tmp[static_cast<Size>(I)]; };

  bool Result = true;
  double g = 0.0, scale = 0.0, anorm = 0.0, s = 0.0, f = 0.0, h = 0.0;
  int l = 1;

  // 1. Householder reduction to bidiagonal form.
  for (int i = 1; i <= N; ++i) {
    if (!Step()) return false;
    l = i + 1;
    rv(i) = scale * g;
    g = s = scale = 0.0;
    if (i <= M) {
      for (int k = i; k <= M; ++k) scale += std::fabs(a(k, i));
      if (scale != 0.0) {
        for (int k = i; k <= M; ++k) {
          a(k, i) /= scale;
          s += a(k, i) * a(k, i);
        }
        f = a(i, i);
        g = -Sign(std::sqrt(s), f);
        h = f * g - s;
        a(i, i) = f - g;
        for (int j = l; j <= N; ++j) {
          double tt = 0.0;
          for (int k = i; k <= M; ++k) tt += a(k, i) * a(k, j);
          const double ff = tt / h;
          for (int k = i; k <= M; ++k) a(k, j) += ff * a(k, i);
        }
        for (int k = i; k <= M; ++k) a(k, i) *= scale;
      }
    }
    w(i) = scale * g;
    g = s = scale = 0.0;
    if (i <= M && i != N) {
      for (int k = l; k <= N; ++k) scale += std::fabs(a(i, k));
      if (scale != 0.0) {
        for (int k = l; k <= N; ++k) {
          a(i, k) /= scale;
          s += a(i, k) * a(i, k);
        }
        f = a(i, l);
        g = -Sign(std::sqrt(s), f);
        h = f * g - s;
        a(i, l) = f - g;
        for (int k = l; k <= N; ++k) rv(k) = a(i, k) / h;
        // For every row j > i: t_j = sum over k of a(j, k) a(i, k), then a(j, k) += t_j rv(k).
        // The sums of all rows advance together, column by column, each in ascending k.
        for (int j = l; j <= M; ++j) t(j) = 0.0;
        for (int k = l; k <= N; ++k) {
          const double aik = a(i, k);
          double* Col = &a(1, k);
          for (int j = l; j <= M; ++j) t(j) += Col[j - 1] * aik;
        }
        for (int k = l; k <= N; ++k) {
          const double r = rv(k);
          double* Col = &a(1, k);
          for (int j = l; j <= M; ++j) Col[j - 1] += t(j) * r;
        }
        for (int k = l; k <= N; ++k) a(i, k) *= scale;
      }
    }
    anorm = std::max(anorm, std::fabs(w(i)) + std::fabs(rv(i)));
  }

  // 2. Accumulation of the right-hand transformations.
  for (int i = N; i >= 1; --i) {
    if (!Step()) return false;
    if (i < N) {
      if (g != 0.0) {
        for (int j = l; j <= N; ++j) v(j, i) = (a(i, j) / a(i, l)) / g;
        for (int j = l; j <= N; ++j) {
          double ss = 0.0;
          for (int k = l; k <= N; ++k) ss += a(i, k) * v(k, j);
          for (int k = l; k <= N; ++k) v(k, j) += ss * v(k, i);
        }
      }
      for (int j = l; j <= N; ++j) v(i, j) = v(j, i) = 0.0;
    }
    v(i, i) = 1.0;
    g = rv(i);
    l = i;
  }

  // 3. Accumulation of the left-hand transformations.
  for (int i = N; i >= 1; --i) {
    if (!Step()) return false;
    l = i + 1;
    g = w(i);
    for (int j = l; j <= N; ++j) a(i, j) = 0.0;
    if (g != 0.0) {
      g = 1.0 / g;
      for (int j = l; j <= N; ++j) {
        double ss = 0.0;
        for (int k = l; k <= M; ++k) ss += a(k, i) * a(k, j);
        f = (ss / a(i, i)) * g;
        for (int k = i; k <= M; ++k) a(k, j) += f * a(k, i);
      }
      for (int j = i; j <= M; ++j) a(j, i) *= g;
    } else {
      for (int j = i; j <= M; ++j) a(j, i) = 0.0;
    }
    a(i, i) += 1.0;
  }

  // 4. Diagonalisation of the bidiagonal form.
  const auto Rotate = [](double* P, double* Q, int Rows, double c, double sn) {
    for (int r = 0; r < Rows; ++r) {
      const double y = P[r], z = Q[r];
      P[r] = y * c + z * sn;
      Q[r] = z * c - y * sn;
    }
  };
  for (int k = N; k >= 1; --k) {
    if (!Step()) return false;
    for (int its = 1; its <= 30; ++its) {
      bool cancel = true;
      int nm = 0;
      for (l = k; l >= 1; --l) {
        nm = l - 1;
        if (std::fabs(rv(l)) + anorm == anorm) {
          cancel = false;
          break;
        }
        if (std::fabs(w(nm)) + anorm == anorm) break;
      }
      if (cancel) {
        double c = 0.0;
        s = 1.0;
        for (int i = l; i <= k; ++i) {
          f = s * rv(i);
          rv(i) = c * rv(i);
          if (std::fabs(f) + anorm == anorm) continue;
          g = w(i);
          h = Hypot(f, g);
          w(i) = h;
          c = g / h;
          s = -f / h;
          Rotate(&a(1, nm), &a(1, i), M, c, s);
        }
      }
      double z = w(k);
      if (l == k) {
        if (z < 0.0) {
          w(k) = -z;
          for (int j = 1; j <= N; ++j) v(j, k) = -v(j, k);
        }
        break;
      }
      if (its == 30) Result = false;
      double x = w(l);
      nm = k - 1;
      double y = w(nm);
      g = rv(nm);
      h = rv(k);
      f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
      g = Hypot(f, 1.0);
      f = ((x - z) * (x + z) + h * ((y / (f + Sign(g, f))) - h)) / x;
      double c = 1.0;
      s = 1.0;
      for (int j = l; j <= nm; ++j) {
        const int i = j + 1;
        g = rv(i);
        y = w(i);
        h = s * g;
        g = c * g;
        z = Hypot(f, h);
        rv(j) = z;
        c = f / z;
        s = h / z;
        f = x * c + g * s;
        g = g * c - x * s;
        h = y * s;
        y = y * c;
        Rotate(&v(1, j), &v(1, i), N, c, s);
        z = Hypot(f, h);
        w(j) = z;
        if (z != 0.0) {
          c = f / z;
          s = h / z;
        }
        f = c * g + s * y;
        x = c * y - s * g;
        Rotate(&a(1, j), &a(1, i), M, c, s);
      }
      rv(l) = 0.0;
      rv(k) = f;
      w(k) = x;
    }
  }
  if (Mp > M) {
    for (int J = 0; J < N; ++J) {
      std::copy_n(APad.begin() + static_cast<std::ptrdiff_t>(J) * Mp, M,
                  AStore.begin() + static_cast<std::ptrdiff_t>(J) * M);
    }
  }
  return Result;
}

}  // namespace NMX_matrix::detail
