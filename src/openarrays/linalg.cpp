#include "nmx/openarrays/linalg.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <numeric>
#include <utility>
#include <vector>

#include "math1/gemm.h"
#include "math1/isa.h"
#include "nmx/base/progress.h"
#include "nmx/openarrays/clone.h"
#include "nmx/openarrays/shape.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

using NMX_nmxbase::TApplyColRow;
using NMX_nmxbase::TDouble2DArray;
using NMX_nmxbase::TDoubleArray;
using NMX_nmxbase::TInt2DArray;
using NMX_nmxbase::TIntArray;

namespace {

using Index = std::ptrdiff_t;
using NMX_math1::detail::GemmAscending;
using NMX_math1::detail::TGemmMode;
using NMX_math1::detail::TTrans;

// ---------------------------------------------------------------------------------------------
// Kernels. Each result is formed by its own chain of subtractions in ascending k, exactly as
// the column-by-column algorithm writes it; the loops only run many independent chains side by
// side (rows of one column, right-hand sides of one row), so every instruction-set variant and
// every blocking gives the same bits.

/// X[i] -= Col_k[i]·X[k] for k = K0..K1-1 in turn and i = k+1..IEnd-1, Col_k being column k of
/// the column-major A (leading dimension Ld): the unit-lower elimination of the column X.
inline void EliminateBody(const double* A, Index Ld, double* X, Index K0, Index K1, Index IEnd) {
  for (Index K = K0; K < K1; ++K) {
    const double Factor = X[K];
    const double* __restrict Col = A + K * Ld;
    double* __restrict Out = X;
    for (Index I = K + 1; I < IEnd; ++I) Out[I] -= Col[I] * Factor;
  }
}

// The right-hand sides of the substitutions travel in groups of 32, one row of the group in
// eight vectors of four lanes (32-byte vectors in every variant). The baseline compiler gives
// such a vector an alignment of 16 only, while the AVX bodies assume 32: the row states it.
typedef double TVec4 __attribute__((vector_size(32)));
constexpr Index kRhs = 32;
constexpr int kVecs = 8;
struct alignas(32) TRhsRow {
  TVec4 V[kVecs];
};

/// Forward substitution with the unit-lower L held row-major in T (row i at T + i·N) for the
/// right-hand sides e_{M0} .. e_{M0+31}: rows M0..N-1 of Z get
/// Z(i) = e(i) - Σ_{k=M0}^{i-1} L(i, k)·Z(k), subtracted in ascending k. Rows below M0 are +0
/// and are not read.
inline void ForwardBody(const double* T, Index N, Index M0, TRhsRow* Z) {
  for (Index I = M0; I < N; ++I) {
    TVec4 Acc[kVecs];
    for (int V = 0; V < kVecs; ++V) Acc[V] = TVec4{0.0, 0.0, 0.0, 0.0};
    if (I - M0 < kRhs) Acc[(I - M0) / 4][(I - M0) % 4] = 1.0;
    const double* Row = T + I * N;
    for (Index K = M0; K < I; ++K) {
      const double L = Row[K];
      for (int V = 0; V < kVecs; ++V) Acc[V] -= L * Z[K].V[V];
    }
    for (int V = 0; V < kVecs; ++V) Z[I].V[V] = Acc[V];
  }
}

/// Back substitution with the upper U held row-major in T: for i = N-1 down to 0,
/// Z(i) = (Z(i) - Σ_{k=i+1}^{N-1} U(i, k)·Z(k)) / U(i, i), subtracted in ascending k.
inline void BackBody(const double* T, Index N, TRhsRow* Z) {
  for (Index I = N - 1; I >= 0; --I) {
    const double* Row = T + I * N;
    TVec4 Acc[kVecs];
    for (int V = 0; V < kVecs; ++V) Acc[V] = Z[I].V[V];
    for (Index K = I + 1; K < N; ++K) {
      const double U = Row[K];
      for (int V = 0; V < kVecs; ++V) Acc[V] -= U * Z[K].V[V];
    }
    const double D = Row[I];
    for (int V = 0; V < kVecs; ++V) Z[I].V[V] = Acc[V] / D;
  }
}

struct TKernels {
  void (*Eliminate)(const double*, Index, double*, Index, Index, Index);
  void (*Forward)(const double*, Index, Index, TRhsRow*);
  void (*Back)(const double*, Index, TRhsRow*);
};

void EliminateBase(const double* A, Index Ld, double* X, Index K0, Index K1, Index IEnd) {
  EliminateBody(A, Ld, X, K0, K1, IEnd);
}
void ForwardBase(const double* T, Index N, Index M0, TRhsRow* Z) {
  ForwardBody(T, N, M0, Z);
}
void BackBase(const double* T, Index N, TRhsRow* Z) {
  BackBody(T, N, Z);
}

#if NMX_ISA_VARIANTS
NMX_TARGET_AVX2 void EliminateAvx2(const double* A, Index Ld, double* X, Index K0, Index K1,
                                   Index IEnd) {
  EliminateBody(A, Ld, X, K0, K1, IEnd);
}
NMX_TARGET_AVX2 void ForwardAvx2(const double* T, Index N, Index M0, TRhsRow* Z) {
  ForwardBody(T, N, M0, Z);
}
NMX_TARGET_AVX2 void BackAvx2(const double* T, Index N, TRhsRow* Z) {
  BackBody(T, N, Z);
}
NMX_TARGET_AVX512 void EliminateAvx512(const double* A, Index Ld, double* X, Index K0, Index K1,
                                       Index IEnd) {
  EliminateBody(A, Ld, X, K0, K1, IEnd);
}
NMX_TARGET_AVX512 void ForwardAvx512(const double* T, Index N, Index M0, TRhsRow* Z) {
  ForwardBody(T, N, M0, Z);
}
NMX_TARGET_AVX512 void BackAvx512(const double* T, Index N, TRhsRow* Z) {
  BackBody(T, N, Z);
}
#endif

TKernels ActiveKernels() noexcept {
#if NMX_ISA_VARIANTS
  switch (NMX_math1::detail::ActiveIsa()) {
    case NMX_math1::detail::TIsa::Avx512:
      return {EliminateAvx512, ForwardAvx512, BackAvx512};
    case NMX_math1::detail::TIsa::Avx2:
      return {EliminateAvx2, ForwardAvx2, BackAvx2};
    case NMX_math1::detail::TIsa::Baseline:
      break;
  }
#endif
  return {EliminateBase, ForwardBase, BackBase};
}

// ---------------------------------------------------------------------------------------------
// The LU decomposition shared by InvertArray and the factorisations.

/// Columns per panel of the blocked decomposition.
constexpr Index kPanel = 32;

/// Exchanges rows j and Piv[j] for j = J0..J1-1 in turn, in columns C0..C1-1.
void ApplySwaps(double* A, Index N, const Index* Piv, Index J0, Index J1, Index C0, Index C1) {
  for (Index C = C0; C < C1; ++C) {
    double* Col = A + C * N;
    for (Index J = J0; J < J1; ++J) {
      if (Piv[J] != J) std::swap(Col[J], Col[Piv[J]]);
    }
  }
}

enum class TOutcome { Done, Singular, Aborted };

struct TDecomposition {
  TOutcome Outcome = TOutcome::Done;
  Index AbortColumn = 0;  // with Aborted: the column whose step found the flag set
};

/// Working arrays of the blocked decomposition, allocated before it starts.
struct TLuWork {
  std::vector<double> L21;  // the panel's rows below it, packed for the product kernel
  std::vector<double> U12;  // the rows of the panel's U right of it, packed likewise
  explicit TLuWork(Index N)
      : L21(static_cast<std::size_t>(N * kPanel)), U12(static_cast<std::size_t>(N * kPanel)) {}
};

/// Crout's decomposition of the column-major N × N matrix A in place, column by column with
/// partial pivoting: for column j, M(i, j) -= Σ_{k<min(i,j)} M(i, k)·M(k, j) in ascending k;
/// the pivot is the row i >= j of largest Weight[i]·|M(i, j)|, the later row on ties; the rows
/// are exchanged (Weight[p] := Weight[j]), Piv[j] := p; a pivot of magnitude below Tiny is
/// replaced by Tiny and marks the matrix singular; the rows below are divided by the pivot.
///
/// The columns go in panels of kPanel: inside a panel, column by column as above; right of it,
/// the panel's rows of U by the unit-lower solve and the trailing matrix by one product of the
/// panel's L and U rows. Every element still receives its products one by one in ascending k
/// (earlier panels first), so the bits are those of the plain column-by-column loop. Row
/// exchanges reach the columns outside the panel when the panel is done; no step reads those
/// columns before.
///
/// With Report, each column adds one step of progress and tests AbortMathProc; on abort at
/// column j the columns left of j are complete (exchanges applied) and the rest unfinished.
TDecomposition Decompose(double* A, Index N, double* Weight, Index* Piv, double Tiny, bool Report,
                         const TKernels& K, TLuWork& Work) {
  bool Singular = false;
  for (Index J0 = 0; J0 < N; J0 += kPanel) {
    const Index J1 = std::min(N, J0 + kPanel);
    for (Index J = J0; J < J1; ++J) {
      if (Report) {
        NMX_nmxbase::StepProgress();
        if (NMX_nmxbase::AbortMathProc.load(std::memory_order_relaxed)) {
          ApplySwaps(A, N, Piv, J0, J, 0, J0);
          return {TOutcome::Aborted, J};
        }
      }
      double* Col = A + J * N;
      K.Eliminate(A, N, Col, J0, J, N);
      Index P = J;
      double Big = 0.0;
      for (Index I = J; I < N; ++I) {
        const double W = Weight[I] * std::fabs(Col[I]);
        if (W >= Big) {
          Big = W;
          P = I;
        }
      }
      if (P != J) {
        for (Index C = J0; C < J1; ++C) std::swap(A[J + C * N], A[P + C * N]);
        Weight[P] = Weight[J];
      }
      Piv[J] = P;
      if (std::fabs(Col[J]) < Tiny) {
        Singular = true;
        Col[J] = Tiny;
      }
      const double D = Col[J];
      for (Index I = J + 1; I < N; ++I) Col[I] /= D;
    }
    ApplySwaps(A, N, Piv, J0, J1, 0, J0);
    if (J1 == N) break;
    ApplySwaps(A, N, Piv, J0, J1, J1, N);
    for (Index C = J1; C < N; ++C) K.Eliminate(A, N, A + C * N, J0, J1, J1);
    // Trailing update M(J1.., J1..) -= L21·U12 through packed copies, so that no operand of
    // the product shares storage with its result.
    const Index M = N - J1, W = J1 - J0;
    for (Index C = 0; C < W; ++C) {
      std::copy_n(A + J1 + (J0 + C) * N, M, Work.L21.data() + C * M);
    }
    for (Index C = 0; C < M; ++C) {
      std::copy_n(A + J0 + (J1 + C) * N, W, Work.U12.data() + C * W);
    }
    GemmAscending(TTrans::No, TTrans::No, M, M, W, Work.L21.data(), M, Work.U12.data(), W,
                  A + J1 + J1 * N, N, TGemmMode::Subtract);
  }
  return {Singular ? TOutcome::Singular : TOutcome::Done, 0};
}

/// The row order the recorded exchanges give: row i of the permuted matrix is row Perm[i] of
/// the original, after the exchanges of columns 0..Count-1.
std::vector<Index> PermutationOf(const Index* Piv, Index N, Index Count) {
  std::vector<Index> Perm(static_cast<std::size_t>(N));
  std::iota(Perm.begin(), Perm.end(), Index{0});
  for (Index J = 0; J < Count; ++J) std::swap(Perm[J], Perm[Piv[J]]);
  return Perm;
}

bool IsSquare(const TDouble2DArray& A) {
  return detail::IsUsable(A) && A.size() == A[0].size();
}

/// The column-major copy of the square A (its first N rows).
void CopyIn(const TDouble2DArray& A, Index N, double* M) {
  for (Index J = 0; J < N; ++J) std::copy_n(A[J].begin(), N, M + J * N);
}

/// A := the column-major M, each column cut to N rows. A's columns hold at least N rows, so
/// nothing is allocated.
void CopyOut(const double* M, Index N, TDouble2DArray& A) {
  for (Index J = 0; J < N; ++J) {
    std::copy_n(M + J * N, N, A[J].begin());
    A[J].resize(static_cast<std::size_t>(N));
  }
}

// ---------------------------------------------------------------------------------------------
// Inversion.

/// The inverse from the decomposed M, one column of the identity after the other exactly as
/// the substitutions are written: the exchanges applied as the forward substitution goes, the
/// forward sums from the first nonzero position on. Used when L holds an infinity or a NaN,
/// where a product with the zeros above that position would not vanish.
bool InvertColumnwise(const double* M, Index N, const Index* Piv, double* R) {
  std::vector<double> B(static_cast<std::size_t>(N));
  for (Index Jc = 0; Jc < N; ++Jc) {
    NMX_nmxbase::StepProgress();
    if (NMX_nmxbase::AbortMathProc.load(std::memory_order_relaxed)) return false;
    std::fill(B.begin(), B.end(), 0.0);
    B[Jc] = 1.0;
    Index First = -1;
    for (Index I = 0; I < N; ++I) {
      double S = B[Piv[I]];
      B[Piv[I]] = B[I];
      if (First >= 0) {
        for (Index K = First; K < I; ++K) S -= M[I + K * N] * B[K];
      } else if (S != 0.0) {
        First = I;
      }
      B[I] = S;
    }
    for (Index I = N - 1; I >= 0; --I) {
      double S = B[I];
      for (Index K = I + 1; K < N; ++K) S -= M[I + K * N] * B[K];
      B[I] = S / M[I + I * N];
    }
    std::copy(B.begin(), B.end(), R + Jc * N);
  }
  return true;
}

/// The inverse from the decomposed M, 32 columns at a time. P·e_j is the unit vector e_q with
/// q the position of j in the row order, so column j of the inverse is U⁻¹ L⁻¹ e_q: the
/// columns are solved in the order of q. The forward sums of column q start at its first
/// nonzero position q; the group's sums start at its first column instead, and the extra
/// products are finite numbers times +0, which leave a +0 sum at +0. So this gives the bits of
/// the column-by-column solution when L is finite (the caller checks). Progress and abort as
/// there: one step and one test per column, a group's steps before the group.
bool InvertBlocked(const double* M, Index N, const Index* Piv, double* R, const TKernels& K) {
  std::vector<double> T(static_cast<std::size_t>(N * N));  // M row-major
  for (Index J = 0; J < N; ++J) {
    for (Index I = 0; I < N; ++I) T[J + I * N] = M[I + J * N];
  }
  const std::vector<Index> Perm = PermutationOf(Piv, N, N);
  std::vector<TRhsRow> Z(static_cast<std::size_t>(N));
  for (Index M0 = 0; M0 < N; M0 += kRhs) {
    const Index W = std::min(kRhs, N - M0);
    for (Index C = 0; C < W; ++C) {
      NMX_nmxbase::StepProgress();
      if (NMX_nmxbase::AbortMathProc.load(std::memory_order_relaxed)) return false;
    }
    for (Index I = 0; I < M0; ++I) {
      for (int V = 0; V < kVecs; ++V) Z[I].V[V] = TVec4{0.0, 0.0, 0.0, 0.0};
    }
    K.Forward(T.data(), N, M0, Z.data());
    K.Back(T.data(), N, Z.data());
    for (Index C = 0; C < W; ++C) {
      double* Out = R + Perm[M0 + C] * N;
      for (Index I = 0; I < N; ++I) Out[I] = Z[I].V[C / 4][C % 4];
    }
  }
  return true;
}

bool AllFiniteBelowDiagonal(const double* M, Index N) {
  for (Index J = 0; J < N; ++J) {
    for (Index I = J + 1; I < N; ++I) {
      if (!std::isfinite(M[I + J * N])) return false;
    }
  }
  return true;
}

int InvertBody(TDouble2DArray& A) {
  if (!IsSquare(A)) return -1;
  const Index N = static_cast<Index>(A.size());
  std::vector<double> M(static_cast<std::size_t>(N * N));
  std::vector<double> Weight(static_cast<std::size_t>(N));
  std::vector<Index> Piv(static_cast<std::size_t>(N));
  TLuWork Work(N);
  if (NMX_nmxbase::AbortMathProc.load(std::memory_order_relaxed)) return -3;
  CopyIn(A, N, M.data());
  // Row scaling: the reciprocal of each row's largest magnitude (a NaN is passed over).
  std::fill(Weight.begin(), Weight.end(), 0.0);
  for (Index J = 0; J < N; ++J) {
    const double* Col = M.data() + J * N;
    for (Index I = 0; I < N; ++I) {
      const double T = std::fabs(Col[I]);
      Weight[I] = T > Weight[I] ? T : Weight[I];
    }
  }
  for (Index I = 0; I < N; ++I) {
    if (Weight[I] == 0.0) return -3;
    Weight[I] = 1.0 / Weight[I];
  }
  const TKernels K = ActiveKernels();
  const TDecomposition D = Decompose(M.data(), N, Weight.data(), Piv.data(), 1e-100, true, K, Work);
  if (D.Outcome == TOutcome::Aborted) {
    // The state the column-by-column loop leaves: columns left of j decomposed, the others
    // as given with the rows exchanged so far.
    const Index J = D.AbortColumn;
    const std::vector<Index> Perm = PermutationOf(Piv.data(), N, J);
    for (Index C = J; C < N; ++C) {
      for (Index I = 0; I < N; ++I) M[I + C * N] = A[C][Perm[I]];
    }
    CopyOut(M.data(), N, A);
    return -3;
  }
  if (D.Outcome == TOutcome::Singular) {
    CopyOut(M.data(), N, A);
    return -3;
  }
  std::vector<double> R(static_cast<std::size_t>(N * N));
  const bool Completed = AllFiniteBelowDiagonal(M.data(), N)
                             ? InvertBlocked(M.data(), N, Piv.data(), R.data(), K)
                             : InvertColumnwise(M.data(), N, Piv.data(), R.data());
  CopyOut(Completed ? R.data() : M.data(), N, A);
  return Completed ? 0 : -3;
}

// ---------------------------------------------------------------------------------------------
// LU factors with plain partial pivoting.

struct TPlainLu {
  std::vector<double> M;  // L below the diagonal, U on and above, column-major
  std::vector<Index> Perm;
  int Sign = 1;
};

/// 0, -1 for an empty or non-square A, -3 for a pivot column of exact zeros.
int FactorPlain(const TDouble2DArray& A, TPlainLu& F) {
  if (!IsSquare(A)) return -1;
  const Index N = static_cast<Index>(A.size());
  F.M.assign(static_cast<std::size_t>(N * N), 0.0);
  std::vector<double> Weight(static_cast<std::size_t>(N), 1.0);
  std::vector<Index> Piv(static_cast<std::size_t>(N));
  TLuWork Work(N);
  CopyIn(A, N, F.M.data());
  // Below the smallest subnormal means exactly 0: with Weight 1 the whole column below is then
  // 0, and dividing it by the substitute keeps it 0.
  const TDecomposition D =
      Decompose(F.M.data(), N, Weight.data(), Piv.data(), std::numeric_limits<double>::denorm_min(),
                false, ActiveKernels(), Work);
  if (D.Outcome != TOutcome::Done) return -3;
  F.Perm = PermutationOf(Piv.data(), N, N);
  F.Sign = 1;
  for (Index J = 0; J < N; ++J) {
    if (Piv[J] != J) F.Sign = -F.Sign;
  }
  return 0;
}

TDouble2DArray SquareArray(Index N) {
  return TDouble2DArray(static_cast<std::size_t>(N), TDoubleArray(static_cast<std::size_t>(N)));
}

/// The upper factor as an array, and the unit-lower factor with row i written to row Dest[i].
void SplitFactors(const TPlainLu& F, Index N, const Index* Dest, TDouble2DArray& L,
                  TDouble2DArray& U) {
  L = SquareArray(N);
  U = SquareArray(N);
  for (Index J = 0; J < N; ++J) {
    for (Index I = 0; I <= J; ++I) U[J][I] = F.M[I + J * N];
    L[J][Dest[J]] = 1.0;
    for (Index I = J + 1; I < N; ++I) L[J][Dest[I]] = F.M[I + J * N];
  }
}

// ---------------------------------------------------------------------------------------------
// Products.

/// The product through the kernel, on column-major copies with the elements as doubles.
template <class TA, class TB>
void ProductAsDouble(const TA& A, const TB& B, TDouble2DArray& C) {
  if (!detail::IsUsable(A) || !detail::IsUsable(B) || A.size() != B[0].size()) {
    C.clear();
    return;
  }
  const Index Rows = static_cast<Index>(A[0].size());
  const Index Inner = static_cast<Index>(A.size());
  const Index Cols = static_cast<Index>(B.size());
  std::vector<double> Ap(static_cast<std::size_t>(Rows * Inner));
  std::vector<double> Bp(static_cast<std::size_t>(Inner * Cols));
  std::vector<double> Cp(static_cast<std::size_t>(Rows * Cols));
  for (Index K = 0; K < Inner; ++K) {
    for (Index I = 0; I < Rows; ++I) Ap[I + K * Rows] = static_cast<double>(A[K][I]);
  }
  for (Index J = 0; J < Cols; ++J) {
    for (Index K = 0; K < Inner; ++K) Bp[K + J * Inner] = static_cast<double>(B[J][K]);
  }
  GemmAscending(TTrans::No, TTrans::No, Rows, Cols, Inner, Ap.data(), Rows, Bp.data(), Inner,
                Cp.data(), Rows, TGemmMode::Overwrite);
  TDouble2DArray Out(static_cast<std::size_t>(Cols));
  for (Index J = 0; J < Cols; ++J)
    Out[J].assign(Cp.begin() + J * Rows, Cp.begin() + (J + 1) * Rows);
  C = std::move(Out);
}

}  // namespace

int InvertArray(TDouble2DArray& A) {
  try {
    return InvertBody(A);
  } catch (const std::bad_alloc&) {
    return -2;
  }
}

void MultiplyArrays(const TDouble2DArray& A, const TDouble2DArray& B, TDouble2DArray& C) {
  ProductAsDouble(A, B, C);
}

void MultiplyArrays(const TInt2DArray& A, const TDouble2DArray& B, TDouble2DArray& C) {
  ProductAsDouble(A, B, C);
}

void MultiplyArrays(const TDouble2DArray& A, const TInt2DArray& B, TDouble2DArray& C) {
  ProductAsDouble(A, B, C);
}

void MultiplyArrays(const TInt2DArray& A, const TInt2DArray& B, TInt2DArray& C) {
  if (!detail::IsUsable(A) || !detail::IsUsable(B) || A.size() != B[0].size()) {
    C.clear();
    return;
  }
  const std::size_t Rows = A[0].size(), Inner = A.size(), Cols = B.size();
  TInt2DArray Out(Cols, TIntArray(Rows, 0));
  for (std::size_t J = 0; J < Cols; ++J) {
    for (std::size_t K = 0; K < Inner; ++K) {
      const std::int32_t F = B[J][K];
      for (std::size_t I = 0; I < Rows; ++I) {
        Out[J][I] = detail::AddElem(Out[J][I], detail::MulElem(A[K][I], F));
      }
    }
  }
  C = std::move(Out);
}

void MultiplyArrays(const TDoubleArray& X, const TDoubleArray& Y, TDouble2DArray& C) {
  if (X.empty() || Y.empty()) {
    C.clear();
    return;
  }
  TDouble2DArray Out(Y.size(), TDoubleArray(X.size()));
  for (std::size_t J = 0; J < Y.size(); ++J) {
    for (std::size_t I = 0; I < X.size(); ++I) Out[J][I] = X[I] * Y[J];
  }
  C = std::move(Out);
}

void MultiplyArrays(const TIntArray& X, const TIntArray& Y, TInt2DArray& C) {
  if (X.empty() || Y.empty()) {
    C.clear();
    return;
  }
  TInt2DArray Out(Y.size(), TIntArray(X.size()));
  for (std::size_t J = 0; J < Y.size(); ++J) {
    for (std::size_t I = 0; I < X.size(); ++I) Out[J][I] = detail::MulElem(X[I], Y[J]);
  }
  C = std::move(Out);
}

int CalcHatMatrix(const TDouble2DArray& X, TDouble2DArray& Hat) {
  TDouble2DArray T;
  if (const int Status = CloneArray(X, T); Status != 0) return Status;
  TransposeArray(T);
  TDouble2DArray P;
  MultiplyArrays(T, X, P);
  if (const int Status = InvertArray(P); Status != 0) return Status;
  TDouble2DArray Q;
  MultiplyArrays(X, P, Q);
  TDouble2DArray H;
  MultiplyArrays(Q, T, H);
  Hat = std::move(H);
  return 0;
}

int LUdecomposition(const TDouble2DArray& A, TDouble2DArray& L, TDouble2DArray& U) {
  TPlainLu F;
  if (const int Status = FactorPlain(A, F); Status != 0) return Status;
  const Index N = static_cast<Index>(A.size());
  TDouble2DArray Lo, Up;
  // Row i of L₀ is row Perm[i] of L = Pᵀ·L₀.
  SplitFactors(F, N, F.Perm.data(), Lo, Up);
  if (F.Sign < 0) {
    // L₀'s last column is e_{N-1}; negating it and U's last row (its diagonal element alone)
    // leaves the product as it is and makes det L = +1.
    Lo[N - 1][F.Perm[N - 1]] = -1.0;
    Up[N - 1][N - 1] = -Up[N - 1][N - 1];
  }
  L = std::move(Lo);
  U = std::move(Up);
  return 0;
}

int LUPdecomposition(const TDouble2DArray& A, TDouble2DArray& L, TDouble2DArray& U, TInt2DArray& P,
                     int& Sign) {
  TPlainLu F;
  if (const int Status = FactorPlain(A, F); Status != 0) return Status;
  const Index N = static_cast<Index>(A.size());
  std::vector<Index> Same(static_cast<std::size_t>(N));
  std::iota(Same.begin(), Same.end(), Index{0});
  TDouble2DArray Lo, Up;
  SplitFactors(F, N, Same.data(), Lo, Up);
  TInt2DArray Pm(static_cast<std::size_t>(N), TIntArray(static_cast<std::size_t>(N), 0));
  for (Index I = 0; I < N; ++I) Pm[F.Perm[I]][I] = 1;
  L = std::move(Lo);
  U = std::move(Up);
  P = std::move(Pm);
  Sign = F.Sign;
  return 0;
}

double Determinant(const TDouble2DArray& A) {
  TPlainLu F;
  if (FactorPlain(A, F) != 0) return 0.0;
  const Index N = static_cast<Index>(A.size());
  // The pivots' product as a fraction in [0.5, 1) and a binary exponent: scaling by powers of
  // two is exact, so this is the plain product in ascending order wherever that stays in
  // range, and right where it would overflow or underflow on the way.
  double Fraction = static_cast<double>(F.Sign);
  long long Exponent = 0;
  for (Index I = 0; I < N; ++I) {
    int E = 0;
    Fraction *= std::frexp(F.M[I + I * N], &E);
    Exponent += E;
    Fraction = std::frexp(Fraction, &E);
    Exponent += E;
  }
  if (!std::isfinite(Fraction)) return Fraction;
  Exponent = std::clamp<long long>(Exponent, INT_MIN, INT_MAX);
  return std::ldexp(Fraction, static_cast<int>(Exponent));
}

int PermuteArray(const TDouble2DArray& A, const TInt2DArray& P, TApplyColRow Apply, bool Inverse,
                 TDouble2DArray& B) {
  if (!detail::IsUsable(A) || !detail::IsUsable(P)) return -1;
  if (Apply != NMX_nmxbase::acrColumns && Apply != NMX_nmxbase::acrRows) return -2;
  const std::size_t Rows = A[0].size(), Cols = A.size(), N = P.size();
  if (P[0].size() != N || N != (Apply == NMX_nmxbase::acrRows ? Rows : Cols)) return -2;
  // Sigma[i] = the column of the 1 in row i of P, so (P·A)(i, :) = A(Sigma[i], :).
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::size_t> Sigma(N, kNone), SigmaInv(N, kNone);
  for (std::size_t J = 0; J < N; ++J) {
    for (std::size_t I = 0; I < N; ++I) {
      const std::int32_t E = P[J][I];
      if (E == 0) continue;
      if (E != 1 || Sigma[I] != kNone || SigmaInv[J] != kNone) return -2;
      Sigma[I] = J;
      SigmaInv[J] = I;
    }
  }
  for (std::size_t I = 0; I < N; ++I) {
    if (Sigma[I] == kNone) return -2;
  }
  TDouble2DArray Out(Cols, TDoubleArray(Rows));
  if (Apply == NMX_nmxbase::acrRows) {
    // Rows of P·A are rows Sigma[i] of A; rows of Pᵀ·A are rows SigmaInv[i].
    const std::vector<std::size_t>& Src = Inverse ? SigmaInv : Sigma;
    for (std::size_t J = 0; J < Cols; ++J) {
      for (std::size_t I = 0; I < Rows; ++I) Out[J][I] = A[J][Src[I]];
    }
  } else {
    // Columns of A·P are columns SigmaInv[j] of A; columns of A·Pᵀ are columns Sigma[j].
    const std::vector<std::size_t>& Src = Inverse ? Sigma : SigmaInv;
    for (std::size_t J = 0; J < Cols; ++J) {
      std::copy_n(A[Src[J]].begin(), Rows, Out[J].begin());
    }
  }
  B = std::move(Out);
  return 0;
}

}  // namespace NMX_openarrays
